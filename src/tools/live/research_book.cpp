#include "live/research_book.h"

#include <cmath>
#include <map>
#include <vector>

#include "engine/answer_writer.h"
#include "formats/typed_time.h"
#include "text/format.h"

namespace live {
namespace {

struct Exposures {
  double gex = 0, dex = 0, vex = 0, charm = 0;
};

using StrikeMap = std::map<double, Exposures>;

// The capture's exposures within the band, by expiration and strike, both ascending.
std::map<std::string, StrikeMap> BandedBook(const store::CaptureRecord& capture) {
  const double spot = capture.summary.spot;
  const double band = spot * kBookStrikeBandPct / 100;
  std::map<std::string, StrikeMap> book;
  for (const store::StrikeExposure& e : capture.exposures) {
    if (!(std::fabs(e.strike - spot) <= band)) continue;
    Exposures& x = book[e.expiration][e.strike];
    x.gex += e.gex;
    x.dex += e.dex;
    x.vex += e.vex;
    x.charm += e.charm;
  }
  return book;
}

// Exposures are dollars: whole ones keep the text short.
void WriteRow(jsonout::JsonWriter& w, double strike, const Exposures& x) {
  w.BeginObject();
  w.Key("strike");
  w.Number(strike);
  for (const auto& [key, value] : {std::pair{"gex", x.gex}, std::pair{"dex", x.dex}, std::pair{"vex", x.vex},
                                   std::pair{"charmex", x.charm}}) {
    w.Key(key);
    w.Number(std::round(value));
  }
  w.EndObject();
}

void WriteCoverage(jsonout::JsonWriter& w, size_t served, size_t recorded) {
  w.Key("coverage");
  w.BeginObject();
  w.Key("served");
  w.Int(static_cast<long long>(served));
  w.Key("record_expirations");
  w.Int(static_cast<long long>(recorded));
  w.Key("strike_band_pct");
  w.Number(kBookStrikeBandPct);
  w.EndObject();
}

void WriteText(jsonout::JsonWriter& w, const char* key, const std::string& value) {
  w.Key(key);
  w.String(value);
}

std::string BookNote(const store::CaptureRecord& capture, bool cut) {
  return text::Format(
      "Exposures per strike of the day's latest capture (%s, %s), in dollars, strikes within %g %% of "
      "spot%s.",
      formats::UtcTimestampText(static_cast<double>(capture.summary.asOf)), engine::kEngineName,
      kBookStrikeBandPct, cut ? ", nearest expirations only" : "");
}

// The expirations that fit in kMaxBookRows, nearest first.
size_t ServedExpirations(const std::map<std::string, StrikeMap>& book) {
  size_t rows = 0, served = 0;
  for (const auto& [expiry, strikes] : book) {
    if (rows + strikes.size() > kMaxBookRows) break;
    rows += strikes.size();
    ++served;
  }
  return served;
}

void WriteExpiryBook(jsonout::JsonWriter& w, const std::string& underlying, const std::string& day,
                     const store::CaptureRecord* capture, const std::map<std::string, StrikeMap>& book) {
  const size_t served = ServedExpirations(book);
  w.Key("expiry_book");
  w.BeginObject();
  WriteText(w, "symbol", underlying);
  WriteText(w, "source", "stored_capture");
  WriteText(w, "method", "engine_exposures");
  WriteText(w, "scope", "strike_band");
  if (capture == nullptr) {
    WriteText(w, "note", "No stored capture of " + underlying + " on " + day + ".");
    WriteCoverage(w, 0, 0);
  } else {
    const double ms = static_cast<double>(capture->summary.asOf) * 1000;
    for (const char* key : {"captured_at", "quotes_at"}) {
      w.Key(key);
      w.Number(ms);
    }
    WriteText(w, "note", BookNote(*capture, served < book.size()));
    WriteCoverage(w, served, book.size());
  }
  w.Key("expirations");
  w.BeginArray();
  size_t written = 0;
  for (const auto& [expiry, strikes] : book) {
    if (written++ == served) break;
    w.BeginObject();
    WriteText(w, "expiry", expiry);
    w.Key("rows");
    w.BeginArray();
    for (const auto& [strike, x] : strikes) WriteRow(w, strike, x);
    w.EndArray();
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
}

void WriteStrikeTotals(jsonout::JsonWriter& w, const std::map<std::string, StrikeMap>& book) {
  StrikeMap totals;
  for (const auto& [expiry, strikes] : book) {
    for (const auto& [strike, x] : strikes) {
      Exposures& t = totals[strike];
      t.gex += x.gex;
      t.dex += x.dex;
      t.vex += x.vex;
      t.charm += x.charm;
    }
  }
  w.Key("strikes");
  w.BeginArray();
  size_t written = 0;
  for (const auto& [strike, x] : totals) {
    if (written++ == kMaxBookRows) break;
    WriteRow(w, strike, x);
  }
  w.EndArray();
}

}  // namespace

void WriteResearchBook(jsonout::JsonWriter& w, const std::string& underlying, const std::string& day,
                       const store::CaptureRecord* capture) {
  const std::map<std::string, StrikeMap> book =
      capture == nullptr ? std::map<std::string, StrikeMap>{} : BandedBook(*capture);
  WriteExpiryBook(w, underlying, day, capture, book);
  WriteStrikeTotals(w, book);
}

}  // namespace live
