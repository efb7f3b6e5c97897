#include "chart/subgraph_store.h"

namespace chart {

void SubgraphStore::Declare(int number, const host::SubgraphDeclaration& subgraph) {
  if (number < 0 || number >= kSubgraphCount) return;
  entries_[number].declaration = subgraph;
}

const SubgraphEntry* SubgraphStore::Find(int number) const {
  auto it = entries_.find(number);
  return it == entries_.end() ? nullptr : &it->second;
}

int SubgraphStore::NumberOf(std::string_view name) const {
  for (const auto& [number, entry] : entries_) {
    if (entry.declaration.name == name) return number;
  }
  return -1;
}

bool SubgraphStore::SetUserColour(int number, host::Rgb colour) {
  auto it = entries_.find(number);
  if (it == entries_.end()) return false;
  it->second.userColour = colour;
  return true;
}

host::Rgb SubgraphStore::Colour(int number) const {
  const SubgraphEntry* entry = Find(number);
  if (!entry) return {};
  return entry->userColour ? *entry->userColour : entry->declaration.colour;
}

void SubgraphStore::SetValue(int number, int bar, float value, int barCount) {
  auto it = entries_.find(number);
  if (it == entries_.end() || bar < 0 || bar >= barCount) return;
  std::vector<float>& values = it->second.values;
  if (values.size() < static_cast<size_t>(barCount)) values.resize(static_cast<size_t>(barCount), 0.0f);
  values[static_cast<size_t>(bar)] = value;
}

float SubgraphStore::ValueAt(int number, int bar) const {
  const SubgraphEntry* entry = Find(number);
  if (!entry || bar < 0 || static_cast<size_t>(bar) >= entry->values.size()) return 0;
  return entry->values[static_cast<size_t>(bar)];
}

}  // namespace chart
