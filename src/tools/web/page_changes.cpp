#include "web/page_changes.h"

#include <climits>
#include <cmath>
#include <optional>

#include "chart/dialog_limits.h"
#include "text/format.h"

namespace web {
namespace {

Reply Refuse(std::string text) { return {400, std::move(text)}; }

// The field `name` as a whole number within [min, max].
bool WholeField(const FormFields& fields, const char* name, long long min, long long max, long long* out) {
  const std::optional<std::string> text = FormValue(fields, name);
  double number = 0;
  if (!text || text->empty() || text::ParseDouble(*text, &number) != text->size()) return false;
  if (!std::isfinite(number) || number != std::floor(number) || number < double(min) || number > double(max))
    return false;
  *out = static_cast<long long>(number);
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ReadColour(const std::string& text, host::Rgb* out) {
  if (text.size() != 7 || text[0] != '#') return false;
  int parts[3];
  for (int i = 0; i < 3; ++i) {
    const int high = HexDigit(text[1 + 2 * i]);
    const int low = HexDigit(text[2 + 2 * i]);
    if (high < 0 || low < 0) return false;
    parts[i] = high * 16 + low;
  }
  *out = {static_cast<uint8_t>(parts[0]), static_cast<uint8_t>(parts[1]), static_cast<uint8_t>(parts[2])};
  return true;
}

// The price scale a view change asks for: fit (field fit=1: back to fitting the bars), the
// user's prices (fields low and high), or, with none of them, the scale as it is.
bool ReadScale(const FormFields& fields, std::optional<std::optional<chart::PriceRange>>* out) {
  const std::optional<std::string> fit = FormValue(fields, "fit");
  const std::optional<std::string> low = FormValue(fields, "low");
  const std::optional<std::string> high = FormValue(fields, "high");
  if (fit) {
    if (*fit != "1" || low || high) return false;
    *out = std::optional<chart::PriceRange>();
    return true;
  }
  if (!low && !high) return true;
  chart::PriceRange range;
  if (!low || !high || low->empty() || high->empty() || text::ParseDouble(*low, &range.low) != low->size() ||
      text::ParseDouble(*high, &range.high) != high->size()) {
    return false;
  }
  chart::ChartData probe;
  if (!chart::ScalePrices(&probe, range.low, range.high)) return false;
  *out = range;
  return true;
}

}  // namespace

Reply ReadPress(const FormFields& fields, int width, int height, host::PointerEvent* press) {
  long long x = 0;
  long long y = 0;
  if (!WholeField(fields, "x", 0, width - 1, &x) || !WholeField(fields, "y", 0, height - 1, &y)) {
    return Refuse(
        text::Format("a press needs x and y as whole pixels inside the %dx%d chart", width, height));
  }
  *press = {host::kPointerPress, static_cast<int>(x), static_cast<int>(y)};
  return {200, "pressed"};
}

Reply ReadChartSize(const FormFields& fields, int* width, int* height) {
  long long w = 0;
  long long h = 0;
  if (!WholeField(fields, "width", kMinChartWidth, kMaxChartWidth, &w) ||
      !WholeField(fields, "height", kMinChartHeight, kMaxChartHeight, &h)) {
    return Refuse(text::Format("a chart size needs width and height as whole pixels from %dx%d to %dx%d",
                               kMinChartWidth, kMinChartHeight, kMaxChartWidth, kMaxChartHeight));
  }
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return {200, "sized"};
}

Reply ApplyInputChange(chart::InputStore& inputs, const FormFields& fields) {
  const std::optional<std::string> label = FormValue(fields, "label");
  const std::optional<std::string> value = FormValue(fields, "value");
  if (!label || !value) return Refuse("a settings change needs label and value");
  std::string error;
  if (!chart::SetInputFromText(inputs, *label, *value, chart::DialogLimits(), &error)) return Refuse(error);
  return {200, "applied"};
}

Reply ApplyColourChange(chart::SubgraphStore& subgraphs, const FormFields& fields) {
  long long number = 0;
  host::Rgb colour;
  const std::optional<std::string> text = FormValue(fields, "colour");
  if (!WholeField(fields, "number", 0, chart::kSubgraphCount - 1, &number) ||
      !subgraphs.Find(static_cast<int>(number))) {
    return Refuse("the study declares no such subgraph");
  }
  if (!text || !ReadColour(*text, &colour)) return Refuse("a colour is written #rrggbb");
  subgraphs.SetUserColour(static_cast<int>(number), colour);
  return {200, "applied"};
}

Reply ApplyViewChange(chart::ChartData& chart, const FormFields& fields) {
  long long first = 0;
  long long last = 0;
  if (!WholeField(fields, "first", INT_MIN / 2, INT_MAX / 2, &first) ||
      !WholeField(fields, "last", INT_MIN / 2, INT_MAX / 2, &last)) {
    return Refuse("a view needs first and last as whole bar numbers");
  }
  std::optional<std::optional<chart::PriceRange>> scale;
  if (!ReadScale(fields, &scale)) {
    return Refuse("a price scale needs low below high as finite numbers, or fit=1 alone");
  }
  if (!chart::ShowBars(&chart, static_cast<int>(first), static_cast<int>(last))) {
    return Refuse("no bars to show from first to last");
  }
  if (scale) chart.priceScale = *scale;
  return {200, "shown"};
}

}  // namespace web
