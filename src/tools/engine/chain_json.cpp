#include "engine/chain_json.h"

#include <map>

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
  double volume = 0;
  if (json::MemberNumber(entry, "volume", &volume) && volume > 0) contract->volume = volume;
  return nullptr;
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
  const json::Node root = document.Parse(text) == json::ParseResult::kParsed ? document.Root()
                                                                             : json::Node();
  if (!root.IsObject()) {
    *error = "JSON chain: not a JSON object";
    return false;
  }
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
  long long number = 0;
  for (const json::Node entry : options.Elements()) {
    ++number;
    OptionContract contract;
    std::string optionRoot;
    if (const char* reason = ReadEntry(entry, &contract, &optionRoot)) {
      const json::Node name = json::Member(entry, "option");
      const std::string where = name.IsString()
                                    ? text::Format("option %d (%s)", number, name.text())
                                    : text::Format("option %d", number);
      chain->issues.Add(where, reason);
      continue;
    }
    ++underlyings[UnderlyingOfRoot(optionRoot)];
    chain->contracts.push_back(std::move(contract));
  }
  chain->underlying = MostFrequent(underlyings);
  return true;
}

}  // namespace engine
