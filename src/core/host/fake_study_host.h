// A small in-memory StudyHost for unit tests: records what the study submits and lets a test
// set only what it perturbs. Not a chart: see src/chart for the full substitute host.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/study_host.h"
#include "platform/civil_date.h"
#include "platform/services.h"
#include "text/format.h"

namespace host {

// Platform services that do nothing on their own: dates in UTC, GETs answered from a field,
// threads run inline.
class FakeServices : public platform::Services {
 public:
  platform::CivilDate NewYorkDate(double utcSeconds) override { return platform::UtcCivilDate(utcSeconds); }
  double NewYorkUtcOffsetSeconds(double) override { return 0; }
  platform::HttpGetResult HttpsGet(const std::string& url, const platform::HttpGetLimits&) override {
    getUrls.push_back(url);
    return getResult;
  }
  bool StartDetachedThread(std::function<void()> work) override {
    if (!threadsWork) return false;
    work();
    return true;
  }
  std::vector<std::string> getUrls;
  platform::HttpGetResult getResult;
  bool threadsWork = true;
};

struct FakeInput {
  InputDeclaration declaration;
  double number = 0;
  std::string text;
};

class FakeStudyHost : public StudyHost {
 public:
  bool IsDeclarationCall() const override { return declarationCall; }
  bool IsRemovalCall() const override { return removalCall; }
  void DeclareStudy(const StudyDeclaration& s) override { study = s; }
  void DeclareInput(int slot, const InputDeclaration& d) override {
    inputs[slot] = FakeInput{d, d.defaultNumber, d.defaultText};
  }
  void DeclareSubgraph(int number, const SubgraphDeclaration& d) override {
    subgraphs[number] = d;
    colours[number] = d.colour;
  }
  int ReadInputInt(int slot) const override { return static_cast<int>(ReadInputFloat(slot)); }
  double ReadInputFloat(int slot) const override {
    auto it = inputs.find(slot);
    return it == inputs.end() || it->second.declaration.kind == InputKind::kText ? 0 : it->second.number;
  }
  std::string ReadInputText(int slot) const override {
    auto it = inputs.find(slot);
    if (it == inputs.end() || it->second.declaration.kind != InputKind::kText) return "Unset";
    return it->second.text;
  }
  bool SetStudyInputInt(int, int, int slot, int value) override {
    inputs[slot].number = value;
    return true;
  }
  bool SetStudyInputText(int, int, int slot, const std::string& value) override {
    inputs[slot].text = value;
    return true;
  }
  Rgb SubgraphColour(int number) const override {
    auto it = colours.find(number);
    return it == colours.end() ? Rgb{} : it->second;
  }
  void SetSubgraphValue(int number, int bar, float value) override { subgraphValues[number][bar] = value; }
  void* PersistentPointer(int slot) const override {
    auto it = pointers.find(slot);
    return it == pointers.end() ? nullptr : it->second;
  }
  void SetPersistentPointer(int slot, void* p) override { pointers[slot] = p; }
  int ChartNumber() const override { return 1; }
  int StudyId() const override { return 1; }
  std::string ChartSymbol() const override { return symbol; }
  double TickSize() const override { return tickSize; }
  int BarCount() const override { return static_cast<int>(closes.size()); }
  BarRange VisibleBars() const override { return visible; }
  double BarClose(int bar) const override { return closes[bar]; }
  double BarHigh(int bar) const override { return closes[bar]; }
  double BarLow(int bar) const override { return closes[bar]; }
  RegionBounds ChartRegion() const override { return region; }
  int BarXCoordinate(int bar) const override { return region.left + (bar - visible.first) * 8 + 4; }
  PointerEvent Pointer() const override { return pointer; }
  void LogMessage(const std::string& text, bool show) override { log.push_back({text, show}); }
  DrawingRequest NewDrawingRequest() const override { return DrawingRequest{}; }
  bool SubmitDrawing(const DrawingRequest& r) override {
    drawings[r.lineNumber] = r;
    ++submitCount;
    return true;
  }
  void DeleteDrawing(int, int selector, int lineNumber) override {
    if (selector == kDeleteAll && lineNumber == 0)
      drawings.clear();
    else if (selector == kDeleteLineNumber)
      drawings.erase(lineNumber);
  }
  bool HttpRequest(const std::string& url) override { return HttpRequestWithBody(url, "", {}); }
  bool HttpRequestWithBody(const std::string& url, const std::string& body,
                           const HttpHeaders& headers) override {
    if (!acceptRequests) return false;
    requests.push_back({url, body, headers});
    responseBody.clear();
    return true;
  }
  std::string HttpResponseBody() const override { return responseBody; }
  int AlertBarIndex() const override { return BarCount() - 1; }
  void RaiseAlert(int number, int bar, const std::string& text) override { alerts.push_back(text); }
  // Two decimals, as the default 0.25 tick needs.
  std::string FormatPrice(double price) const override { return text::Format("%.2f", price); }
  double Now() const override { return now; }
  platform::Services* Platform() override { return lendServices ? &services : nullptr; }

  struct Request {
    std::string url, body;
    HttpHeaders headers;
  };
  struct LogEntry {
    std::string text;
    bool show;
  };

  bool declarationCall = false, removalCall = false, acceptRequests = true, lendServices = true;
  StudyDeclaration study;
  std::map<int, FakeInput> inputs;
  std::map<int, SubgraphDeclaration> subgraphs;
  std::map<int, Rgb> colours;
  std::map<int, std::map<int, float>> subgraphValues;
  std::map<int, void*> pointers;
  std::string symbol = "NQZ25";
  double tickSize = 0.25;
  std::vector<double> closes = std::vector<double>(200, 21500.0);
  BarRange visible{100, 199};
  RegionBounds region{20, 620, 0, 1000};
  PointerEvent pointer;
  std::vector<LogEntry> log;
  std::map<int, DrawingRequest> drawings;
  int submitCount = 0;
  std::vector<Request> requests;
  std::string responseBody;
  std::vector<std::string> alerts;
  double now = 1735741800;
  FakeServices services;
};

}  // namespace host
