#include "text/bounded_text.h"

namespace text {
namespace {

constexpr std::string_view kEllipsis = "...";
// A UTF-8 character has at most three continuation bytes; malformed text stops there too.
constexpr size_t kMaxContinuationBytes = 3;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string BoundedText(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  size_t cut = maxBytes - kEllipsis.size();
  for (size_t stepped = 0; cut > 0 && stepped < kMaxContinuationBytes && IsContinuationByte(text[cut]);
       ++stepped) {
    --cut;
  }
  std::string bounded(text.substr(0, cut));
  bounded += kEllipsis;
  return bounded;
}

}  // namespace text
