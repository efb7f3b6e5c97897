#include "engine/option_symbol.h"

#include "calendar/new_york_calendar.h"
#include "text/ascii.h"

namespace engine {
namespace {

// YYMMDD, the kind letter and eight strike digits.
constexpr size_t kTailLength = 15;

bool AllDigits(std::string_view s) {
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return !s.empty();
}

bool IsRootChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '/';
}

}  // namespace

bool ParseOptionSymbol(std::string_view text, OptionSymbol* out) {
  text = text::TrimBlanks(text, " ");
  if (text.size() <= kTailLength) return false;
  const std::string_view root = text::TrimBlanks(text.substr(0, text.size() - kTailLength), " ");
  const std::string_view tail = text.substr(text.size() - kTailLength);
  if (root.empty()) return false;
  for (char c : root) {
    if (!IsRootChar(c)) return false;
  }
  const std::string_view yymmdd = tail.substr(0, 6);
  const char kind = tail[6];
  const std::string_view strikeDigits = tail.substr(7);
  if (!AllDigits(yymmdd) || !AllDigits(strikeDigits)) return false;
  if (kind != 'C' && kind != 'P' && kind != 'c' && kind != 'p') return false;
  std::string expiration = "20";
  expiration.append(yymmdd.substr(0, 2)).append("-");
  expiration.append(yymmdd.substr(2, 2)).append("-").append(yymmdd.substr(4, 2));
  if (!calendar::IsValidIsoDate(expiration)) return false;
  long long thousandths = 0;
  for (char c : strikeDigits) thousandths = thousandths * 10 + (c - '0');
  if (thousandths == 0) return false;
  out->root = CanonicalSymbol(root);
  out->expiration = std::move(expiration);
  out->kind = (kind == 'C' || kind == 'c') ? OptionKind::kCall : OptionKind::kPut;
  out->strike = static_cast<double>(thousandths) / 1000.0;
  return true;
}

std::string CanonicalSymbol(std::string_view symbol) {
  std::string out(text::TrimBlanks(symbol));
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string UnderlyingOfRoot(std::string_view root) {
  struct Alias {
    const char* root;
    const char* underlying;
  };
  static constexpr Alias kAliases[] = {
      {"SPXW", "SPX"}, {"SPXPM", "SPX"}, {"NDXP", "NDX"}, {"NQX", "NDX"},
      {"RUTW", "RUT"}, {"VIXW", "VIX"},  {"XSPW", "XSP"},
  };
  for (const Alias& alias : kAliases) {
    if (root == alias.root) return alias.underlying;
  }
  return std::string(root);
}

}  // namespace engine
