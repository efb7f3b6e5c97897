// What each change sent by the chart page does to the chart, the inputs or the subgraphs, as
// the platform's own chart window and settings dialog would do it. A change that cannot be
// applied changes nothing and answers 400 with the reason.
#pragma once

#include "chart/chart_data.h"
#include "chart/input_store.h"
#include "chart/subgraph_store.h"
#include "host/study_host.h"
#include "web/form_body.h"
#include "web/page_server.h"

namespace web {

// The chart sizes the page may ask for, in pixels: below them the axes and the footer leave no
// plot, above them a frame's picture outgrows what a page should hold.
inline constexpr int kMinChartWidth = 320;
inline constexpr int kMinChartHeight = 200;
inline constexpr int kMaxChartWidth = 7680;
inline constexpr int kMaxChartHeight = 4320;

// Reads a press from fields x and y: whole pixels inside a `width` x `height` picture.
// 400 when either is missing, not a whole number or outside the picture.
Reply ReadPress(const FormFields& fields, int width, int height, host::PointerEvent* press);

// Sets the input labelled by field `label` to field `value` (chart::SetInputFromText within
// chart::DialogLimits: numbers within the declared range, a service URL where one belongs).
// 400 with the reason for an unknown label, a missing field or a value the input does not take.
Reply ApplyInputChange(chart::InputStore& inputs, const FormFields& fields);

// Sets the user's colour of subgraph `number` to `colour` ("#rrggbb"). 400 for a subgraph the
// study does not declare or a colour of another shape.
Reply ApplyColourChange(chart::SubgraphStore& subgraphs, const FormFields& fields);

// Reads the chart's size from fields width and height: whole pixels within kMinChartWidth x
// kMinChartHeight .. kMaxChartWidth x kMaxChartHeight. 400 naming those bounds otherwise.
Reply ReadChartSize(const FormFields& fields, int* width, int* height);

// Scrolls or zooms to the bars `first` .. `last` (chart::ShowBars) and, as dragging the price
// axis does, sets the price scale to fields `low` .. `high` or, with fit=1, fits it to the bars
// again (neither: the scale stays). 400, with nothing changed, for a missing or non-whole bar
// number, `last` before `first`, a chart without bars, only one of low and high, low not below
// high, a price that is not a finite number, or fit with another value or with low or high.
Reply ApplyViewChange(chart::ChartData& chart, const FormFields& fields);

}  // namespace web
