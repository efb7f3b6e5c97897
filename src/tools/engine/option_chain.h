// The option chain as the readers hand it over: one plain record per usable contract, what the
// file said about spot and time, and the rows that could not be used.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

enum class OptionKind { kCall, kPut };

struct OptionContract {
  std::string expiration;  // "YYYY-MM-DD"
  double strike = 0;       // > 0
  OptionKind kind = OptionKind::kCall;
  double openInterest = 0;  // contracts, >= 0
  double impliedVol = 0;    // annualised, decimal (0.14 is 14 %), > 0 and at most 5
  double volume = 0;        // the day's traded contracts, >= 0; 0 when the file has none
};

// How many rows were skipped and why the first few were.
struct RowIssues {
  static constexpr size_t kNamed = 5;
  size_t count = 0;
  std::vector<std::string> firstFew;  // "line 7: negative open interest"
  // What the skipped rows say about the file as a whole, and how to fix it ("the implied
  // volatility column "iv" seems to hold percents ..."); empty when they say nothing.
  std::string hint;

  // Counts one skipped row; keeps its description while fewer than kNamed are kept.
  void Add(std::string_view where, std::string_view reason);
};

struct OptionChain {
  std::vector<OptionContract> contracts;
  std::string underlying;  // "QQQ", "SPX" (upper case); empty when the file does not say
  bool hasSpot = false;
  double spot = 0;
  std::string asOfText;  // the file's own time, New York wall clock; empty when none
  RowIssues issues;
};

}  // namespace engine
