#include "render/display_text.h"

namespace render {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the valid UTF-8 sequence at text[i], or 0 when the bytes there are not one.
size_t SequenceLength(std::string_view text, size_t i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned int lowest = 0;
  unsigned int value = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, lowest = 0x80, value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, lowest = 0x800, value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, lowest = 0x10000, value = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[i + k]);
    if (!IsContinuation(next)) return 0;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string DisplayText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t length = SequenceLength(text, i);
    if (length == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (length == 1 && (lead < 0x20 || lead == 0x7F)) {
      out += ' ';
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

size_t DisplayColumns(std::string_view text) {
  size_t columns = 0;
  size_t i = 0;
  while (i < text.size()) {
    const size_t length = SequenceLength(text, i);
    i += length == 0 ? 1 : length;
    ++columns;
  }
  return columns;
}

}  // namespace render
