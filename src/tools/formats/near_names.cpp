#include "formats/near_names.h"

#include <algorithm>

#include "text/ascii.h"

namespace formats {
namespace {

// How near one known name is: slips of the whole name first, then names that begin nearly
// with what was typed, then names that hold it; fewer edits first.
struct Nearness {
  int tier = 0;
  size_t edits = 0;
  size_t order = 0;
  bool operator<(const Nearness& other) const {
    if (tier != other.tier) return tier < other.tier;
    if (edits != other.edits) return edits < other.edits;
    return order < other.order;
  }
};

size_t Difference(size_t a, size_t b) { return a > b ? a - b : b - a; }

// How near `name` is to `typed` (both lower case), within `limit` edits; false when it is not.
bool Near(const std::string& typed, const std::string& name, size_t limit, Nearness* out) {
  // Lengths further apart than the limit are further apart in edits: nothing to compute.
  if (Difference(typed.size(), name.size()) <= limit) {
    out->edits = EditDistance(typed, name);
    if (out->edits <= limit) return true;
  }
  if (typed.size() < 3 || typed.size() >= name.size()) return false;
  out->tier = 1;
  out->edits = EditDistance(typed, std::string_view(name).substr(0, typed.size()));
  if (out->edits <= limit) return true;
  out->tier = 2;
  out->edits = 0;
  return name.find(typed) != std::string::npos;
}

}  // namespace

size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> before(b.size() + 1);
  std::vector<size_t> previous(b.size() + 1);
  std::vector<size_t> current(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t replace = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, replace});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], before[j - 2] + 1);
      }
    }
    before.swap(previous);
    previous.swap(current);
  }
  return previous[b.size()];
}

std::vector<std::string> NearestNames(std::string_view typed, const std::vector<std::string>& known,
                                      size_t most) {
  const std::string key = text::AsciiLower(text::TrimBlanks(typed));
  if (key.empty()) return {};
  const size_t limit = std::clamp<size_t>(key.size() / 4, 1, 3);
  std::vector<Nearness> near;
  for (size_t i = 0; i < known.size(); ++i) {
    Nearness nearness;
    nearness.order = i;
    if (Near(key, text::AsciiLower(known[i]), limit, &nearness)) near.push_back(nearness);
  }
  std::sort(near.begin(), near.end());
  std::vector<std::string> names;
  for (size_t i = 0; i < near.size() && i < most; ++i) names.push_back(known[near[i].order]);
  return names;
}

}  // namespace formats
