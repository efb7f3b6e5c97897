#include "chart/subgraph_store.h"

namespace chart {

void SubgraphStore::Declare(int number, const host::SubgraphDeclaration& subgraph) {
  if (number < 0 || number >= kSubgraphCount) return;
  entries_.At(number).declaration = subgraph;
}

const SubgraphEntry* SubgraphStore::Find(int number) const { return entries_.Find(number); }

int SubgraphStore::NumberOf(std::string_view name) const {
  for (const auto& [number, entry] : entries_.All()) {
    if (entry.declaration.name == name) return number;
  }
  return -1;
}

bool SubgraphStore::SetUserColour(int number, host::Rgb colour) {
  SubgraphEntry* entry = FindMutable(number);
  if (!entry) return false;
  entry->userColour = colour;
  return true;
}

host::Rgb SubgraphStore::Colour(int number) const {
  const SubgraphEntry* entry = Find(number);
  if (!entry) return {};
  return entry->userColour ? *entry->userColour : entry->declaration.colour;
}

void SubgraphStore::SetValue(int number, int bar, float value, int barCount) {
  SubgraphEntry* entry = FindMutable(number);
  if (!entry || bar < 0 || bar >= barCount) return;
  std::vector<float>& values = entry->values;
  if (values.size() < static_cast<size_t>(barCount)) values.resize(static_cast<size_t>(barCount), 0.0f);
  values[static_cast<size_t>(bar)] = value;
}

float SubgraphStore::ValueAt(int number, int bar) const {
  const SubgraphEntry* entry = Find(number);
  if (!entry || bar < 0 || static_cast<size_t>(bar) >= entry->values.size()) return 0;
  return entry->values[static_cast<size_t>(bar)];
}

}  // namespace chart
