// Where labels go along the plot's height: moved apart so that none overlaps another, and,
// where too many crowd one price band, merged into one label or left out (the least important).
#pragma once

#include <cstddef>
#include <vector>

namespace render {

// `rows` moved apart as little as possible so that neighbours are at least `gap` apart and all
// lie within [low, high] when they fit: each run of crowded rows is centred on the rows it
// replaces, then held inside the bounds. The order of the input is kept in the result.
std::vector<double> SpreadRows(const std::vector<double>& rows, double gap, double low, double high);

// One label to place: the row its centre would take beside its line, its width, and how
// readily it gives way.
struct LabelSlot {
  double row = 0;
  double width = 0;
  int rank = 0;       // 0: a core level's label, never merged nor left out; higher gives way first
  bool edge = false;  // an edge marker: it stacks at the plot's edge, so its move is no crowding
};

// The room the labels share.
struct LabelRoom {
  double rowHeight = 12;  // a label's height with the gap to its neighbour
  double low = 0;         // the highest and lowest rows a label's centre may take
  double high = 0;
  double maxShift = 36;       // a label moved further than this from its row is crowded
  double maxWidth = 0;        // the widest a merged label may be
  double separatorWidth = 0;  // the width between two names of a merged label
};

// One label as shown: the slots it names (one, or several merged, top row first) and the row
// of its centre.
struct LabelGroup {
  std::vector<size_t> members;
  double row = 0;
};

// The labels of `slots` laid out in `room`, top first: no two closer than room.rowHeight.
// While the labels are more than the room holds, or one is moved further than room.maxShift
// from its row, two neighbouring labels of rank above 0 whose rows are within a row of each
// other (both edge markers or both not) merge, the closest first, as long as the merged width
// stays within room.maxWidth; when the labels still outnumber the rows, those of the highest
// rank (the latest slot first) are left out. Core labels (rank 0) are always shown; when they
// alone outnumber the rows they overlap at the bounds.
std::vector<LabelGroup> LayOutLabels(const std::vector<LabelSlot>& slots, const LabelRoom& room);

}  // namespace render
