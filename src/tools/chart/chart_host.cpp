#include "chart/chart_host.h"

#include <optional>
#include <utility>

namespace chart {
namespace {

// A study must not throw across the host boundary; if one does, the platform says so in the
// message log rather than going down with it.
constexpr const char* kStudyThrewText = "Chart host: the study function ended with an exception.";

int ClampToPointer(int value) { return value < -32768 ? -32768 : (value > 32767 ? 32767 : value); }

}  // namespace

bool PressOnText(const ChartHost& host, std::string_view text, host::PointerEvent* press) {
  const host::DrawingRequest* target = host.Drawings().FirstTextContaining(text);
  if (!target) return false;
  const ChartData& chart = host.Chart();
  const bool rightAligned = (target->alignment & 3) == host::kAlignRight;
  const int x = BarX(chart, target->beginBar) + (rightAligned ? -kTextPressInset : kTextPressInset);
  const int y = target->relativeVertical ? PercentToY(chart.region, target->beginValue)
                                         : PriceToY(chart, target->beginValue);
  *press = {host::kPointerPress, ClampToPointer(x), ClampToPointer(y)};
  return true;
}

ChartHost::ChartHost(ChartData chart, const Clock& clock, transport::HttpTransport& transport,
                     platform::Services& services)
    : chart_(std::move(chart)), clock_(clock), transport_(transport), services_(&services) {}

ChartHost::ChartHost(ChartData chart, const Clock& clock, transport::HttpTransport& transport)
    : chart_(std::move(chart)), clock_(clock), transport_(transport), services_(nullptr) {}

void ChartHost::DeclarationCall(StudyFunction study) { Run(study, CallKind::kDeclaration, {}); }

void ChartHost::OrdinaryCall(StudyFunction study, host::PointerEvent pointer) {
  Run(study, CallKind::kOrdinary, pointer);
}

void ChartHost::RemovalCall(StudyFunction study) {
  Run(study, CallKind::kRemoval, {});
  pointers_.clear();
}

void ChartHost::Run(StudyFunction study, CallKind kind, host::PointerEvent pointer) {
  // An answer that arrived since the last call is handed over now.
  if (std::optional<std::string> answer = transport_.TakeAnswer()) delivered_ = std::move(*answer);
  call_ = kind;
  pointer_ = pointer;
  try {
    if (study) study(*this);
  } catch (...) {
    log_.push_back({kStudyThrewText, true});
  }
  call_ = CallKind::kNone;
  pointer_ = {};
}

void ChartHost::DeclareStudy(const host::StudyDeclaration& study) { study_ = study; }

void ChartHost::DeclareInput(int slot, const host::InputDeclaration& input) { inputs_.Declare(slot, input); }

void ChartHost::DeclareSubgraph(int number, const host::SubgraphDeclaration& subgraph) {
  subgraphs_.Declare(number, subgraph);
}

int ChartHost::ReadInputInt(int slot) const { return inputs_.ReadInt(slot); }

double ChartHost::ReadInputFloat(int slot) const { return inputs_.ReadFloat(slot); }

std::string ChartHost::ReadInputText(int slot) const { return inputs_.ReadText(slot); }

bool ChartHost::SetStudyInputInt(int chartNumber, int studyId, int slot, int value) {
  if (chartNumber != kChartNumber || studyId != kStudyId) return false;
  return inputs_.StoreInt(slot, value);
}

bool ChartHost::SetStudyInputText(int chartNumber, int studyId, int slot, const std::string& text) {
  if (chartNumber != kChartNumber || studyId != kStudyId) return false;
  return inputs_.StoreText(slot, text);
}

host::Rgb ChartHost::SubgraphColour(int number) const { return subgraphs_.Colour(number); }

void ChartHost::SetSubgraphValue(int number, int bar, float value) {
  subgraphs_.SetValue(number, bar, value, BarCount());
}

void* ChartHost::PersistentPointer(int slot) const {
  auto it = pointers_.find(slot);
  return it == pointers_.end() ? nullptr : it->second;
}

void ChartHost::SetPersistentPointer(int slot, void* pointer) { pointers_[slot] = pointer; }

const Bar* ChartHost::BarAt(int bar) const {
  if (bar < 0 || bar >= BarCount()) return nullptr;
  return &chart_.bars[static_cast<size_t>(bar)];
}

double ChartHost::BarClose(int bar) const {
  const Bar* b = BarAt(bar);
  return b ? b->close : 0;
}

double ChartHost::BarHigh(int bar) const {
  const Bar* b = BarAt(bar);
  return b ? b->high : 0;
}

double ChartHost::BarLow(int bar) const {
  const Bar* b = BarAt(bar);
  return b ? b->low : 0;
}

void ChartHost::LogMessage(const std::string& text, bool show) { log_.push_back({text, show}); }

bool ChartHost::SubmitDrawing(const host::DrawingRequest& request) {
  if (request.chartNumber != kChartNumber) return false;  // not this chart
  drawings_.Submit(request);
  return true;
}

void ChartHost::DeleteDrawing(int chartNumber, int selector, int lineNumber) {
  if (chartNumber != kChartNumber) return;
  drawings_.Delete(selector, lineNumber);
}

bool ChartHost::HttpRequest(const std::string& url) { return StartRequest({Now(), url, std::nullopt, {}}); }

bool ChartHost::HttpRequestWithBody(const std::string& url, const std::string& body,
                                    const host::HttpHeaders& headers) {
  return StartRequest({Now(), url, body, headers});
}

bool ChartHost::StartRequest(transport::HttpRequestRecord request) {
  if (!transport_.Start(request)) return false;
  delivered_.clear();  // the slot waits for this request's answer now
  requests_.push_back(std::move(request));
  return true;
}

void ChartHost::RaiseAlert(int number, int bar, const std::string& text) {
  alerts_.push_back({number, bar, text});
}

std::string ChartHost::FormatPrice(double price) const { return FormatPriceForTick(price, chart_.tickSize); }

}  // namespace chart
