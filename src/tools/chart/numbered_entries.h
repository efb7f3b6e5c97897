// Entries by number, walked in number order as the host lists them, and found without a tree
// walk for the numbers below a bound: the chart host's inputs and subgraphs.
#pragma once

#include <map>
#include <vector>

namespace chart {

template <typename Entry, int kIndexedBelow>
class NumberedEntries {
 public:
  NumberedEntries() = default;
  // A copy points its index at its own entries, never at the original's.
  NumberedEntries(const NumberedEntries& other) : entries_(other.entries_) { Reindex(); }
  NumberedEntries& operator=(const NumberedEntries& other) {
    entries_ = other.entries_;
    Reindex();
    return *this;
  }
  // Map nodes move with their map, so a moved index stays good.
  NumberedEntries(NumberedEntries&&) = default;
  NumberedEntries& operator=(NumberedEntries&&) = default;

  // The entry of `number`, made with its default when there was none. `number` is not negative.
  Entry& At(int number) {
    Entry& entry = entries_[number];
    Index(number, &entry);
    return entry;
  }
  // The entry of `number`; nullptr when there is none.
  Entry* Find(int number) {
    if (number < 0) return nullptr;
    if (number < kIndexedBelow) {
      return static_cast<size_t>(number) < byNumber_.size() ? byNumber_[number] : nullptr;
    }
    auto it = entries_.find(number);
    return it == entries_.end() ? nullptr : &it->second;
  }
  const Entry* Find(int number) const { return const_cast<NumberedEntries*>(this)->Find(number); }
  const std::map<int, Entry>& All() const { return entries_; }

 private:
  void Index(int number, Entry* entry) {
    if (number >= kIndexedBelow) return;
    if (byNumber_.size() <= static_cast<size_t>(number)) byNumber_.resize(number + 1, nullptr);
    byNumber_[number] = entry;
  }
  void Reindex() {
    byNumber_.clear();
    for (auto& [number, entry] : entries_) Index(number, &entry);
  }

  std::map<int, Entry> entries_;
  std::vector<Entry*> byNumber_;  // map nodes never move, so the pointers stay good
};

}  // namespace chart
