// One `ordinel chart` run: the chart host with the study, a libcurl transport (routed to the
// sample service when it runs in-process), and the calls that bring the map, the fear inputs
// and the user's clicks onto the chart.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/chart_host.h"
#include "chart/clock.h"
#include "transport/curl_transport.h"
#include "platform/services.h"

namespace cli {

// The sample session's moment (2025-01-02 10:45 New York), when the sample map was taken.
inline constexpr double kSampleSessionTime = 1735832700;
// Virtual seconds between two calls while the map loads.
inline constexpr double kLoadCallStep = 5;
// At most this many calls bring the map and the fear inputs.
inline constexpr int kMaxLoadCalls = 40;

// Which of the study's requests a URL is.
enum class RequestRole { kLevels, kVix, kQqq, kOther };
RequestRole RoleOfUrl(const std::string& url);

// How loading went: what arrived and what did not.
struct LoadOutcome {
  bool levelsAnswered = false;
  long levelsStatus = 0;
  bool levelsEmpty = false;  // the answer had no body, which the study takes for no answer
  bool vixAnswered = false;
  bool qqqAnswered = false;
  std::string levelsError;         // why the levels request got no answer
  std::vector<std::string> notes;  // chart requests that got no answer, and why
};

class ChartSession {
 public:
  // Requires: `clock` and `services` outlive the session; `study` stays callable.
  ChartSession(chart::ChartData chart, chart::StudyFunction study, chart::Clock& clock,
               transport::CurlTransportOptions transport, platform::Services& services);

  chart::ChartHost& Host() { return host_; }
  const chart::ChartHost& Host() const { return host_; }
  // The transfers of the study's requests, for what a live view shows about them.
  const transport::CurlTransport& Transport() const { return transport_; }

  // The declaration call.
  void Declare();
  // Ordinary calls until the levels answer and, when the study asks for them, both fear
  // inputs have been delivered and the study sends nothing more; waits in real time for each
  // transfer. With a virtual clock each call moves it on by kLoadCallStep (past the study's
  // own timeout after a transfer failed or an answer came without a body, so that the study
  // says what it makes of it). Stops early when the levels request fails, and after a few
  // calls in which the study sends nothing at all.
  LoadOutcome Load();
  // One call carrying the press on the first text containing `text` (chart::PressOnText), then
  // calls until the study sends nothing more. False with `*error` when no text contains it.
  bool Click(const std::string& text, std::string* error);
  // One ordinary call, for live runs; `pointer` (none by default) is seen by this call only.
  void Call(host::PointerEvent pointer = {});
  // The removal call.
  void Remove();

 private:
  LoadOutcome Settle(host::PointerEvent first, bool needLevels);
  // Waits for the latest transfer to end; false when it is still in flight at the deadline.
  bool WaitForTransfer(transport::TransferRecord* last);
  void Advance(double seconds);

  chart::StudyFunction study_;
  chart::Clock& clock_;
  std::chrono::milliseconds transferBound_;
  transport::CurlTransport transport_;
  chart::ChartHost host_;
};

// True when both lists hold the same drawings in the same order, field by field.
bool SameDrawings(const std::vector<host::DrawingRequest>& a, const std::vector<host::DrawingRequest>& b);

}  // namespace cli
