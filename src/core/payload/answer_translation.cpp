#include "payload/answer_translation.h"

#include "payload/levels_response.h"
#include "payload/served_selection.h"
#include "text/bounded_text.h"

namespace payload {
namespace {

// The checks that come before the envelope; false with the failure message.
bool AnswersTheRequest(json::Node root, const calendar::ServedSelection& served,
                       const AnswerExpectations& expect, std::string* failure) {
  bool ok = true;
  if (expect.spxSourceRequired && json::MemberAsText(root, "resolved_symbol") != "SPX") {
    *failure = "SPX source unavailable: no SPX-derived ES map returned.";
    ok = false;
  }
  if (!calendar::ResponseSelectionMatches(served, *expect.selection)) {
    *failure = "Selected expirations unavailable: response selection did not match.";
    ok = false;
  }
  return ok;
}

void ApplySelection(const calendar::ServedSelection& served, const AnswerExpectations& expect,
                    LevelsSnapshot* s) {
  if (expect.selection->mode != calendar::kExpiryLegacy) {
    // A selection-bound book carries no flip, trigger or max pain of its own.
    s->gammaFlip = s->volTrigger = s->zeroGammaModel = s->maxPain = OptionalLevel{};
    s->expirationNote = text::BoundedText(calendar::CoreSelectionNote(served, *expect.selection));
  } else if (expect.modelZeroGammaAsFlip && s->zeroGammaModel.has) {
    s->gammaFlip = s->zeroGammaModel;
  }
}

}  // namespace

bool TranslateLevelsAnswer(json::Node root, const AnswerExpectations& expect, LevelsAnswer* answer,
                           std::string* failure) {
  const calendar::ServedSelection served = ReadServedSelection(root);
  if (!AnswersTheRequest(root, served, expect, failure)) return false;
  if (!ParseLevelsResponse(root, expect.topStrikesCount, &answer->snapshot, failure)) return false;
  ApplySelection(served, expect, &answer->snapshot);
  answer->live = ReadLiveMap(root);
  return true;
}

}  // namespace payload
