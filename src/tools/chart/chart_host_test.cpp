#include "chart/chart_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "platform/posix/posix_services.h"

namespace chart {
namespace {

// The tiny study the host calls: each test says what one call does.
std::function<void(host::StudyHost&)> gCallBody;
void TestStudy(host::StudyHost& sc) {
  if (gCallBody) gCallBody(sc);
}

class ChartHostTest : public ::testing::Test {
 protected:
  ChartHostTest() : host(DefaultChart(), clock, transport, platform::DefaultServices()) {}
  void TearDown() override { gCallBody = nullptr; }

  // Runs one ordinary call and returns what the study saw in the delivery slot.
  std::string CallSeeingBody(const std::function<void(host::StudyHost&)>& body = nullptr) {
    std::string seen;
    gCallBody = [&](host::StudyHost& sc) {
      seen = sc.HttpResponseBody();
      if (body) body(sc);
    };
    host.OrdinaryCall(TestStudy);
    return seen;
  }

  VirtualClock clock{1735741800};
  transport::ScriptedTransport transport;
  ChartHost host;
};

TEST_F(ChartHostTest, DeliverySlotEmptyUntilTheAnswerArrivesAndEmptiedByANewRequest) {
  auto get = [](const char* url) { return [url](host::StudyHost& sc) { sc.HttpRequest(url); }; };
  EXPECT_EQ(CallSeeingBody(get("https://a/levels")), "");
  EXPECT_EQ(CallSeeingBody(), "") << "no answer yet";
  ASSERT_TRUE(transport.Answer("{\"a\":1}"));
  EXPECT_EQ(host.HttpResponseBody(), "") << "delivered only on the next call";
  EXPECT_EQ(CallSeeingBody(), "{\"a\":1}");
  EXPECT_EQ(CallSeeingBody(), "{\"a\":1}") << "stays until a new request";
  std::string afterNewRequest = "unset";
  CallSeeingBody([&](host::StudyHost& sc) {
    sc.HttpRequest("https://a/vix");
    afterNewRequest = sc.HttpResponseBody();
  });
  EXPECT_EQ(afterNewRequest, "");
  EXPECT_EQ(CallSeeingBody(), "");
  ASSERT_TRUE(transport.Answer("vix"));
  EXPECT_FALSE(transport.Answer("again")) << "nothing pending any more";
  EXPECT_EQ(CallSeeingBody(), "vix");
}

TEST_F(ChartHostTest, RequestsAreRecordedWithTimeBodyAndHeaders) {
  CallSeeingBody([](host::StudyHost& sc) {
    sc.HttpRequestWithBody("https://a/levels", "{}", {{"Content-Type", "application/json"}});
  });
  clock.Set(1735741900);
  CallSeeingBody([](host::StudyHost& sc) { sc.HttpRequest("https://a/vix"); });
  ASSERT_EQ(host.Requests().size(), 2u);
  EXPECT_EQ(host.Requests()[0].time, 1735741800);
  EXPECT_EQ(host.Requests()[0].body, "{}");
  EXPECT_EQ(host.Requests()[0].headers, (host::HttpHeaders{{"Content-Type", "application/json"}}));
  EXPECT_EQ(host.Requests()[1].time, 1735741900);
  EXPECT_FALSE(host.Requests()[1].body.has_value());
}

// The flags say which call it is, a pointer event comes only with the call that carries it, and
// the persistent pointer lives from the ordinary call that sets it to the removal call.
TEST_F(ChartHostTest, CallFlagsPointerEventsAndPersistentPointerLifetime) {
  int state = 0;
  std::vector<std::pair<bool, bool>> flags;
  std::vector<void*> pointers;
  std::vector<std::string> presses;  // code@x,y
  gCallBody = [&](host::StudyHost& sc) {
    flags.emplace_back(sc.IsDeclarationCall(), sc.IsRemovalCall());
    pointers.push_back(sc.PersistentPointer(1));
    const host::PointerEvent p = sc.Pointer();
    presses.push_back(std::to_string(p.code) + "@" + std::to_string(p.x) + "," + std::to_string(p.y));
    if (!sc.IsDeclarationCall() && !sc.PersistentPointer(1)) sc.SetPersistentPointer(1, &state);
  };
  host.DeclarationCall(TestStudy);
  host.OrdinaryCall(TestStudy, {1, 130, 47});
  host.OrdinaryCall(TestStudy);
  host.RemovalCall(TestStudy);
  host.OrdinaryCall(TestStudy);
  EXPECT_EQ(flags, (std::vector<std::pair<bool, bool>>{
                       {true, false}, {false, false}, {false, false}, {false, true}, {false, false}}));
  EXPECT_EQ(pointers, (std::vector<void*>{nullptr, nullptr, &state, &state, nullptr}));
  EXPECT_EQ(presses, (std::vector<std::string>{"0@0,0", "1@130,47", "0@0,0", "0@0,0", "0@0,0"}));
  EXPECT_EQ(host.Pointer().code, 0) << "outside any call";
}

TEST_F(ChartHostTest, DrawingsKeepTheirLineNumbersAndStayAfterRemoval) {
  gCallBody = [](host::StudyHost& sc) {
    host::DrawingRequest d = sc.NewDrawingRequest();
    d.chartNumber = sc.ChartNumber();
    d.lineNumber = 71000;
    d.beginValue = 21600;
    EXPECT_TRUE(sc.SubmitDrawing(d));
    d.lineNumber = 71001;
    d.chartNumber = sc.ChartNumber() + 1;
    EXPECT_FALSE(sc.SubmitDrawing(d)) << "another chart";
  };
  host.OrdinaryCall(TestStudy);
  gCallBody = nullptr;
  host.RemovalCall(TestStudy);
  EXPECT_EQ(host.Drawings().Size(), 1u) << "the study deletes its own drawings";
}

TEST_F(ChartHostTest, PressOnTextLandsInsideTheFirstMatchingTextsAnchor) {
  const auto text = [](int line, int bar, double height, bool relative, int alignment, const char* words) {
    host::DrawingRequest d;
    d.chartNumber = kChartNumber;
    d.lineNumber = line;
    d.kind = host::DrawingKind::kText;
    d.beginBar = bar;
    d.beginValue = height;
    d.relativeVertical = relative;
    d.alignment = alignment;
    d.text = words;
    return d;
  };
  gCallBody = [&](host::StudyHost& sc) {
    sc.SubmitDrawing(text(71400, 100, 97, true, 0, "[Fold] Alpha"));
    sc.SubmitDrawing(text(71300, 150, 50, true, host::kAlignRight, "Also right"));
    sc.SubmitDrawing(text(71500, 120, 21500, false, 0, "Gamma at a price"));
    sc.SubmitDrawing(text(71600, 10000, 97, true, 0, "Far away"));
  };
  host.OrdinaryCall(TestStudy);
  struct Case {
    const char* text;
    bool found;
    host::PointerEvent press;
  };
  // Bar 100 is the first visible: x = 0 + 0 * 8 + 4; height 97 is row 620 - 600 * 0.97. The
  // flat bars give prices the middle row.
  const Case cases[] = {
      {"Fold", true, {host::kPointerPress, 7, 38}},
      {"Al", true, {host::kPointerPress, 401, 320}},  // line 71300 comes first; 3 pixels left
      {"Gamma", true, {host::kPointerPress, 167, 320}},
      {"Far", true, {host::kPointerPress, 32767, 38}},
      {"Nowhere", false, {}},
  };
  for (const Case& c : cases) {
    host::PointerEvent press;
    EXPECT_EQ(PressOnText(host, c.text, &press), c.found) << c.text;
    EXPECT_EQ(press.code, c.press.code) << c.text;
    EXPECT_EQ(press.x, c.press.x) << c.text;
    EXPECT_EQ(press.y, c.press.y) << c.text;
  }
}

TEST_F(ChartHostTest, SetStudyInputNeedsThisChartAndStudy) {
  host::InputDeclaration state;
  state.label = "Panel state (managed by the panel buttons)";
  state.kind = host::InputKind::kText;
  host.DeclareInput(69, state);
  EXPECT_FALSE(host.SetStudyInputText(kChartNumber + 1, kStudyId, 69, "x"));
  EXPECT_FALSE(host.SetStudyInputText(kChartNumber, kStudyId + 1, 69, "x"));
  EXPECT_EQ(host.ReadInputText(69), "");
  EXPECT_TRUE(host.SetStudyInputText(kChartNumber, kStudyId, 69, "t1c0h0s0l0z0C0Z0"));
  EXPECT_EQ(host.ReadInputText(69), "t1c0h0s0l0z0C0Z0");
}

TEST_F(ChartHostTest, SubgraphValuesGrowWithTheBarsAndColourEditsWin) {
  host.DeclareSubgraph(0, {"Call Wall", 5, {115, 240, 176}, 1});
  host.SetSubgraphValue(0, 199, 21600.0f);
  host.SetSubgraphValue(0, 200, 1.0f);  // beyond the bars: ignored
  host.SetSubgraphValue(44, 10, 1.0f);  // no such subgraph
  AppendBars(&host.Chart(), FlatBars(1, 21500));
  host.SetSubgraphValue(0, 200, 21625.0f);
  EXPECT_EQ(host.Subgraphs().ValueAt(0, 199), 21600.0f);
  EXPECT_EQ(host.Subgraphs().ValueAt(0, 200), 21625.0f);
  EXPECT_EQ(host.Subgraphs().ValueAt(0, 5), 0.0f);
  EXPECT_EQ(host.SubgraphColour(0), (host::Rgb{115, 240, 176}));
  ASSERT_TRUE(host.Subgraphs().SetUserColour(0, {10, 200, 30}));
  host.DeclareSubgraph(0, {"Call Wall", 5, {115, 240, 176}, 1});
  EXPECT_EQ(host.SubgraphColour(0), (host::Rgb{10, 200, 30}));
  EXPECT_EQ(host.SubgraphColour(43), (host::Rgb{0, 0, 0})) << "never declared";
}

TEST_F(ChartHostTest, AStudyThatThrowsIsLoggedNotFatal) {
  gCallBody = [](host::StudyHost&) { throw std::runtime_error("boom"); };
  host.OrdinaryCall(TestStudy);
  ASSERT_EQ(host.Log().size(), 1u);
  EXPECT_TRUE(host.Log()[0].show);
  EXPECT_FALSE(host.IsDeclarationCall());
}

TEST_F(ChartHostTest, BarsOutsideTheChartReadAsZero) {
  EXPECT_EQ(host.BarClose(199), 21500);
  EXPECT_EQ(host.BarClose(200), 0);
  EXPECT_EQ(host.BarHigh(-1), 0);
  EXPECT_EQ(host.AlertBarIndex(), 199);
}

}  // namespace
}  // namespace chart
