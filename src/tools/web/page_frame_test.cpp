#include "web/page_frame.h"

#include <gtest/gtest.h>

#include <vector>

#include "transport/http_transport.h"
#include "platform/posix/posix_services.h"

namespace web {
namespace {

host::InputDeclaration Declared(host::InputKind kind, const char* choices = "") {
  host::InputDeclaration d;
  d.label = "a";
  d.kind = kind;
  d.choices = choices;
  return d;
}

TEST(PageFrame, InputValuesReadBackAsTheDialogShowsThem) {
  struct Case {
    host::InputDeclaration declaration;
    chart::InputValue value;
    const char* text;
  };
  const Case cases[] = {
      {Declared(host::InputKind::kYesNo), {1, ""}, "Yes"},
      {Declared(host::InputKind::kInteger), {-7.9, ""}, "-7"},
      {Declared(host::InputKind::kFloat), {2.4, ""}, "2.4"},
      {Declared(host::InputKind::kText), {0, "<b>&"}, "<b>&"},
      {Declared(host::InputKind::kChoice, "Compact;Full"), {1, ""}, "Full"},
      {Declared(host::InputKind::kChoice, "Compact;Full"), {5, ""}, "5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InputValueText({c.declaration, c.value}), c.text) << c.text;
  }
}

// A hostile text from the service or an input reaches the page as a JSON string, and the frame
// is one line, as one server-sent event needs. Its escaping inside the SVG is the SVG canvas's.
TEST(PageFrame, HostileTextsStayTextOnOneLine) {
  const std::string hostile = "<img src=x onerror=alert(1)>\n\"&'";
  chart::ChartData data = chart::DefaultChart();
  chart::VirtualClock clock(1735832700);
  transport::ScriptedTransport transport;
  chart::ChartHost host(data, clock, transport, platform::DefaultServices());
  host::InputDeclaration text = Declared(host::InputKind::kText);
  text.label = hostile;
  text.defaultText = hostile;
  host.DeclareInput(0, text);
  host.DeclareSubgraph(0, {hostile, 0, {250, 0, 0}, 1});
  host::DrawingRequest label;
  label.chartNumber = chart::kChartNumber;
  label.kind = host::DrawingKind::kHorizontalLine;
  label.lineNumber = 1;
  label.beginValue = chart::kDefaultPrice;
  label.text = hostile;
  host.SubmitDrawing(label);
  host.LogMessage(hostile, true);

  const std::string frame = FrameJson(host, {7, 800, 400, clock.Now(), LevelsAnswerSeen{1735832690, 200}},
                                      platform::DefaultServices());
  EXPECT_EQ(frame.find('\n'), std::string::npos);
  EXPECT_NE(frame.find(R"("label":"<img src=x onerror=alert(1)>\u000a\"&'")"), std::string::npos)
      << frame.substr(0, 400);
  EXPECT_NE(frame.find(R"("lastAnswer":{"time":"2025-01-02 10:44:50","status":200})"), std::string::npos);
  EXPECT_NE(frame.find(R"("version":7,)"), std::string::npos);
  EXPECT_NE(frame.find(R"("visible":{"first":100,"last":199},"barCount":200)"), std::string::npos);
}

// The header shows the chart's own time, not the session's clock, and the page learns the
// prices the picture spans to scale them from.
TEST(PageFrame, ChartTimeAndPriceScale) {
  struct Case {
    const char* name;
    bool timed;
    bool userScale;
    std::vector<const char*> facts;
  };
  const Case cases[] = {
      {"bars without times",
       false,
       false,
       {R"("high":21524.94,"low":21475.06,"fitted":true},)",
        R"("chartTime":null,"clock":"2026-12-07 11:00:00")"}},
      // Five-minute bars from 2025-01-02 09:30 New York; the newest is the chart's time.
      {"timed bars and the user's scale",
       true,
       true,
       {R"("high":22000,"low":21000,"fitted":false},)",
        R"("chartTime":"2025-01-03 02:05:00","clock":"2026-12-07 11:00:00")"}},
  };
  for (const Case& c : cases) {
    chart::ChartData data = chart::DefaultChart();
    for (size_t i = 0; c.timed && i < data.bars.size(); ++i)
      data.bars[i].time = 1735828200 + 300.0 * double(i);
    if (c.userScale) data.priceScale = chart::PriceRange{21000, 22000};
    chart::VirtualClock clock(1796659200);  // 2026-12-07 11:00 New York
    transport::ScriptedTransport transport;
    chart::ChartHost host(data, clock, transport, platform::DefaultServices());
    const std::string frame =
        FrameJson(host, {1, 800, 400, clock.Now(), std::nullopt}, platform::DefaultServices());
    for (const char* fact : c.facts) EXPECT_NE(frame.find(fact), std::string::npos) << c.name << ": " << fact;
  }
}

// The settings dialog groups and annotates the inputs from the host's own owners: the section
// table and the dialog's limits.
TEST(PageFrame, InputsCarryTheirSectionAndWhatTheyTake) {
  chart::VirtualClock clock(1735832700);
  transport::ScriptedTransport transport;
  chart::ChartHost host(chart::DefaultChart(), clock, transport, platform::DefaultServices());
  host.DeclareInput(3, {"Refresh interval (seconds)", host::InputKind::kInteger, 180, "", 180, 3600, ""});
  host.DeclareInput(59, {"Panel anchor", host::InputKind::kChoice, 0, "", {}, {}, "Top left;Top right"});
  const std::string frame = FrameJson(host, {1, 800, 400, clock.Now(), {}}, platform::DefaultServices());
  const char* const fragments[] = {
      R"("value":"180","section":"Service and symbol","takes":"180 to 3600","min":180,"max":3600})",
      R"("value":"Top left","section":"Panel","takes":"Top left; Top right","choices":["Top left","Top right"]})",
      R"("sizeLimits":{"minWidth":320,"minHeight":200,"maxWidth":7680,"maxHeight":4320})",
  };
  for (const char* fragment : fragments) EXPECT_NE(frame.find(fragment), std::string::npos) << fragment;
}

}  // namespace
}  // namespace web
