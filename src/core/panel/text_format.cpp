#include "panel/text_format.h"

#include <cmath>

#include "text/format.h"

namespace panel {
namespace {

constexpr double kBillion = 1e9;
constexpr double kMillion = 1e6;
constexpr double kThousand = 1e3;
constexpr double kSameStrike = 0.000001;

}  // namespace

std::string FormatMoney(const OptionalMoney& money) {
  if (!money.has || !std::isfinite(money.value)) return "n/a";
  // Zero counts as a gain so that an empty book reads "+$0".
  const char* sign = money.value >= 0 ? "+" : "-";
  const double a = std::fabs(money.value);
  // The thresholds test the unrounded amount: 999.6 stays in dollars and prints "+$1000".
  if (a >= kBillion) return text::Format("%s$%sB", sign, text::FixedPoint(a / kBillion, 1));
  if (a >= kMillion) return text::Format("%s$%.1fM", sign, a / kMillion);
  if (a >= kThousand) return text::Format("%s$%.1fk", sign, a / kThousand);
  return text::Format("%s$%.0f", sign, a);
}

std::string FormatExposureSuffix(const payload::StrikeTable& pairs, double price, std::string_view name) {
  const payload::StrikeValue* pair = pairs.FindNear(price, kSameStrike);
  if (pair == nullptr) return "";
  const double v = pair->value;
  if (std::fabs(v) >= kBillion) return text::Format(" %s %sB", name, text::FixedPoint(v / kBillion, 1));
  return text::Format(" %s %.2fM", name, v / kMillion);
}

std::string FormatPriceText(const host::StudyHost& sc, double price) {
  // The chart's format stays readable only for prices an instrument can have.
  constexpr double kLargestChartPrice = 1e15;
  if (std::fabs(price) >= kLargestChartPrice) return text::FixedPoint(price, 2);
  std::string text = sc.FormatPrice(price);
  if (text.empty()) text = text::Format("%.2f", price);
  return text;
}

std::string FormatContracts(double count) {
  const double a = std::fabs(count);
  if (a >= kMillion) return text::Format("%sM contracts", text::FixedPoint(a / kMillion, 1));
  if (a >= kThousand) return text::Format("%.1fk contracts", a / kThousand);
  return text::Format("%.0f contracts", a);
}

}  // namespace panel
