// The parts of the engine's answer and what their writers share: answer_writer.cpp writes the
// envelope, answer_root_sections.cpp the sections beside the level block, answer_level_block.cpp
// the level block. Internal to the engine; every price goes through one mapping and rounding.
#pragma once

#include <string>
#include <vector>

#include "engine/engine.h"
#include "jsonout/json_writer.h"

namespace engine {

// `value` to a multiple of `unit` (prices to a ten-thousandth, money to the dollar, shares to
// one), as the double nearest the decimal, so that the text stays short.
double RoundTo(double value, double unit);

// One answer being written: the engine's answer and the compact writer it goes to.
struct AnswerOut {
  // Requires: `answer` and `*text` outlive this.
  AnswerOut(const EngineAnswer& answer, std::string* text);

  const EngineAnswer& answer;
  const Levels& levels;  // answer.levels
  jsonout::JsonWriter w;

  // `underlyingPrice` on the chart: times the conversion ratio, on the answer's price tick when
  // mapped onto a futures chart, else to a ten-thousandth. Distances scale the same way.
  double Price(double underlyingPrice) const;
  // Writes member `key` with the chart price of `underlyingPrice`.
  void PriceMember(const char* key, double underlyingPrice);
  // Writes member `key` with the level's chart price; nothing when the level is absent.
  void LevelMember(const char* key, const Level& level);
  // Writes member `key` with dollars (or shares) rounded to one.
  void Money(const char* key, double value);
  // Writes member `key` with a string.
  void Text(const char* key, const std::string& value);
  // Writes member `key` with a boolean.
  void Flag(const char* key, bool value);
  // Writes a list of strings as the value of the key written before.
  void Strings(const std::vector<std::string>& values);
  // Writes member `key` as an object with the band's chart prices under `lowKey` and `highKey`
  // (and `label` when given); nothing when the band is absent.
  void BandObject(const char* key, const Band& band, const char* lowKey, const char* highKey,
                  const char* label = nullptr);

  // "ratio" when the answer is mapped onto another chart, else "none".
  std::string Method() const;
  // "all_expirations" for the legacy expiry mode, else "selected_expirations".
  std::string Scope() const;
  // The one expiration the answer used, or "" when it used several.
  std::string SelectedExpiration() const;
};

// Writes the members beside the level block: flow, points of interest, zones, volatility zones
// and the extended levels.
void WriteRootSections(AnswerOut& out);

// Writes the "display_levels" member: identity, core levels, models, greek walls and the
// per-strike lists.
void WriteLevelBlock(AnswerOut& out);

}  // namespace engine
