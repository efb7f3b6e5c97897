#include "web/frame_readouts.h"

#include <algorithm>
#include <cmath>

#include "render/price_scale.h"
#include "text/format.h"
#include "web/page_frame.h"

namespace web {
namespace {

void WriteScale(jsonout::JsonWriter& w, const render::PriceScale& scale, bool fitted) {
  w.Key("priceScale");
  w.BeginObject();
  w.Key("top");
  w.Int(scale.top);
  w.Key("bottom");
  w.Int(scale.bottom);
  w.Key("high");
  w.Number(scale.high);
  w.Key("low");
  w.Number(scale.low);
  w.Key("fitted");
  w.Bool(fitted);
  w.EndObject();
}

void WriteVisibleBars(jsonout::JsonWriter& w, const chart::ChartData& chart, platform::Services& zone) {
  w.Key("bars");
  w.BeginArray();
  const int first = std::max(chart.visible.first, 0);
  const int last = std::min(chart.visible.last, static_cast<int>(chart.bars.size()) - 1);
  for (int i = first; i <= last; ++i) {
    const chart::Bar& bar = chart.bars[static_cast<size_t>(i)];
    w.BeginArray();
    w.String(chart::HasTime(bar) ? NewYorkTimeText(bar.time, zone) : "");
    for (const double price : {bar.open, bar.high, bar.low, bar.close}) w.Number(price);
    w.EndArray();
  }
  w.EndArray();
}

void WriteLevels(jsonout::JsonWriter& w, const std::vector<host::DrawingRequest>& drawings) {
  w.Key("levels");
  w.BeginArray();
  for (const host::DrawingRequest& d : drawings) {
    if (d.kind != host::DrawingKind::kHorizontalLine || d.text.empty() || !std::isfinite(d.beginValue))
      continue;
    w.BeginObject();
    w.Key("name");
    w.String(d.text);
    w.Key("price");
    w.Number(d.beginValue);
    w.Key("colour");
    w.String(text::Format("#%02x%02x%02x", d.colour.r, d.colour.g, d.colour.b));
    w.EndObject();
  }
  w.EndArray();
}

}  // namespace

void WriteReadouts(jsonout::JsonWriter& w, const chart::ChartData& chart,
                   const std::vector<host::DrawingRequest>& drawings, platform::Services& zone) {
  WriteScale(w, render::FitPriceScale(chart, drawings), !chart.priceScale.has_value());
  w.Key("priceDecimals");
  w.Int(chart::PriceDecimals(chart.tickSize));
  WriteVisibleBars(w, chart, zone);
  w.Key("lastPrice");
  if (chart.bars.empty()) {
    w.Null();
  } else {
    w.Number(chart.bars.back().close);
  }
  WriteLevels(w, drawings);
}

}  // namespace web
