#include "engine/chain_json.h"

#include <map>

#include "engine/option_symbol.h"
#include "json/json_value.h"
#include "text/format.h"

namespace engine {
namespace {

const json::Value* OptionsArray(const json::Value& root) {
  const json::Value* data = json::Member(root, "data");
  const json::Value* options = data ? json::Member(*data, "options") : nullptr;
  if (options == nullptr) options = json::Member(root, "options");
  return options != nullptr && options->kind == json::kArray ? options : nullptr;
}

// The contract of one entry, or the reason it cannot be used.
const char* ReadEntry(const json::Value& entry, OptionContract* contract, std::string* root) {
  if (entry.kind != json::kObject) return "not an object";
  const json::Value* symbolValue = json::Member(entry, "option");
  OptionSymbol symbol;
  if (symbolValue == nullptr || symbolValue->kind != json::kString ||
      !ParseOptionSymbol(symbolValue->text, &symbol)) {
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
  json::Value root;
  if (!json::ParseJson(text, &root) || root.kind != json::kObject) {
    *error = "JSON chain: not a JSON object";
    return false;
  }
  const json::Value* options = OptionsArray(root);
  if (options == nullptr) {
    *error = "JSON chain: no \"data\".\"options\" array";
    return false;
  }
  const json::Value* data = json::Member(root, "data");
  double spot = 0;
  if (data != nullptr && json::MemberNumber(*data, "current_price", &spot) && spot > 0) {
    chain->hasSpot = true;
    chain->spot = spot;
  }
  const json::Value* timestamp = json::Member(root, "timestamp");
  if (timestamp != nullptr && timestamp->kind == json::kString) chain->asOfText = timestamp->text;
  std::map<std::string, size_t> underlyings;
  for (size_t i = 0; i < options->elements.size(); ++i) {
    OptionContract contract;
    std::string optionRoot;
    if (const char* reason = ReadEntry(options->elements[i], &contract, &optionRoot)) {
      const json::Value* name = json::Member(options->elements[i], "option");
      const std::string where =
          name != nullptr && name->kind == json::kString
              ? text::Format("option %d (%s)", static_cast<long long>(i + 1), name->text)
              : text::Format("option %d", static_cast<long long>(i + 1));
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
