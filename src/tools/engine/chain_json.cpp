#include "engine/chain_json.h"

#include <map>

#include "engine/chain_screen.h"
#include "engine/option_symbol.h"
#include "json/json_document.h"
#include "text/format.h"

namespace engine {
namespace {

// The options array under "data", else at the root; absent when neither is an array.
json::Node OptionsArray(json::Node root) {
  json::Node options = json::Member(json::Member(root, "data"), "options");
  if (!options) options = json::Member(root, "options");
  return options.IsArray() ? options : json::Node();
}

// The contract of one entry, or the reason it cannot be used.
const char* ReadEntry(json::Node entry, OptionContract* contract, std::string* root) {
  if (!entry.IsObject()) return "not an object";
  const json::Node symbolValue = json::Member(entry, "option");
  OptionSymbol symbol;
  if (!symbolValue.IsString() || !ParseOptionSymbol(symbolValue.text(), &symbol)) {
    return "unreadable option symbol";
  }
  contract->expiration = symbol.expiration;
  contract->strike = symbol.strike;
  contract->kind = symbol.kind;
  *root = symbol.root;
  if (!json::MemberNumber(entry, "open_interest", &contract->openInterest)) {
    return "open interest is missing or not a number";
  }
  if (contract->openInterest < 0) return "negative open interest";
  if (!json::MemberNumber(entry, "iv", &contract->impliedVol)) {
    return "implied volatility is missing or not a number";
  }
  if (contract->impliedVol <= 0) return "implied volatility is not above 0";
  // The volume is optional, so only a missing or null member means none.
  const json::Node volume = json::Member(entry, "volume");
  if (volume.IsNull()) return nullptr;
  if (!json::MemberNumber(entry, "volume", &contract->volume)) return "volume is not a number";
  if (contract->volume < 0) return "negative volume";
  return nullptr;
}

// The offset just past the object or array opening at `at`, which the parser has read as
// complete; strings are passed over with their escapes, so a brace inside one does not count.
size_t EndOfContainer(std::string_view text, size_t at) {
  int depth = 0;
  for (size_t i = at; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      for (++i; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\') ++i;
      }
    } else if (c == '{' || c == '[') {
      ++depth;
    } else if ((c == '}' || c == ']') && --depth == 0) {
      return i + 1;
    }
  }
  return text.size();
}

// The parser reads the first value and ignores what follows it; a chain file that goes on
// after its document is two files run together, or a broken one. False with a message then.
bool EndsWithTheDocument(std::string_view text, std::string* error) {
  const size_t start = text.find('{');
  size_t at = EndOfContainer(text, start);
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) {
    ++at;
  }
  if (at == text.size()) return true;
  size_t line = 1;
  for (size_t i = 0; i < at; ++i) line += text[i] == '\n';
  *error = text::Format("JSON chain: more text after the end of the JSON document (line %zu)", line);
  return false;
}

// How the issues name entry `number` of `options`: "option 9 (QQQ250117C00520000)".
std::string EntryName(json::Node options, size_t number) {
  const json::Node name = json::Member(options.ElementAt(number - 1), "option");
  return name.IsString() ? text::Format("option %zu (%s)", number, name.text())
                         : text::Format("option %zu", number);
}

std::string MostFrequent(const std::map<std::string, size_t>& counts) {
  std::string best;
  size_t bestCount = 0;
  for (const auto& [name, count] : counts) {
    if (count > bestCount) {
      best = name;
      bestCount = count;
    }
  }
  return best;
}

}  // namespace

bool ReadExchangeJsonChain(std::string_view text, OptionChain* chain, std::string* error) {
  *chain = OptionChain{};
  json::Document document;
  const json::Node root = document.Parse(text) == json::ParseResult::kParsed ? document.Root() : json::Node();
  if (!root.IsObject()) {
    *error = "JSON chain: not a JSON object";
    return false;
  }
  if (!EndsWithTheDocument(text, error)) return false;
  const json::Node options = OptionsArray(root);
  if (!options) {
    *error = "JSON chain: no \"data\".\"options\" array";
    return false;
  }
  double spot = 0;
  if (json::MemberNumber(json::Member(root, "data"), "current_price", &spot) && spot > 0) {
    chain->hasSpot = true;
    chain->spot = spot;
  }
  const json::Node timestamp = json::Member(root, "timestamp");
  if (timestamp.IsString()) chain->asOfText = std::string(timestamp.text());
  std::map<std::string, size_t> underlyings;
  std::vector<ContractOrigin> origins;
  size_t number = 0;
  for (const json::Node entry : options.Elements()) {
    ++number;
    OptionContract contract;
    std::string optionRoot;
    if (const char* reason = ReadEntry(entry, &contract, &optionRoot)) {
      chain->issues.Add(EntryName(options, number), reason);
      continue;
    }
    chain->contracts.push_back(std::move(contract));
    origins.push_back({number, std::move(optionRoot)});
  }
  ScreenContracts(
      origins, [options](size_t n) { return EntryName(options, n); },
      "the \"iv\" members seem to hold percents (15 for 15 %): this form takes decimals "
      "(0.15); convert them, or write the chain as CSV with an \"iv %\" column",
      chain);
  for (const ContractOrigin& origin : origins) ++underlyings[UnderlyingOfRoot(origin.root)];
  chain->underlying = MostFrequent(underlyings);
  return true;
}

}  // namespace engine
