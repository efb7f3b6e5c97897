#include "text/utf8_text.h"

namespace text {
namespace {

// What a lead byte asks of the bytes after it: how many follow, and the range of the first of
// them (the later ones are always 0x80-0xBF). Ranges beyond 0x80-0xBF exclude overlong forms
// (E0, F0), surrogates (ED) and values above U+10FFFF (F4).
struct LeadRule {
  int following = -1;  // -1: the byte cannot start a sequence
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
};

LeadRule RuleOf(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {1, 0x80, 0xBF};
  if (lead == 0xE0) return {2, 0xA0, 0xBF};
  if (lead == 0xED) return {2, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {2, 0x80, 0xBF};
  if (lead == 0xF0) return {3, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {3, 0x80, 0xBF};
  if (lead == 0xF4) return {3, 0x80, 0x8F};
  return {};
}

}  // namespace

Utf8Unit NextUtf8Unit(std::string_view text, size_t at) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {1, true};
  const LeadRule rule = RuleOf(lead);
  if (rule.following < 0) return {1, false};
  size_t length = 1;
  for (int k = 1; k <= rule.following; ++k) {
    if (at + length >= text.size()) return {length, false};
    const unsigned char next = static_cast<unsigned char>(text[at + length]);
    const unsigned char low = k == 1 ? rule.low : 0x80;
    const unsigned char high = k == 1 ? rule.high : 0xBF;
    if (next < low || next > high) return {length, false};
    ++length;
  }
  return {length, true};
}

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const Utf8Unit unit = NextUtf8Unit(text, at);
    if (unit.valid) {
      out.append(text.substr(at, unit.length));
    } else {
      out.append(kReplacementCharacter);
    }
    at += unit.length;
  }
  return out;
}

}  // namespace text
