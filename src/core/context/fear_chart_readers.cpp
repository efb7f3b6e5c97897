#include "context/fear_chart_readers.h"

#include <cmath>
#include <vector>

namespace context {
namespace {

constexpr double kSqrtTradingDays = 15.874507866387544;  // sqrt(252)

// The member `key` of `object` when it is of `kind`; absent otherwise.
json::Node MemberOfKind(json::Node object, const char* key, json::Kind kind) {
  const json::Node member = json::Member(object, key);
  return member.kind() == kind ? member : json::Node();
}

// The first element of the array member `key` when it is an object.
json::Node FirstObjectOf(json::Node object, const char* key) {
  const json::Node first = MemberOfKind(object, key, json::kArray).ElementAt(0);
  return first.IsObject() ? first : json::Node();
}

json::Node FirstChartResult(json::Node root) {
  return FirstObjectOf(MemberOfKind(root, "chart", json::kObject), "result");
}

}  // namespace

bool VixFromChart(json::Node root, double* level) {
  const json::Node meta = MemberOfKind(FirstChartResult(root), "meta", json::kObject);
  double value = 0;
  if (!json::MemberNumber(meta, "regularMarketPrice", &value)) return false;
  if (!std::isfinite(value) || value <= 0) return false;
  *level = value;
  return true;
}

bool RealizedVolFromChart(json::Node root, double* volatility) {
  const json::Node indicators = MemberOfKind(FirstChartResult(root), "indicators", json::kObject);
  const json::Node closeArray = MemberOfKind(FirstObjectOf(indicators, "quote"), "close", json::kArray);
  if (!closeArray) return false;
  std::vector<double> closes;
  closes.reserve(closeArray.size());
  for (const json::Node v : closeArray.Elements()) {
    if (v.IsNumber() && std::isfinite(v.number()) && v.number() > 0) closes.push_back(v.number());
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
