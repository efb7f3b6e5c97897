#include "context/fear_chart_readers.h"

#include <cmath>
#include <vector>

namespace context {
namespace {

constexpr double kSqrtTradingDays = 15.874507866387544;  // sqrt(252)

const json::Value* ObjectMember(const json::Value* object, const char* key) {
  if (!object || object->kind != json::kObject) return nullptr;
  const json::Value* member = json::Member(*object, key);
  return member && member->kind == json::kObject ? member : nullptr;
}

const json::Value* ArrayMember(const json::Value* object, const char* key) {
  if (!object || object->kind != json::kObject) return nullptr;
  const json::Value* member = json::Member(*object, key);
  return member && member->kind == json::kArray ? member : nullptr;
}

// The first element of the array member `key` when it is an object.
const json::Value* FirstObjectOf(const json::Value* object, const char* key) {
  const json::Value* array = ArrayMember(object, key);
  if (!array || array->elements.empty()) return nullptr;
  const json::Value& first = array->elements.front();
  return first.kind == json::kObject ? &first : nullptr;
}

const json::Value* FirstChartResult(const json::Value& root) {
  return FirstObjectOf(ObjectMember(&root, "chart"), "result");
}

}  // namespace

bool VixFromChart(const json::Value& root, double* level) {
  const json::Value* meta = ObjectMember(FirstChartResult(root), "meta");
  double value = 0;
  if (!meta || !json::MemberNumber(*meta, "regularMarketPrice", &value)) return false;
  if (!std::isfinite(value) || value <= 0) return false;
  *level = value;
  return true;
}

bool RealizedVolFromChart(const json::Value& root, double* volatility) {
  const json::Value* indicators = ObjectMember(FirstChartResult(root), "indicators");
  const json::Value* closeArray = ArrayMember(FirstObjectOf(indicators, "quote"), "close");
  if (!closeArray) return false;
  std::vector<double> closes;
  closes.reserve(closeArray->elements.size());
  for (const json::Value& v : closeArray->elements) {
    if (v.kind == json::kNumber && std::isfinite(v.number) && v.number > 0) closes.push_back(v.number);
  }
  const size_t n = closes.size();
  if (n < 6) return false;
  double returns[5];
  double sum = 0;
  for (int k = 0; k < 5; ++k) {
    const size_t i = n - 5 + k;
    returns[k] = std::log(closes[i] / closes[i - 1]);
    sum += returns[k];
  }
  const double mean = sum / 5;
  double squares = 0;
  for (double r : returns) squares += (r - mean) * (r - mean);
  const double result = std::sqrt(squares / 4) * kSqrtTradingDays;
  if (!std::isfinite(result)) return false;
  *volatility = result;
  return true;
}

}  // namespace context
