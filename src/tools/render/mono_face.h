// Which installed monospaced face draws the chart's texts, and how large. The study asks for
// "Consolas"; where it is missing a common monospaced face stands in. Either is scaled so that
// a character is 0.72 pixels wide per point of font size, the width the panel's button rows
// and click rectangles are laid out with.
#pragma once

#include <string>
#include <string_view>

#include "render/canvas.h"

namespace render {

struct MonoFace {
  std::string family;       // a family name fontconfig knows, or "monospace"
  double advanceEm = 0.6;   // advance width of one character in ems
  double ascentEm = 0.76;   // height above the baseline in ems
  double descentEm = 0.24;  // depth below the baseline in ems
};

// Character width in pixels per point of font size that the panel's layout assumes.
inline constexpr double kLayoutAdvancePerPoint = 0.72;

// The face for `requested`: itself when installed, else the first installed of DejaVu Sans
// Mono, Liberation Mono, Noto Sans Mono, else "monospace". An empty request asks for Consolas.
// Resolved once per name per process; safe from any thread.
MonoFace ResolveMonoFace(std::string_view requested);

// Baseline of a text of `sizePx` pixels in `face` whose top, vertical centre or baseline
// (`anchor`) lies on row `y`.
double BaselineY(const MonoFace& face, double sizePx, double y, VerticalAnchor anchor);

// Arranges once per process for cairo's and fontconfig's font caches to be released at exit,
// so that a leak checker sees only real leaks. Called before the first use of fonts.
void ReleaseFontCachesAtExit();

// Pixel size at which `face` draws characters kLayoutAdvancePerPoint x `points` pixels wide.
double FontPixelSize(const MonoFace& face, double points);

}  // namespace render
