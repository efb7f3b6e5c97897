#include "study/symbol_resolution.h"

#include <cstddef>
#include <iterator>

#include "text/ascii.h"

namespace study {
namespace {

// January to December.
constexpr std::string_view kMonthLetters = "FGHJKMNQUVXZ";

struct MetalRoot {
  std::string_view root;
  const char* apiSymbol;
};

// Searched in order, so the micro roots win over their two-letter prefixes.
constexpr MetalRoot kMetalRoots[] = {{"MGC", "GC"}, {"GC", "GC"}, {"SIL", "SI"}, {"SI", "SI"}};

// Symbols the service knows under the chart's own name.
constexpr std::string_view kDirectSymbols[] = {"QQQ", "SPY", "NDX", "SPX", "GLD", "SLV"};

bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }

// Data feeds put exchange or market codes in front ("F.US.", "CME."); the last segment is
// always kept, whatever it holds.
bool IsPrefixSegment(std::string_view segment) {
  return segment.size() <= 2 || segment == "CME" || segment == "FUT";
}

// The root alone, or the root followed by exactly one futures month letter.
bool MatchesMetalRoot(std::string_view normalized, std::string_view root) {
  if (normalized == root) return true;
  return normalized.size() == root.size() + 1 && normalized.substr(0, root.size()) == root &&
         kMonthLetters.find(normalized.back()) != std::string_view::npos;
}

}  // namespace

std::string ApiSymbolFromRequest(int requestedIndex, std::string_view chartSymbol) {
  constexpr int kCount = static_cast<int>(std::size(kRequestedSymbols));
  if (requestedIndex >= 1 && requestedIndex <= kCount) return kRequestedSymbols[requestedIndex - 1];
  return ResolveApiSymbol(chartSymbol);
}

std::string NormalizeChartSymbol(std::string_view chartSymbol) {
  std::string upper(chartSymbol);
  for (char& c : upper) c = text::AsciiUpper(c);

  const std::string_view text(upper);
  size_t start = 0;
  for (;;) {
    const size_t dot = text.find('.', start);
    if (dot == std::string_view::npos || !IsPrefixSegment(text.substr(start, dot - start))) break;
    start = dot + 1;
  }
  size_t end = start;
  while (end < text.size() && IsUpperLetter(text[end])) ++end;
  return std::string(text.substr(start, end - start));
}

std::string ResolveApiSymbol(std::string_view chartSymbol) {
  const std::string normalized = NormalizeChartSymbol(chartSymbol);
  const std::string_view n(normalized);

  for (std::string_view direct : kDirectSymbols) {
    if (n == direct) return std::string(direct);
  }
  for (const MetalRoot& row : kMetalRoots) {
    if (MatchesMetalRoot(n, row.root)) return row.apiSymbol;
  }
  if (n.starts_with("MNQ") || n.starts_with("ENQ")) return "NQ";
  if (n.starts_with("MES")) return "ES";
  if (n.starts_with("NQ")) return "NQ";
  if (n.starts_with("ES") || n.starts_with("EP")) return "ES";
  return "";
}

std::string ResearchSourceForSymbol(std::string_view apiSymbol, std::string_view esOptionsSource) {
  if (apiSymbol == "NQ") return "QQQ";
  if (apiSymbol == "ES") return std::string(esOptionsSource);
  if (apiSymbol == "GC") return "GLD";
  if (apiSymbol == "SI") return "SLV";
  return std::string(apiSymbol);
}

}  // namespace study
