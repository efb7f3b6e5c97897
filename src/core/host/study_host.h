// The host's side of the study: every platform operation the study uses, named by role.
// The study sees the world only through this interface and the platform services.
// All members are called on the host's calling thread unless a line says otherwise.
// The interface only grows by appending.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/declarations.h"
#include "host/drawing_request.h"

namespace platform {
class Services;
}

namespace host {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct BarRange {
  int first = 0;
  int last = 0;
};

// Pixel edges of the price graph region.
struct RegionBounds {
  int top = 0;
  int bottom = 0;
  int left = 0;
  int right = 0;
};

// Pointer event codes the host passes with a call.
inline constexpr int kPointerNone = 0;
inline constexpr int kPointerPress = 1;  // a button press at (x, y)
inline constexpr int kPointerOther = 2;  // 2 and 3: other pointer events, which end the call
inline constexpr int kPointerOtherLast = 3;

// Selectors of DeleteDrawing.
inline constexpr int kDeleteLineNumber = 0;  // the one drawing with that line number
inline constexpr int kDeleteAll = -1;        // with line number 0: every drawing of the study

// The only alert number the study raises.
inline constexpr int kStudyAlertNumber = 1;

// A pointer event that came with the current call; code kPointerNone when there is none.
struct PointerEvent {
  int code = kPointerNone;
  int x = 0;
  int y = 0;
};

class StudyHost {
 public:
  virtual ~StudyHost() = default;

  // True on the one call where the study declares itself; nothing else is read then.
  virtual bool IsDeclarationCall() const = 0;
  // True on the last call before the study is removed.
  virtual bool IsRemovalCall() const = 0;

  // Declaration call: study name, description, graph region and host settings.
  virtual void DeclareStudy(const StudyDeclaration& study) = 0;
  // Declaration call: input at `slot`; its value persists with the chart.
  virtual void DeclareInput(int slot, const InputDeclaration& input) = 0;
  // Declaration call: subgraph `number` (0-43).
  virtual void DeclareSubgraph(int number, const SubgraphDeclaration& subgraph) = 0;

  // Yes/no as 0/1, integer as itself, choice as its 0-based index (also beyond its list),
  // float truncated, text 0.
  virtual int ReadInputInt(int slot) const = 0;
  // Float and integer inputs as numbers; yes/no and choice as their integer.
  virtual double ReadInputFloat(int slot) const = 0;
  // A text input's text; any other kind reads as "Unset".
  virtual std::string ReadInputText(int slot) const = 0;
  // Stores a value into an input of a study; true when the study and slot exist.
  virtual bool SetStudyInputInt(int chartNumber, int studyId, int slot, int value) = 0;
  virtual bool SetStudyInputText(int chartNumber, int studyId, int slot, const std::string& text) = 0;

  // The user's current primary colour of subgraph `number`; user edits show on the next call.
  virtual Rgb SubgraphColour(int number) const = 0;
  // Writes one value of subgraph `number` at `bar`; ignored outside 0 .. bar count - 1.
  virtual void SetSubgraphValue(int number, int bar, float value) = 0;

  // The persistent pointer of `slot` (the study uses slot 1); survives between calls.
  virtual void* PersistentPointer(int slot) const = 0;
  virtual void SetPersistentPointer(int slot, void* pointer) = 0;

  // The chart the study runs on; passed back with SetStudyInput* and DeleteDrawing.
  virtual int ChartNumber() const = 0;
  // This study instance's identifier on its chart; passed back with SetStudyInput*.
  virtual int StudyId() const = 0;
  // The chart's symbol as the data feed names it (any case, any decoration); may be empty.
  virtual std::string ChartSymbol() const = 0;
  // The chart's price increment; may be 0 or non-finite on a broken chart.
  virtual double TickSize() const = 0;

  // Number of bars on the chart, 0 or more; bar indexes run 0 .. BarCount() - 1.
  virtual int BarCount() const = 0;
  // First and last visible bar indexes.
  virtual BarRange VisibleBars() const = 0;
  // Bar prices; Requires: 0 <= bar < BarCount().
  virtual double BarClose(int bar) const = 0;
  virtual double BarHigh(int bar) const = 0;
  virtual double BarLow(int bar) const = 0;

  // Pixel edges of the price graph region (y grows downwards); may be empty or inverted.
  virtual RegionBounds ChartRegion() const = 0;
  // Pixel column of the centre of `bar`.
  virtual int BarXCoordinate(int bar) const = 0;
  // The pointer event that came with this call (code kPointerNone when none); seen only by it.
  virtual PointerEvent Pointer() const = 0;

  // One message-log entry; `show` brings the log forward.
  virtual void LogMessage(const std::string& text, bool show) = 0;

  // A request filled with the host defaults.
  virtual DrawingRequest NewDrawingRequest() const = 0;
  // Adds the drawing, or replaces the study's drawing with the same line number.
  virtual bool SubmitDrawing(const DrawingRequest& request) = 0;
  // kDeleteLineNumber deletes `lineNumber`; kDeleteAll with line number 0 deletes all the study's
  // drawings; any other combination deletes nothing.
  virtual void DeleteDrawing(int chartNumber, int selector, int lineNumber) = 0;

  // Starts a GET; true when accepted. The answer arrives through HttpResponseBody on a later call.
  virtual bool HttpRequest(const std::string& url) = 0;
  // Starts a request carrying `body` and `headers`; true when accepted.
  virtual bool HttpRequestWithBody(const std::string& url, const std::string& body,
                                   const HttpHeaders& headers) = 0;
  // The body of the latest request's answer; empty until it has arrived. No status, no identity.
  virtual std::string HttpResponseBody() const = 0;

  // The bar index the host attaches alerts to on this call.
  virtual int AlertBarIndex() const = 0;
  // Shows `text` through the host's alert system under alert `number` at `bar`.
  virtual void RaiseAlert(int number, int bar, const std::string& text) = 0;

  // The price in the chart's price format (decimals as the tick size needs).
  virtual std::string FormatPrice(double price) const = 0;

  // Seconds since 1970 (UTC).
  virtual double Now() const = 0;
  // Operating-system services the host lends in place of the study's own (New York zone,
  // blocking HTTPS GET, detached threads); nullptr when it lends none, as the real platform,
  // and the study then uses its own. A lent object outlives every worker the study starts.
  virtual platform::Services* Platform() = 0;
};

}  // namespace host
