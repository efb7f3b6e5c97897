// A research answer as the study keeps it: its identity, the capture history and the expiry
// book, read once when it arrives so that no redraw goes back to the JSON.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "json/json_node.h"
#include "payload/positioning_capture.h"

namespace payload {

// One row of an expiry: only object rows whose "strike" is a finite number above 0 are kept.
struct BookRow {
  double strike = 0;
  std::optional<double> gex;
  std::optional<double> dex;
  std::optional<double> vex;
  std::optional<double> charmex;
};

// One object of "expirations", with its "expiry" as text.
struct BookExpiry {
  std::string expiry;
  std::vector<BookRow> rows;
};

// "expiry_book": texts as JsonFieldText reads them.
struct ExpiryBook {
  std::string symbol;
  std::string source;
  std::string method;
  std::string scope;
  std::string captured_at;
  std::string quotes_at;
  std::string note;
  std::string served;              // "coverage"/"served"
  std::string record_expirations;  // "coverage"/"record_expirations"
  std::string strike_band_pct;     // "coverage"/"strike_band_pct"
  std::vector<BookExpiry> expirations;
};

// "history": the object rows as captures (unstamped, in document order) and its texts.
struct CaptureHistory {
  std::vector<PositioningCapture> rows;
  std::string excluded;
  std::string limit;
  std::string note;
};

struct ResearchAnswer {
  bool ok = false;  // the root is an object whose "ok" is the boolean true
  std::string symbol;
  std::string day;
  std::string source;
  CaptureHistory history;
  ExpiryBook book;
};

// The research answer `root`; missing or mistyped members read as empty.
ResearchAnswer ReadResearchAnswer(json::Node root);

}  // namespace payload
