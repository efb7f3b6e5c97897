// The study's subgraphs as the host keeps them: declarations, the user's colour edits and one
// value array per subgraph that grows with the bars.
#pragma once

#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "chart/numbered_entries.h"
#include "host/declarations.h"

namespace chart {

inline constexpr int kSubgraphCount = 44;

struct SubgraphEntry {
  host::SubgraphDeclaration declaration;
  std::optional<host::Rgb> userColour;  // set by the user; wins over the declared colour
  std::vector<float> values;            // by bar; bars never written read as 0
};

class SubgraphStore {
 public:
  // Declares subgraph `number` (0-43; others are ignored). A declaration again keeps the
  // user's colour and the values.
  void Declare(int number, const host::SubgraphDeclaration& subgraph);

  // The entry of `number`; nullptr when it was never declared.
  const SubgraphEntry* Find(int number) const;
  // The number of the first subgraph (lowest number) named exactly `name`; -1 when none is.
  int NumberOf(std::string_view name) const;
  // Every declared subgraph by number, in order.
  const std::map<int, SubgraphEntry>& Entries() const { return entries_.All(); }

  // The user's colour edit; false when `number` was never declared.
  bool SetUserColour(int number, host::Rgb colour);
  // The user's colour, else the declared one; black for an undeclared number.
  host::Rgb Colour(int number) const;

  // Writes the value at `bar`; ignored for an undeclared number or a bar outside 0 .. barCount - 1.
  void SetValue(int number, int bar, float value, int barCount);
  // The value at `bar`; 0 when never written.
  float ValueAt(int number, int bar) const;

 private:
  SubgraphEntry* FindMutable(int number) { return entries_.Find(number); }
  // A call reading every colour walks no tree.
  NumberedEntries<SubgraphEntry, kSubgraphCount> entries_;
};

}  // namespace chart
