#include "panel/panel_content.h"

#include "panel/context_rows.h"
#include "panel/fear_rows.h"
#include "panel/level_rows.h"
#include "panel/strike_rows.h"
#include "panel/text_format.h"
#include "text/format.h"

namespace panel {
namespace {

constexpr const char* kDisclaimer = "Descriptive positioning data - not investment advice.";

// Puts the lines a section added (from `first` on) on its tab and group; the first of them is
// its header, which becomes a group header for the folding sections.
void TagSection(std::vector<PanelLine>* lines, size_t first, int32_t tab, const char* group, bool foldable) {
  for (size_t i = first; i < lines->size(); ++i) {
    (*lines)[i].tab = tab;
    (*lines)[i].group = group;
  }
  if (foldable && first < lines->size()) (*lines)[first].kind = kKindGroupHeader;
}

PanelLine TitleLine(const PanelContext& context, const payload::LevelsSnapshot& s) {
  std::string title = text::Format("ORDINEL  %s", context.apiSymbol.empty() ? "-" : context.apiSymbol);
  if (s.valid) {
    title += s.locked ? text::Format("   locked %s", s.lockedSession.empty() ? "session" : s.lockedSession)
                      : "   dynamic";
  }
  PanelLine line = MakeLine(std::move(title), kTitleColour, true);
  line.kind = kKindNeverShown;
  return line;
}

void AddStatusLines(const PanelContext& context, const ContentOptions& options,
                    std::vector<PanelLine>* lines) {
  const host::Rgb warning = options.warningColour;
  if (!context.statusLine.empty()) lines->push_back(MakeLine(context.statusLine, kStatusColour));
  if (!context.errorLine.empty()) lines->push_back(MakeLine(context.errorLine, warning));
  if (!context.scaleGuardMessage.empty()) {
    lines->push_back(MakeLine(context.scaleGuardMessage, warning, true));
    if (context.scaleGuardTripped) {
      lines->push_back(
          MakeLine("Nothing is drawn while the payload and the chart disagree on price.", warning));
    }
  }
}

void AddSpotLine(const host::StudyHost& sc, const payload::LevelsSnapshot& s, host::Rgb colour,
                 std::vector<PanelLine>* lines) {
  if (!s.spot.has) return;
  const bool stamped = !s.sourceSnapshotTime.empty();
  lines->push_back(MakeLine(text::Format("Spot %s%s%s", FormatPriceText(sc, s.spot.value),
                                         stamped ? "   snapshot " : "", stamped ? s.sourceSnapshotTime : ""),
                            colour));
}

void AddSnapshotSections(const host::StudyHost& sc, const PanelContext& context,
                         const ContentOptions& options, const payload::LevelsSnapshot& s,
                         std::vector<PanelLine>* lines) {
  AddSpotLine(sc, s, options.textColour, lines);

  size_t first = lines->size();
  AddLevelsSection(sc, s, options.fullDetail, lines);
  TagSection(lines, first, kTabLevels, kGroupCore, true);

  first = lines->size();
  AddZonesSection(sc, s, lines);
  TagSection(lines, first, kTabLevels, kGroupZones, true);

  first = lines->size();
  AddContextSection(sc, s, options.drift, options.forecast, lines);
  TagSection(lines, first, kTabContext, "", false);

  if (options.fear) {
    first = lines->size();
    lines->push_back(MakeLine("- Fear score, vs 12y of sessions -", kHeaderColour));
    AddFearRows(s, context.vixLevel, context.qqqRealizedVol, lines);
    TagSection(lines, first, kTabFear, "", false);
  }

  if (!s.profileRows.empty()) {
    first = lines->size();
    lines->push_back(MakeLine("- Top strikes by |GEX| - intensity [0-100], xN clustered -", kHeaderColour));
    AddTopStrikeRows(sc, s, options.fullDetail, lines);
    TagSection(lines, first, kTabStrikes, "", false);
  }

  if (options.fullDetail) {
    for (const std::string* note : {&s.conversionNote, &s.expirationNote}) {
      if (!note->empty()) lines->push_back(MakeLine(text::Format("  %s", *note), kNoteColour));
    }
  }
}

}  // namespace

void BuildPanelContent(const host::StudyHost& sc, const PanelContext& context, const ContentOptions& options,
                       std::vector<PanelLine>* lines) {
  static const payload::LevelsSnapshot kNoSnapshot;
  const payload::LevelsSnapshot& s = context.snapshot != nullptr ? *context.snapshot : kNoSnapshot;
  lines->clear();
  lines->push_back(TitleLine(context, s));
  AddStatusLines(context, options, lines);
  if (s.valid) AddSnapshotSections(sc, context, options, s, lines);
  lines->push_back(MakeLine(kDisclaimer, kHeaderColour));
  if (lines->size() > kMaxContentLines) lines->resize(kMaxContentLines);
}

}  // namespace panel
