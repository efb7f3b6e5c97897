// The substitute charting platform: one chart with one study instance. It frames the study's
// calls and implements every host operation over the chart, the inputs, the subgraphs, the
// drawings store, the message log, alerts, asynchronous HTTP and the clock.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_data.h"
#include "chart/clock.h"
#include "chart/drawing_store.h"
#include "transport/http_transport.h"
#include "chart/input_store.h"
#include "chart/study_library.h"
#include "chart/subgraph_store.h"
#include "host/study_host.h"

namespace chart {

struct LogEntry {
  std::string text;
  bool show = false;
};

struct AlertRecord {
  int number = 0;
  int bar = 0;
  std::string text;
};

inline constexpr int kChartNumber = 1;
inline constexpr int kStudyId = 1;
// A press on a text lands this many pixels inside its anchor.
inline constexpr int kTextPressInset = 3;

class ChartHost : public host::StudyHost {
 public:
  // Requires: `clock`, `transport` and `services` outlive the host.
  ChartHost(ChartData chart, const Clock& clock, transport::HttpTransport& transport,
            platform::Services& services);
  // A host that lends the study no services, as the real platform: the study uses its own.
  // Requires: `clock` and `transport` outlive the host.
  ChartHost(ChartData chart, const Clock& clock, transport::HttpTransport& transport);

  // The declaration call.
  void DeclarationCall(StudyFunction study);
  // One ordinary call; `pointer` (code 0 for none) is seen by this call only.
  void OrdinaryCall(StudyFunction study, host::PointerEvent pointer = {});
  // The removal call; the instance's persistent pointers are forgotten afterwards. The study's
  // drawings stay unless the study deletes them.
  void RemovalCall(StudyFunction study);

  // The platform's side: what the user changes and what the host shows.
  ChartData& Chart() { return chart_; }
  const ChartData& Chart() const { return chart_; }
  InputStore& Inputs() { return inputs_; }
  const InputStore& Inputs() const { return inputs_; }
  SubgraphStore& Subgraphs() { return subgraphs_; }
  const SubgraphStore& Subgraphs() const { return subgraphs_; }
  const DrawingStore& Drawings() const { return drawings_; }
  const host::StudyDeclaration& Study() const { return study_; }
  const std::vector<LogEntry>& Log() const { return log_; }
  const std::vector<AlertRecord>& Alerts() const { return alerts_; }
  const std::vector<transport::HttpRequestRecord>& Requests() const { return requests_; }

  // host::StudyHost
  bool IsDeclarationCall() const override { return call_ == CallKind::kDeclaration; }
  bool IsRemovalCall() const override { return call_ == CallKind::kRemoval; }
  void DeclareStudy(const host::StudyDeclaration& study) override;
  void DeclareInput(int slot, const host::InputDeclaration& input) override;
  void DeclareSubgraph(int number, const host::SubgraphDeclaration& subgraph) override;
  int ReadInputInt(int slot) const override;
  double ReadInputFloat(int slot) const override;
  std::string ReadInputText(int slot) const override;
  bool SetStudyInputInt(int chartNumber, int studyId, int slot, int value) override;
  bool SetStudyInputText(int chartNumber, int studyId, int slot, const std::string& text) override;
  host::Rgb SubgraphColour(int number) const override;
  void SetSubgraphValue(int number, int bar, float value) override;
  void* PersistentPointer(int slot) const override;
  void SetPersistentPointer(int slot, void* pointer) override;
  int ChartNumber() const override { return kChartNumber; }
  int StudyId() const override { return kStudyId; }
  std::string ChartSymbol() const override { return chart_.symbol; }
  double TickSize() const override { return chart_.tickSize; }
  int BarCount() const override { return static_cast<int>(chart_.bars.size()); }
  host::BarRange VisibleBars() const override { return chart_.visible; }
  double BarClose(int bar) const override;
  double BarHigh(int bar) const override;
  double BarLow(int bar) const override;
  host::RegionBounds ChartRegion() const override { return chart_.region; }
  int BarXCoordinate(int bar) const override { return BarX(chart_, bar); }
  host::PointerEvent Pointer() const override { return pointer_; }
  void LogMessage(const std::string& text, bool show) override;
  host::DrawingRequest NewDrawingRequest() const override { return {}; }
  bool SubmitDrawing(const host::DrawingRequest& request) override;
  void DeleteDrawing(int chartNumber, int selector, int lineNumber) override;
  bool HttpRequest(const std::string& url) override;
  bool HttpRequestWithBody(const std::string& url, const std::string& body,
                           const host::HttpHeaders& headers) override;
  std::string HttpResponseBody() const override { return delivered_; }
  int AlertBarIndex() const override { return BarCount() > 0 ? BarCount() - 1 : 0; }
  void RaiseAlert(int number, int bar, const std::string& text) override;
  std::string FormatPrice(double price) const override;
  double Now() const override { return clock_.Now(); }
  platform::Services* Platform() override { return services_; }

 private:
  enum class CallKind { kNone, kDeclaration, kOrdinary, kRemoval };
  void Run(StudyFunction study, CallKind kind, host::PointerEvent pointer);
  bool StartRequest(transport::HttpRequestRecord request);
  const Bar* BarAt(int bar) const;

  ChartData chart_;
  const Clock& clock_;
  transport::HttpTransport& transport_;
  platform::Services* services_;  // nullptr: none lent
  host::StudyDeclaration study_;
  InputStore inputs_;
  SubgraphStore subgraphs_;
  DrawingStore drawings_;
  std::map<int, void*> pointers_;
  std::vector<LogEntry> log_;
  std::vector<AlertRecord> alerts_;
  std::vector<transport::HttpRequestRecord> requests_;
  std::string delivered_;  // the delivery slot
  CallKind call_ = CallKind::kNone;
  host::PointerEvent pointer_;
};

// The press a user makes on the first text drawing (lowest line number) whose text contains
// `text`: kTextPressInset pixels right of its bar x for left-aligned text, left of it for
// right-aligned, on the pixel row of its height, clamped to the pointer's 16-bit range. False
// when no text drawing contains `text`.
bool PressOnText(const ChartHost& host, std::string_view text, host::PointerEvent* press);

}  // namespace chart
