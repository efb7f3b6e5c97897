#include "store/capture_blob.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "calendar/new_york_calendar.h"
#include "platform/civil_date.h"
#include "store/packed_bytes.h"
#include "text/fail.h"
#include "text/format.h"

namespace store {
namespace {

// Day numbers of years 1 to 9999, the dates IsValidIsoDate accepts.
const int64_t kFirstDay = platform::DaysFromCivil(1, 1, 1);
const int64_t kLastDay = platform::DaysFromCivil(9999, 12, 31);

int64_t DayNumber(std::string_view date) {
  const auto digits = [&](size_t at, size_t n) {
    int64_t v = 0;
    for (size_t i = at; i < at + n; ++i) v = v * 10 + (date[i] - '0');
    return v;
  };
  return platform::DaysFromCivil(digits(0, 4), static_cast<int>(digits(5, 2)), digits(8, 2));
}

std::string DateText(int64_t day) {
  const platform::CivilDate d = platform::CivilFromDays(day);
  return text::Format("%04d-%02d-%02d", d.year, d.month, d.day);
}

// The expirations in order of first appearance, each written once as a day number (the change
// from the previous one, so that a table of nearby dates takes a byte or two each).
class ExpiryTable {
 public:
  // The index of `date`, adding it when new; false for a text that is not a real date.
  bool IndexOf(const std::string& date, uint64_t* index) {
    const auto found = index_.find(date);
    if (found != index_.end()) {
      *index = found->second;
      return true;
    }
    if (!calendar::IsValidIsoDate(date)) return false;
    *index = days_.size();
    index_.emplace(date, days_.size());
    days_.push_back(DayNumber(date));
    return true;
  }
  // The table, then the body written after it.
  std::string Join(unsigned char format, const std::string& body) const {
    ByteWriter w;
    w.U8(format);
    w.Varint(days_.size());
    int64_t previous = 0;
    for (const int64_t day : days_) {
      w.Signed(day - previous);
      previous = day;
    }
    return w.Take() + body;
  }

 private:
  std::unordered_map<std::string, uint64_t> index_;
  std::vector<int64_t> days_;
};

bool ReadHeader(ByteReader& r, unsigned char format, std::vector<std::string>* dates) {
  uint8_t found = 0;
  if (!r.U8(&found)) return false;
  if (found != format) return r.Corrupt(text::Format("unknown format %d", found));
  size_t count = 0;
  if (!r.Count(1, &count)) return false;
  int64_t day = 0;
  for (size_t i = 0; i < count; ++i) {
    int64_t step = 0;
    if (!r.Signed(&step)) return false;
    if (step < kFirstDay - day || step > kLastDay - day) return r.Corrupt("an expiration out of range");
    day += step;
    dates->push_back(DateText(day));
  }
  return true;
}

bool ReadExpiry(ByteReader& r, uint64_t index, const std::vector<std::string>& dates, std::string* out) {
  if (index >= dates.size()) return r.Corrupt("an expiration index out of range");
  *out = dates[index];
  return true;
}

// The strike, written only when it differs from the previous entry's (`same` says which).
bool ReadStrike(ByteReader& r, bool same, size_t index, double previous, double* out) {
  if (!same) return r.Decimal(out);
  if (index == 0) return r.Corrupt("a repeated strike with none before it");
  *out = previous;
  return true;
}

bool SameStrike(double strike, size_t index, double previous) {
  // Compared bit for bit, so that -0 and 0 (which compare equal) both come back as written.
  return index > 0 && std::memcmp(&strike, &previous, sizeof strike) == 0;
}

bool AllFinite(std::initializer_list<double> values) {
  for (const double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

std::string Refusal(const char* what, size_t i, std::string_view why) {
  return text::Format("%s %d cannot be stored: %s", what, static_cast<long long>(i + 1), why);
}

}  // namespace

bool PackContracts(const std::vector<engine::OptionContract>& contracts, std::string* blob,
                   std::string* error) {
  ExpiryTable table;
  ByteWriter body;
  body.Varint(contracts.size());
  for (size_t i = 0; i < contracts.size(); ++i) {
    const engine::OptionContract& c = contracts[i];
    uint64_t expiry = 0;
    if (!table.IndexOf(c.expiration, &expiry)) {
      return text::Fail(error, Refusal("contract", i, "expiration '" + c.expiration + "' is not a date"));
    }
    if (!AllFinite({c.strike, c.openInterest, c.impliedVol, c.volume})) {
      return text::Fail(error, Refusal("contract", i, "a number that is not finite"));
    }
    const bool same = SameStrike(c.strike, i, i > 0 ? contracts[i - 1].strike : 0);
    body.Varint(expiry << 2 | (c.kind == engine::OptionKind::kPut ? 2 : 0) | (same ? 1 : 0));
    if (!same) body.Decimal(c.strike);
    body.Decimal(c.openInterest);
    body.Decimal(c.impliedVol);
    body.Decimal(c.volume);
  }
  *blob = table.Join(kContractsFormat, body.Bytes());
  return true;
}

bool UnpackContracts(std::string_view blob, std::vector<engine::OptionContract>* contracts,
                     std::string* error) {
  ByteReader r(blob, "the contracts blob");
  std::vector<std::string> dates;
  std::vector<engine::OptionContract> out;
  size_t count = 0;
  if (ReadHeader(r, kContractsFormat, &dates) && r.Count(4, &count)) {
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      engine::OptionContract c;
      uint64_t code = 0;
      if (!r.Varint(&code) || !ReadExpiry(r, code >> 2, dates, &c.expiration)) break;
      c.kind = (code & 2) != 0 ? engine::OptionKind::kPut : engine::OptionKind::kCall;
      if (!ReadStrike(r, (code & 1) != 0, i, i > 0 ? out.back().strike : 0, &c.strike) ||
          !r.Decimal(&c.openInterest) || !r.Decimal(&c.impliedVol) || !r.Decimal(&c.volume)) {
        break;
      }
      out.push_back(std::move(c));
    }
  }
  if (!r.Finish()) return text::Fail(error, r.Error());
  *contracts = std::move(out);
  return true;
}

bool PackExposures(const std::vector<StrikeExposure>& exposures, std::string* blob, std::string* error) {
  ExpiryTable table;
  ByteWriter body;
  body.Varint(exposures.size());
  for (size_t i = 0; i < exposures.size(); ++i) {
    const StrikeExposure& e = exposures[i];
    uint64_t expiry = 0;
    if (!table.IndexOf(e.expiration, &expiry)) {
      return text::Fail(error, Refusal("exposure", i, "expiration '" + e.expiration + "' is not a date"));
    }
    if (!AllFinite({e.strike, e.gex, e.dex, e.vex, e.charm})) {
      return text::Fail(error, Refusal("exposure", i, "a number that is not finite"));
    }
    if (!AllFinite({static_cast<float>(e.gex), static_cast<float>(e.dex), static_cast<float>(e.vex),
                    static_cast<float>(e.charm)})) {
      return text::Fail(error, Refusal("exposure", i, "a number beyond single precision"));
    }
    const bool same = SameStrike(e.strike, i, i > 0 ? exposures[i - 1].strike : 0);
    body.Varint(expiry << 1 | (same ? 1 : 0));
    if (!same) body.Decimal(e.strike);
    for (const double v : {e.gex, e.dex, e.vex, e.charm}) body.F32(v);
  }
  *blob = table.Join(kExposuresFormat, body.Bytes());
  return true;
}

bool UnpackExposures(std::string_view blob, std::vector<StrikeExposure>* exposures, std::string* error) {
  ByteReader r(blob, "the exposures blob");
  std::vector<std::string> dates;
  std::vector<StrikeExposure> out;
  size_t count = 0;
  if (ReadHeader(r, kExposuresFormat, &dates) && r.Count(17, &count)) {
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      StrikeExposure e;
      uint64_t code = 0;
      if (!r.Varint(&code) || !ReadExpiry(r, code >> 1, dates, &e.expiration) ||
          !ReadStrike(r, (code & 1) != 0, i, i > 0 ? out.back().strike : 0, &e.strike) || !r.F32(&e.gex) ||
          !r.F32(&e.dex) || !r.F32(&e.vex) || !r.F32(&e.charm)) {
        break;
      }
      out.push_back(std::move(e));
    }
  }
  if (!r.Finish()) return text::Fail(error, r.Error());
  *exposures = std::move(out);
  return true;
}

}  // namespace store
