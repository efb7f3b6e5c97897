#include "panel/panel_wrap.h"

#include <algorithm>

namespace panel {
namespace {

constexpr int kMinColumns = 1;
constexpr int kMaxColumns = 120;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte position reached after `columns` code points of `rest`, or rest.size() when it is shorter.
size_t BytesOfColumns(std::string_view rest, int columns) {
  size_t k = 0;
  for (int counted = 0; k < rest.size() && counted < columns; ++counted) {
    ++k;
    while (k < rest.size() && IsContinuationByte(rest[k])) ++k;
  }
  return k;
}

void WrapParagraph(std::string_view rest, int columns, std::vector<std::string>* pieces) {
  if (rest.empty()) {
    pieces->emplace_back();
    return;
  }
  while (!rest.empty()) {
    const size_t k = BytesOfColumns(rest, columns);
    if (k == rest.size()) {
      pieces->emplace_back(rest);
      return;
    }
    const size_t space = rest.substr(0, k).rfind(' ');
    const size_t length = space != std::string_view::npos && space > 0 ? space : k;
    pieces->emplace_back(rest.substr(0, length));
    rest.remove_prefix(length);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  }
}

}  // namespace

std::vector<std::string> WrapPanelText(std::string_view text, int columns) {
  columns = std::clamp(columns, kMinColumns, kMaxColumns);
  std::vector<std::string> pieces;
  for (;;) {
    const size_t newline = text.find('\n');
    WrapParagraph(text.substr(0, newline), columns, &pieces);
    if (newline == std::string_view::npos) break;
    text.remove_prefix(newline + 1);
  }
  return pieces;
}

}  // namespace panel
