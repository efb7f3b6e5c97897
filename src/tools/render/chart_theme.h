// The picture's own colours and text sizes; the study's drawings bring their own colours.
#pragma once

#include "host/colour.h"
#include "render/canvas.h"
#include "render/mono_face.h"

namespace render {

inline constexpr host::Rgb kBackground{19, 23, 34};
inline constexpr host::Rgb kGrid{33, 39, 53};
inline constexpr host::Rgb kAxisBackground{14, 17, 26};
inline constexpr host::Rgb kAxisLine{58, 66, 84};
inline constexpr host::Rgb kAxisText{150, 160, 178};
inline constexpr host::Rgb kCandleUp{38, 166, 154};
inline constexpr host::Rgb kCandleDown{239, 83, 80};
inline constexpr host::Rgb kCandleFlat{150, 160, 178};
inline constexpr host::Rgb kDarkText{11, 15, 22};
inline constexpr host::Rgb kLightText{235, 240, 248};

// Size in points of the picture's own texts (line labels, axis) and of study texts that name
// no size; the panel's default size.
inline constexpr double kLabelPoints = 9;

// A text style in the default monospaced face at `points`.
inline TextStyle MonoStyle(double points, host::Rgb colour, bool bold = false) {
  const MonoFace face = ResolveMonoFace("");
  TextStyle style;
  style.family = face.family;
  style.sizePx = FontPixelSize(face, points);
  style.bold = bold;
  style.paint = {colour, 1.0};
  return style;
}

// Dark or light text, whichever reads better on `fill`.
inline host::Rgb TextOn(host::Rgb fill) {
  const int luma = 299 * fill.r + 587 * fill.g + 114 * fill.b;
  return luma > 140000 ? kDarkText : kLightText;
}

}  // namespace render
