// Checks the line numbers one drawing pass submitted against the line plan, for the tests of the
// chart layers and the panel.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "palette/line_plan.h"

namespace palette {

// What is wrong with `drawn` as the numbers of a pass that drew everything `owner` can: each
// number drawn twice, outside every block or in another owner's block, and each block of `owner`
// not filled to its count ("purpose: drawn of count"). Empty when nothing is.
inline std::vector<std::string> FullestPassFaults(const std::vector<int>& drawn, LineOwner owner) {
  std::vector<std::string> faults;
  std::set<int> seen;
  std::map<int, int> perBlock;
  for (int n : drawn) {
    const LineBlock block = LineBlockOf(n);
    if (!seen.insert(n).second)
      faults.push_back(std::to_string(n) + " drawn twice");
    else if (block == kLineBlockCount)
      faults.push_back(std::to_string(n) + " lies in no block");
    else if (kLinePlan[block].owner != owner)
      faults.push_back(std::to_string(n) + " in " + kLinePlan[block].purpose);
    else
      ++perBlock[block];
  }
  for (const LineBlockRow& row : kLinePlan) {
    if (row.owner != owner || perBlock[row.block] == row.count) continue;
    faults.push_back(std::string(row.purpose) + ": " + std::to_string(perBlock[row.block]) + " of " +
                     std::to_string(row.count));
  }
  return faults;
}

}  // namespace palette
