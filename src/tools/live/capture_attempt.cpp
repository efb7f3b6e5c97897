#include "live/capture_attempt.h"

#include <chrono>

#include "engine/chain_reader.h"
#include "live/capture_builder.h"
#include "live/capture_log.h"
#include "live/value_source.h"
#include "store/chain_digest.h"

namespace live {
namespace {

using SteadyClock = std::chrono::steady_clock;

double SecondsSince(SteadyClock::time_point start) {
  return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

// One attempt under way: its context, its times and its result so far.
class Attempt {
 public:
  Attempt(const AttemptContext& context, SymbolMemory* memory) : c_(context), memory_(memory) {
    result_.attemptedAt = c_.clock.Now();
  }

  AttemptResult Run();

 private:
  bool FetchBytes(ChainBytes* bytes, bool* unchanged);
  bool ReadChain(const ChainBytes& bytes, engine::OptionChain* chain, bool* unchanged);
  bool FetchPrices(CaptureInputs* inputs);
  bool FetchOnePrice(const ValueSource& source, const char* what, double* value);
  bool Fetched(FetchStatus status, const char* what, const std::string& error);
  void Logs(const std::string& errorText, bool cut);
  AttemptResult Fail(const std::string& what, const std::string& why);
  AttemptResult Stopped();
  AttemptResult Unchanged(const std::optional<FileStamp>& stamp);
  AttemptResult Store(const engine::OptionChain& chain, const CaptureInputs& inputs,
                      const std::optional<FileStamp>& stamp);

  const AttemptContext& c_;
  SymbolMemory* memory_;
  AttemptResult result_;
  double fetchSeconds_ = 0, computeSeconds_ = 0;
  bool stopped_ = false;
  std::string failure_;  // set by Fetched
};

void Attempt::Logs(const std::string& errorText, bool cut) {
  for (const std::string& line : ErrorLogLines(c_.symbol.name, errorText, cut)) c_.log(line);
}

// True for fetched bytes; otherwise notes a stop or the failure `what` for Run to end with.
bool Attempt::Fetched(FetchStatus status, const char* what, const std::string& error) {
  if (status == FetchStatus::kStopped) stopped_ = true;
  if (status == FetchStatus::kFailed) failure_ = std::string(what) + " failed: " + LogText(error);
  return status == FetchStatus::kFetched || status == FetchStatus::kUnchanged;
}

bool Attempt::FetchOnePrice(const ValueSource& source, const char* what, double* value) {
  const auto start = SteadyClock::now();
  PriceAnswer answer;
  std::string error;
  const FetchStatus status =
      FetchPrice(source, c_.configDir, c_.symbol.timeoutSeconds, c_.stop, &answer, &error);
  fetchSeconds_ += SecondsSince(start);
  Logs(answer.errorText, answer.errorCut);
  *value = answer.value;
  return Fetched(status, what, error);
}

bool Attempt::FetchPrices(CaptureInputs* inputs) {
  const SymbolConfig& s = c_.symbol;
  double value = 0;
  if (s.spot.kind != ValueSource::Kind::kNone) {
    if (!FetchOnePrice(s.spot, "spot", &value)) return false;
    inputs->spot = value;
  }
  if (s.future.empty()) return true;
  if (s.futureRatio.kind == ValueSource::Kind::kNumber) {
    inputs->future = {engine::FuturesMapping::Source::kRatio, s.futureRatio.number, 0, s.future};
    return true;
  }
  if (!FetchOnePrice(s.futurePrice, "futures price", &value)) return false;
  inputs->future = {engine::FuturesMapping::Source::kFuturePrice, 1, value, s.future};
  return true;
}

AttemptResult Attempt::Run() {
  if (c_.stop.Requested()) return Stopped();
  c_.state.Update(c_.symbol.name, [this](SymbolStatus& s) { s.lastAttemptAt = result_.attemptedAt; });
  ChainBytes bytes;
  std::string error;
  const auto fetchStart = SteadyClock::now();
  const FetchStatus status = FetchChain(c_.symbol, c_.configDir, memory_->fileStamp, c_.stop, &bytes, &error);
  fetchSeconds_ += SecondsSince(fetchStart);
  Logs(bytes.errorText, bytes.errorCut);
  if (!Fetched(status, "fetch", error)) return stopped_ ? Stopped() : Fail(failure_, "");
  if (status == FetchStatus::kUnchanged) return Unchanged(bytes.stamp);
  const auto readStart = SteadyClock::now();
  engine::OptionChain chain;
  if (!engine::ReadChainText(bytes.bytes, &chain, &error)) return Fail("chain unreadable", error);
  bytes.bytes = std::string();
  computeSeconds_ += SecondsSince(readStart);
  std::optional<std::string> latest;
  if (!c_.store.LatestDigest(c_.symbol.name, &latest, &error)) return Fail("store failed", error);
  if (latest == store::ChainDigest(chain.asOfText, chain.contracts)) return Unchanged(bytes.stamp);
  CaptureInputs inputs{c_.symbol.name, result_.attemptedAt, std::nullopt,
                       c_.symbol.rate, c_.symbol.dividend,  {}};
  if (!FetchPrices(&inputs)) return stopped_ ? Stopped() : Fail(failure_, "");
  return Store(chain, inputs, bytes.stamp);
}

AttemptResult Attempt::Store(const engine::OptionChain& chain, const CaptureInputs& inputs,
                             const std::optional<FileStamp>& stamp) {
  const auto computeStart = SteadyClock::now();
  store::CaptureRecord capture;
  std::string error;
  const bool built = BuildCapture(chain, inputs, c_.services, &capture, &error);
  computeSeconds_ += SecondsSince(computeStart);
  if (!built) return Fail("engine failed", error);
  int64_t id = 0;
  if (!c_.store.Append(capture, &id, &error)) return Fail("store failed", error);
  memory_->fileStamp = stamp;
  memory_->inUnchangedRun = false;
  c_.state.Update(c_.symbol.name, [&](SymbolStatus& s) {
    s.latestCaptureId = id;
    s.latestCaptureAsOf = static_cast<double>(capture.summary.asOf);
    s.lastSuccessAt = result_.attemptedAt;
    s.lastError.clear();
    s.consecutiveFailures = 0;
    ++s.captures;
    s.fetchSeconds += fetchSeconds_;
    s.computeSeconds += computeSeconds_;
  });
  c_.log(CapturedLine(capture, id));
  result_.outcome = CaptureOutcome::kCaptured;
  return result_;
}

AttemptResult Attempt::Unchanged(const std::optional<FileStamp>& stamp) {
  memory_->fileStamp = stamp;
  int64_t latestId = 0;
  c_.state.Update(c_.symbol.name, [&](SymbolStatus& s) {
    s.lastSuccessAt = result_.attemptedAt;
    s.lastError.clear();
    s.consecutiveFailures = 0;
    ++s.unchanged;
    s.fetchSeconds += fetchSeconds_;
    s.computeSeconds += computeSeconds_;
    latestId = s.latestCaptureId;
  });
  if (!memory_->inUnchangedRun) c_.log(UnchangedLine(c_.symbol.name, latestId));
  memory_->inUnchangedRun = true;
  result_.outcome = CaptureOutcome::kUnchanged;
  return result_;
}

// `what` alone when it already says why (a fetch failure), else "what: why".
AttemptResult Attempt::Fail(const std::string& what, const std::string& why) {
  result_.failure = why.empty() ? what : what + ": " + LogText(why);
  memory_->inUnchangedRun = false;
  c_.state.Update(c_.symbol.name, [this](SymbolStatus& s) {
    s.lastError = result_.failure;
    s.lastErrorAt = result_.attemptedAt;
    ++s.consecutiveFailures;
    ++s.failures;
    s.fetchSeconds += fetchSeconds_;
    s.computeSeconds += computeSeconds_;
  });
  result_.outcome = CaptureOutcome::kFailed;
  return result_;
}

AttemptResult Attempt::Stopped() {
  result_.outcome = CaptureOutcome::kStopped;
  return result_;
}

}  // namespace

AttemptResult AttemptCapture(const AttemptContext& context, SymbolMemory* memory) {
  return Attempt(context, memory).Run();
}

}  // namespace live
