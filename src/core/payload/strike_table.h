// Strike-value pairs kept as the service sent them, with an index by strike so that a label
// finds its pair in logarithmic time: a redraw looks up every labelled level in tables of a
// few hundred strikes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace payload {

// One (strike, value) pair: a price and an exposure in the service's units.
struct StrikeValue {
  double strike = 0;
  double value = 0;

  friend bool operator==(const StrikeValue&, const StrikeValue&) = default;
};

class StrikeTable {
 public:
  StrikeTable() = default;
  StrikeTable(std::vector<StrikeValue> pairs);  // NOLINT(google-explicit-constructor): a table is its pairs
  StrikeTable(std::initializer_list<StrikeValue> pairs) : StrikeTable(std::vector<StrikeValue>(pairs)) {}

  // The pairs in the order sent.
  const std::vector<StrikeValue>& pairs() const { return pairs_; }
  bool empty() const { return pairs_.empty(); }
  size_t size() const { return pairs_.size(); }

  // The first pair as sent whose strike is strictly within `tolerance` of `price`; nullptr when
  // none is (always for a price or strike that is not finite).
  const StrikeValue* FindNear(double price, double tolerance) const;

  friend bool operator==(const StrikeTable& a, const StrikeTable& b) { return a.pairs_ == b.pairs_; }
  friend bool operator==(const StrikeTable& a, const std::vector<StrikeValue>& b) { return a.pairs_ == b; }

 private:
  std::vector<StrikeValue> pairs_;
  std::vector<uint32_t> byStrike_;  // positions in pairs_ of the finite strikes, by strike, then as sent
};

}  // namespace payload
