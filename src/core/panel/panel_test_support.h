// Shared set-up of the panel tests: a fake host with a 1000-pixel price region, the declared
// panel settings, and
// one-line renderings of panel lines and text drawings.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/fake_study_host.h"
#include "panel/panel_line.h"
#include "panel/panel_settings.h"
#include "text/format.h"

namespace panel {

inline std::string ColourText(host::Rgb c) {
  return text::Format("(%d,%d,%d)", int(c.r), int(c.g), int(c.b));
}

// "tab kind group|text", e.g. "1 1 core|- Levels -".
inline std::string Summary(const PanelLine& line) {
  return text::Format("%d %d %s|%s", line.tab, line.kind, line.group, line.text);
}

inline std::vector<std::string> Summaries(const std::vector<PanelLine>& lines) {
  std::vector<std::string> out;
  for (const PanelLine& line : lines) out.push_back(Summary(line));
  return out;
}

// "text (r,g,b)" with " bold" for bold lines.
inline std::vector<std::string> Styled(const std::vector<PanelLine>& lines) {
  std::vector<std::string> out;
  for (const PanelLine& l : lines)
    out.push_back(l.text + " " + ColourText(l.colour) + (l.bold ? " bold" : ""));
  return out;
}

inline std::vector<std::string> Texts(const std::vector<PanelLine>& lines) {
  std::vector<std::string> out;
  for (const PanelLine& line : lines) out.push_back(line.text);
  return out;
}

// "71400 @100 h97.00 L 'ORDINEL  NQ' (105,194,255) bold" for a text drawing; a panel rectangle
// reads "71459 rect 100-155 h99.40..70.40 t15".
inline std::string DescribeDrawing(const host::DrawingRequest& r) {
  if (r.kind == host::DrawingKind::kPanelRectangle) {
    return text::Format("%d rect %d-%d h%.2f..%.2f t%d", r.lineNumber, r.beginBar, r.endBar, r.beginValue,
                        r.endValue, r.transparency);
  }
  const char* side = (r.alignment & ~host::kAlignVerticalCentre) == host::kAlignRight ? "R" : "L";
  return text::Format("%d @%d h%.2f %s '%s' %s%s", r.lineNumber, r.beginBar, r.beginValue, side, r.text,
                      ColourText(r.colour), r.bold ? " bold" : "");
}

class PanelTest : public ::testing::Test {
 protected:
  PanelTest() {
    sc.region = {0, 1000, 0, 1000};
    settings.render.lineSpacing = 2.5;
  }

  // Descriptions of the drawings with line numbers in [from, to], by line number.
  std::vector<std::string> Drawn(int from = 71400, int to = 71499) const {
    std::vector<std::string> out;
    for (const auto& [number, request] : sc.drawings) {
      if (number >= from && number <= to) out.push_back(DescribeDrawing(request));
    }
    return out;
  }

  // Texts of the drawings with line numbers in [from, to].
  std::vector<std::string> DrawnTexts(int from, int to) const {
    std::vector<std::string> out;
    for (const auto& [number, request] : sc.drawings) {
      if (number >= from && number <= to) out.push_back(request.text);
    }
    return out;
  }

  host::FakeStudyHost sc;
  PanelSettings settings;
};

}  // namespace panel
