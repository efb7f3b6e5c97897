#include "panel/panel_state.h"

#include <climits>

#include "text/format.h"

namespace panel {
namespace {

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The leading decimal integer of `text` as atoi reads it (0 when there is none), saturated so
// that a long run of digits cannot overflow.
long long LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (n < INT_MAX) n = n * 10 + (text[i] - '0');
  }
  return negative ? -n : n;
}

bool* FlagOfLetter(PanelState* state, char letter) {
  switch (letter) {
    case 'c': return &state->folded;
    case 'h': return &state->hidden;
    case 's': return &state->simple;
    case 'l': return &state->linesHidden;
    case 'z': return &state->zonesHidden;
    case 'C': return &state->coreFolded;
    case 'Z': return &state->zonesFolded;
    default: return nullptr;
  }
}

}  // namespace

std::string FormatPanelState(const PanelState& s) {
  return text::Format("t%dc%dh%ds%dl%dz%dC%dZ%d", s.tab, int(s.folded), int(s.hidden), int(s.simple),
                      int(s.linesHidden), int(s.zonesHidden), int(s.coreFolded), int(s.zonesFolded));
}

void ReadPanelStateText(std::string_view text, PanelState* state) {
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    const char letter = text[i];
    const char value = text[i + 1];
    if (letter == 't') {
      if (value >= '1' && value <= '4') state->tab = value - '0';
    } else if (bool* flag = FlagOfLetter(state, letter)) {
      *flag = value == '1';
    }
  }
}

bool ApplyPanelToken(PanelState* state, std::string_view token, std::string_view value, int* anchorIndex) {
  if (token == "tab") {
    const long long tab = LeadingInteger(value);
    if (tab >= 1 && tab <= 4) state->tab = static_cast<int>(tab);
  } else if (token == "collapse") {
    state->folded = !state->folded;
  } else if (token == "hide") {
    state->hidden = true;
  } else if (token == "show") {
    state->hidden = false;
  } else if (token == "simple") {
    state->simple = !state->simple;
  } else if (token == "lines") {
    state->linesHidden = !state->linesHidden;
  } else if (token == "zones") {
    state->zonesHidden = !state->zonesHidden;
  } else if (token == "corner") {
    // A stored index outside 0..3 still lands on a corner.
    const long long next = (static_cast<long long>(*anchorIndex) % 4 + 4 + 1) % 4;
    *anchorIndex = static_cast<int>(next);
  } else if (token == "group") {
    if (value == "core") state->coreFolded = !state->coreFolded;
    if (value == "zones") state->zonesFolded = !state->zonesFolded;
  } else {
    return false;
  }
  return true;
}

}  // namespace panel
