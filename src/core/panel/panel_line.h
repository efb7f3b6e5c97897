// One text line of the info panel, as the content sections produce it and the layout draws it,
// and the colours the panel uses itself.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "host/colour.h"

namespace panel {

// Tabs: 0 shows the line on every tab.
inline constexpr int32_t kTabAll = 0;
inline constexpr int32_t kTabLevels = 1;
inline constexpr int32_t kTabContext = 2;
inline constexpr int32_t kTabStrikes = 3;
inline constexpr int32_t kTabFear = 4;

// Kinds: a group header is clickable and folds its group; a never-shown line only keeps a place.
inline constexpr int32_t kKindPlain = 0;
inline constexpr int32_t kKindGroupHeader = 1;
inline constexpr int32_t kKindNeverShown = 2;

inline constexpr const char* kGroupCore = "core";
inline constexpr const char* kGroupZones = "zones";

struct PanelLine {
  std::string text;  // leading spaces are part of the layout
  host::Rgb colour;
  bool bold = false;
  int32_t tab = kTabAll;
  int32_t kind = kKindPlain;
  std::string group;  // "core", "zones" or empty

  friend bool operator==(const PanelLine&, const PanelLine&) = default;
};

// A plain line shown on every tab.
inline PanelLine MakeLine(std::string text, host::Rgb colour, bool bold = false) {
  PanelLine line;
  line.text = std::move(text);
  line.colour = colour;
  line.bold = bold;
  return line;
}

// Colours shared by the panel's own drawings and its sections.
inline constexpr host::Rgb kTitleColour{105, 194, 255};
inline constexpr host::Rgb kInactiveColour{170, 180, 198};
inline constexpr host::Rgb kSecondaryColour{170, 180, 198};
inline constexpr host::Rgb kHiddenLinesColour{230, 190, 110};
inline constexpr host::Rgb kHeaderColour{120, 130, 148};
inline constexpr host::Rgb kStatusColour{150, 160, 178};
inline constexpr host::Rgb kNoteColour{130, 140, 158};
inline constexpr host::Rgb kGreen{115, 240, 176};
inline constexpr host::Rgb kRed{255, 139, 139};
inline constexpr host::Rgb kAmber{246, 180, 95};

}  // namespace panel
