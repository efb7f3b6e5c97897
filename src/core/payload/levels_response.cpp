#include "payload/levels_response.h"

#include <cmath>
#include <climits>

#include "payload/answer_fields.h"
#include "payload/section_lookup.h"
#include "payload/section_readers.h"
#include "text/ascii.h"
#include "text/bounded_text.h"
#include "text/format.h"

namespace payload {

namespace {

constexpr const char* kNotObjectMessage = "Levels response was not a JSON object.";
constexpr const char* kMissingBlockMessage = "Worker response OK but display_levels is missing.";

// Length of a "free" [blanks/tabs] "flow" match starting at `pos`, 0 when there is none.
size_t FreeFlowMatchLength(std::string_view text, size_t pos) {
  auto matchesWord = [&](size_t at, std::string_view word) {
    if (at + word.size() > text.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (text::AsciiLower(text[at + i]) != word[i]) return false;
    }
    return true;
  };
  if (!matchesWord(pos, "free")) return 0;
  size_t at = pos + 4;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  if (!matchesWord(at, "flow")) return 0;
  return at + 4 - pos;
}

// Rounds by adding 0.5 and truncating toward zero, held inside the int range so that a huge
// service value prints as a bounded number instead of an undefined conversion.
int RoundHalfUpTruncated(double value) {
  const double shifted = value + 0.5;
  if (!(shifted > static_cast<double>(INT_MIN))) return INT_MIN;
  if (!(shifted < static_cast<double>(INT_MAX))) return INT_MAX;
  return static_cast<int>(shifted);
}

int TruncatedToInt(double value) {
  if (!(value > static_cast<double>(INT_MIN))) return INT_MIN;
  if (!(value < static_cast<double>(INT_MAX))) return INT_MAX;
  return static_cast<int>(value);
}

json::Node FindLevelBlock(json::Node root) {
  return json::FirstPresentMember(root, {"display_levels", "snapshot", "data"});
}

std::string FailureMessageText(json::Node root) {
  const std::string error = ServiceText(root, "error");
  std::string message = ServiceNote(root, "message");
  if (message.empty()) message = ServiceNote(root, "display_message");
  if (!message.empty() && !error.empty()) {
    return text::Format("Levels unavailable (%s): %s", error, message);
  }
  if (!message.empty()) return text::Format("Levels unavailable: %s", message);
  if (!error.empty()) return text::Format("Levels unavailable (error: %s).", error);
  return "Levels unavailable: worker responded without ok/connected.";
}

std::string FailureMessage(json::Node root) { return text::BoundedText(FailureMessageText(root)); }

void ReadIdentity(json::Node root, json::Node block, LevelsSnapshot* snapshot) {
  snapshot->requestedSymbol = ServiceText(root, "requested_symbol");
  if (snapshot->requestedSymbol.empty()) {
    snapshot->requestedSymbol = ServiceText(block, "requested_symbol");
  }
  snapshot->resolvedSymbol = ServiceText(root, "resolved_symbol");
  if (snapshot->resolvedSymbol.empty()) {
    snapshot->resolvedSymbol = ServiceText(block, "resolved_symbol");
  }
  snapshot->sourceSnapshotTime = ServiceText(root, "source_snapshot_time");
  snapshot->conversionNote = ServiceNote(root, "conversion_note");
  if (snapshot->conversionNote.empty()) {
    snapshot->conversionNote = ServiceNote(block, "conversion_note");
  }
  snapshot->expirationNote = ServiceNote(root, "expiration_note");
  snapshot->mappingNote = ServiceNote(root, "mapping_note");
}

void ReadLockedSnapshot(json::Node root, LevelsSnapshot* snapshot) {
  const bool lockedFlag =
      json::MemberIsTrue(root, "locked_snapshot") || json::MemberIsTrue(root, "locked_mode");
  snapshot->locked = lockedFlag && !json::MemberAsText(root, "locked_captured_at").empty();
  double refreshAfter = 0;
  if (snapshot->locked && json::MemberNumber(root, "locked_refresh_after_unix", &refreshAfter)) {
    snapshot->lockedRefreshAfterUnix = refreshAfter;
  }
  snapshot->lockedSession = ServiceText(root, "locked_session");
}

const char* ModeLabel(const std::string& mode) {
  if (mode == "gex_only") return "GEX only";
  if (mode == "minimal") return "Minimal";
  if (mode == "custom") return "Custom";
  return "Full";
}

const char* PresetLabel(const std::string& preset) {
  if (preset == "gex_only") return "GEX only";
  if (preset == "oi") return "OI";
  if (preset == "flow") return "Flow";
  if (preset == "custom") return "Custom";
  return "Balanced";
}

std::string FocusSummary(json::Node accountMap) {
  const char* mode = ModeLabel(json::MemberAsText(accountMap, "mode"));
  const char* preset = PresetLabel(json::MemberAsText(accountMap, "focus_preset"));
  double count = 0;
  if (json::MemberNumber(accountMap, "focus_count", &count) && count > 0) {
    return text::Format("%s - Focus: %s (%d)", mode, preset, TruncatedToInt(count));
  }
  return text::Format("%s - Focus: %s", mode, preset);
}

std::string ModelSummary(json::Node model) {
  std::string summary;
  double score = 0;
  if (json::MemberNumber(model, "pinning_score", &score)) {
    summary += text::Format("pin %d/100", RoundHalfUpTruncated(score));
  }
  double shares = 0;
  if (json::MemberNumber(model, "hedge_1pct_shares", &shares)) {
    const std::string direction = json::MemberAsText(model, "hedge_direction");
    const char* suffix = direction == "dampening"      ? " (dampening)"
                         : direction == "pro_cyclical" ? " (pro-cyclical)"
                                                       : "";
    summary += text::Format("%shedge %s%dk sh/1%%%s", summary.empty() ? "" : " - ", shares < 0 ? "-" : "",
                            RoundHalfUpTruncated(std::fabs(shares) / 1000), suffix);
  }
  const std::string flipSide = json::MemberAsText(model, "flip_side");
  if (flipSide == "above" || flipSide == "below") {
    summary += text::Format("%sspot %s flip", summary.empty() ? "" : " - ", flipSide);
  }
  return summary;
}

void ReadCoreLevels(json::Node block, LevelsSnapshot* snapshot) {
  ReadLevel(block, "spot", &snapshot->spot);
  ReadLevel(block, "call_wall", &snapshot->callWall);
  ReadLevel(block, "put_wall", &snapshot->putWall);
  ReadLevel(block, "gamma_flip", &snapshot->gammaFlip);
  ReadLevel(block, "vol_trigger", &snapshot->volTrigger);
}

}  // namespace

std::string CleanServiceNote(std::string_view text) {
  std::string cleaned;
  cleaned.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t match = FreeFlowMatchLength(text, pos);
    if (match > 0) {
      cleaned += "market data";
      pos += match;
    } else {
      cleaned.push_back(text[pos++]);
    }
  }
  return cleaned;
}

bool ParseLevelsResponse(json::Node root, int topStrikesCount, LevelsSnapshot* snapshot,
                         std::string* statusText) {
  ResetSnapshot(snapshot);
  if (!root.IsObject()) {
    *statusText = kNotObjectMessage;
    return false;
  }
  if (!json::MemberIsTrue(root, "ok") || !json::MemberIsTrue(root, "connected")) {
    *statusText = FailureMessage(root);
    return false;
  }
  json::Node block = FindLevelBlock(root);
  if (!block.IsObject()) {
    *statusText = kMissingBlockMessage;
    return false;
  }
  ReadIdentity(root, block, snapshot);
  ReadLockedSnapshot(root, snapshot);
  ReadCoreLevels(block, snapshot);
  json::Node accountMap = json::Member(block, "account_map");
  if (accountMap.IsObject()) snapshot->focusSummary = FocusSummary(accountMap);
  json::Node ownModel = json::Member(block, "own_model");
  if (ownModel.IsObject()) snapshot->modelSummary = ModelSummary(ownModel);
  ReadOptionalSections(root, block, topStrikesCount, snapshot);
  snapshot->valid = true;
  return true;
}

}  // namespace payload
