// The one step that turns a parsed levels answer into everything the study keeps from it: the
// checks against the request, the snapshot as it will be drawn and the live map for research.
#pragma once

#include <string>

#include "calendar/expiry_selection.h"
#include "json/json_node.h"
#include "payload/levels_snapshot.h"
#include "payload/live_map.h"

namespace payload {

// What the request asked for, which the answer must honour.
struct AnswerExpectations {
  bool spxSourceRequired = false;  // an ES map derived from SPX was asked for
  const calendar::ExpirySelection* selection = nullptr;
  int topStrikesCount = 10;
  bool modelZeroGammaAsFlip = false;
};

struct LevelsAnswer {
  // Outside Legacy mode gamma flip, vol trigger, model zero gamma and max pain are absent and
  // the expiration note describes the served book; in Legacy mode the model zero gamma stands
  // in for the gamma flip when asked to.
  LevelsSnapshot snapshot;
  LiveMap live;
};

// Fills *answer from `root` and returns true; false with the failure message when the answer
// is not an SPX-derived map although one was asked for, serves another expiry selection, or
// its envelope or level block is unusable (both checks run; the selection message wins).
// Requires: expect.selection, answer and failure are not null.
bool TranslateLevelsAnswer(json::Node root, const AnswerExpectations& expect, LevelsAnswer* answer,
                           std::string* failure);

}  // namespace payload
