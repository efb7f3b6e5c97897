#include "render/label_layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace render {
namespace {

// A run of rows placed edge to edge: `sum` adds each member's row less its offset in the run,
// so that sum / count is where the run starts when it is centred on its members.
struct Run {
  size_t count = 0;
  double sum = 0;
  double start = 0;
};

double PlaceRun(const Run& run, double gap, double low, double high) {
  const double centred = run.sum / static_cast<double>(run.count);
  const double last = high - static_cast<double>(run.count - 1) * gap;
  return std::max(std::min(centred, last), low);
}

struct Group {
  std::vector<size_t> members;
  double row = 0;
  double width = 0;
  int rank = 0;
  bool edge = false;
};

std::vector<double> Rows(const std::vector<Group>& groups) {
  std::vector<double> rows;
  rows.reserve(groups.size());
  for (const Group& g : groups) rows.push_back(g.row);
  return rows;
}

bool Mergeable(const Group& a, const Group& b, const LabelRoom& room) {
  return a.rank > 0 && b.rank > 0 && a.edge == b.edge && b.row - a.row < room.rowHeight &&
         a.width + room.separatorWidth + b.width <= room.maxWidth;
}

// Marks the groups in a run of touching labels that holds one moved further than maxShift.
std::vector<bool> CrowdedRuns(const std::vector<Group>& groups, const std::vector<double>& placed,
                              const LabelRoom& room) {
  std::vector<bool> crowded(groups.size(), false);
  size_t begin = 0;
  for (size_t i = 0; i < groups.size(); ++i) {
    const bool runEnds = i + 1 == groups.size() || placed[i + 1] - placed[i] > room.rowHeight + 1e-6;
    if (!runEnds) continue;
    bool moved = false;
    for (size_t k = begin; k <= i; ++k) {
      moved = moved || (!groups[k].edge && std::fabs(placed[k] - groups[k].row) > room.maxShift);
    }
    for (size_t k = begin; k <= i && moved; ++k) crowded[k] = true;
    begin = i + 1;
  }
  return crowded;
}

// Merges the closest mergeable neighbours among those `eligible` allows; false when none are.
bool MergeClosest(std::vector<Group>& groups, const std::vector<bool>& eligible, const LabelRoom& room) {
  size_t best = groups.size();
  for (size_t i = 0; i + 1 < groups.size(); ++i) {
    if (!eligible[i] || !eligible[i + 1] || !Mergeable(groups[i], groups[i + 1], room)) continue;
    if (best == groups.size() || groups[i + 1].row - groups[i].row < groups[best + 1].row - groups[best].row)
      best = i;
  }
  if (best == groups.size()) return false;
  Group& a = groups[best];
  Group& b = groups[best + 1];
  const double n = static_cast<double>(a.members.size());
  const double m = static_cast<double>(b.members.size());
  a.row = (a.row * n + b.row * m) / (n + m);
  a.width += room.separatorWidth + b.width;
  a.rank = std::min(a.rank, b.rank);
  a.members.insert(a.members.end(), b.members.begin(), b.members.end());
  groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(best) + 1);
  return true;
}

// Leaves out the group of the highest rank, the one naming the latest slot among equals.
bool DropOne(std::vector<Group>& groups) {
  auto worst = groups.end();
  for (auto it = groups.begin(); it != groups.end(); ++it) {
    if (it->rank == 0) continue;
    const size_t latest = *std::max_element(it->members.begin(), it->members.end());
    if (worst == groups.end() || it->rank > worst->rank ||
        (it->rank == worst->rank &&
         latest > *std::max_element(worst->members.begin(), worst->members.end()))) {
      worst = it;
    }
  }
  if (worst == groups.end()) return false;
  groups.erase(worst);
  return true;
}

}  // namespace

std::vector<double> SpreadRows(const std::vector<double>& rows, double gap, double low, double high) {
  std::vector<size_t> order(rows.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return rows[a] < rows[b]; });
  std::vector<Run> runs;
  for (const size_t i : order) {
    runs.push_back({1, rows[i], 0});
    runs.back().start = PlaceRun(runs.back(), gap, low, high);
    // A run that reaches into the one before joins it, and the joined run is centred again.
    while (runs.size() > 1) {
      Run& before = runs[runs.size() - 2];
      const Run& last = runs.back();
      if (before.start + static_cast<double>(before.count) * gap <= last.start) break;
      before.sum += last.sum - static_cast<double>(last.count * before.count) * gap;
      before.count += last.count;
      runs.pop_back();
      runs.back().start = PlaceRun(runs.back(), gap, low, high);
    }
  }
  std::vector<double> placed(rows.size());
  size_t next = 0;
  for (const Run& run : runs) {
    for (size_t k = 0; k < run.count; ++k) placed[order[next++]] = run.start + static_cast<double>(k) * gap;
  }
  return placed;
}

std::vector<LabelGroup> LayOutLabels(const std::vector<LabelSlot>& slots, const LabelRoom& room) {
  std::vector<size_t> order(slots.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return slots[a].row < slots[b].row; });
  std::vector<Group> groups;
  for (const size_t i : order)
    groups.push_back({{i}, slots[i].row, slots[i].width, slots[i].rank, slots[i].edge});
  const double height = std::max(room.high - room.low, 0.0);
  const size_t capacity = static_cast<size_t>(std::floor(height / std::max(room.rowHeight, 1e-9))) + 1;
  std::vector<double> placed = SpreadRows(Rows(groups), room.rowHeight, room.low, room.high);
  for (;;) {
    const bool over = groups.size() > capacity;
    const std::vector<bool> crowded = CrowdedRuns(groups, placed, room);
    const bool anyCrowded = std::find(crowded.begin(), crowded.end(), true) != crowded.end();
    if (!over && !anyCrowded) break;
    const bool changed =
        MergeClosest(groups, over ? std::vector<bool>(groups.size(), true) : crowded, room) ||
        (over && DropOne(groups));
    if (!changed) break;
    placed = SpreadRows(Rows(groups), room.rowHeight, room.low, room.high);
  }
  std::vector<LabelGroup> out;
  out.reserve(groups.size());
  for (size_t i = 0; i < groups.size(); ++i) out.push_back({std::move(groups[i].members), placed[i]});
  return out;
}

}  // namespace render
