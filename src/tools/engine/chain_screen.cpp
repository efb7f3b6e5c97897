#include "engine/chain_screen.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

#include "text/format.h"

namespace engine {
namespace {

// What becomes of one contract; a duplicate also keeps the position of the one it repeats.
enum class Verdict : uint8_t { kKept, kImplausible, kAmongPercents, kDuplicate };

// Marks every kept contract that repeats an earlier kept one (the same root, expiration, strike
// and kind) and where that one is. Sorting positions keeps the cost at n log n.
void MarkDuplicates(const std::vector<OptionContract>& contracts, const std::vector<ContractOrigin>& origins,
                    std::vector<Verdict>* verdicts, std::vector<size_t>* firstOf) {
  std::vector<size_t> order;
  order.reserve(contracts.size());
  for (size_t i = 0; i < contracts.size(); ++i) {
    if ((*verdicts)[i] == Verdict::kKept) order.push_back(i);
  }
  auto key = [&](size_t i) {
    const OptionContract& c = contracts[i];
    return std::tie(origins[i].root, c.expiration, c.strike, c.kind);
  };
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
  for (size_t at = 0; at < order.size();) {
    const size_t first = order[at];
    for (++at; at < order.size() && key(order[at]) == key(first); ++at) {
      (*verdicts)[order[at]] = Verdict::kDuplicate;
      (*firstOf)[order[at]] = first;
    }
  }
}

std::string Reason(Verdict verdict, const OptionContract& c, const std::string& firstName) {
  switch (verdict) {
    case Verdict::kImplausible:
      return text::Format("implied volatility %g is above 5 (500 %%)", c.impliedVol);
    case Verdict::kAmongPercents:
      return text::Format("implied volatility %g in a column of percents", c.impliedVol);
    default: return "duplicate of " + firstName;
  }
}

}  // namespace

void ScreenContracts(const std::vector<ContractOrigin>& origins, const RowName& rowName,
                     const std::string& percentHint, OptionChain* chain) {
  std::vector<OptionContract>& contracts = chain->contracts;
  size_t implausible = 0;
  for (const OptionContract& c : contracts) implausible += c.impliedVol > kMaxDecimalVolatility;
  const bool percents = 2 * implausible > contracts.size();
  std::vector<Verdict> verdicts(contracts.size(), Verdict::kKept);
  for (size_t i = 0; i < contracts.size(); ++i) {
    if (contracts[i].impliedVol > kMaxDecimalVolatility) {
      verdicts[i] = Verdict::kImplausible;
    } else if (percents) {
      verdicts[i] = Verdict::kAmongPercents;
    }
  }
  std::vector<size_t> firstOf(contracts.size());
  MarkDuplicates(contracts, origins, &verdicts, &firstOf);
  size_t kept = 0;
  for (size_t i = 0; i < contracts.size(); ++i) {
    if (verdicts[i] == Verdict::kKept) {
      if (kept != i) contracts[kept] = std::move(contracts[i]);
      ++kept;
      continue;
    }
    RowIssues& issues = chain->issues;
    if (issues.firstFew.size() == RowIssues::kNamed) {  // counted, no longer named
      ++issues.count;
      continue;
    }
    const std::string firstName =
        verdicts[i] == Verdict::kDuplicate ? rowName(origins[firstOf[i]].number) : "";
    issues.Add(rowName(origins[i].number), Reason(verdicts[i], contracts[i], firstName));
  }
  contracts.resize(kept);
  if (percents) chain->issues.hint = percentHint;
}

}  // namespace engine
