#include "live/value_source.h"

#include <cmath>

#include "live/command_run.h"
#include "live/http_fetch.h"
#include "text/ascii.h"
#include "text/bounded_text.h"
#include "text/fail.h"
#include "text/format.h"

namespace live {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with at most one point, then an optional exponent: what ParseDouble reads besides it
// (a sign, "inf", "nan", hexadecimal) is no price.
bool IsDecimalShape(std::string_view text) {
  size_t at = 0, digits = 0;
  bool point = false;
  for (; at < text.size() && (IsDigit(text[at]) || (text[at] == '.' && !point)); ++at) {
    if (text[at] == '.')
      point = true;
    else
      ++digits;
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const size_t exponentStart = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    if (at == exponentStart) return false;
  }
  return at == text.size();
}

}  // namespace

bool ReadPriceText(std::string_view text, double* value, std::string* error) {
  const std::string_view number = text::TrimBlanks(text, " \t\r\n");
  double parsed = 0;
  if (!IsDecimalShape(number) || text::ParseDouble(number, &parsed) != number.size() ||
      !std::isfinite(parsed) || parsed <= 0) {
    return text::Fail(error, "expected one number above 0, got '" + text::BoundedText(number, 40) + "'");
  }
  *value = parsed;
  return true;
}

FetchStatus FetchPrice(const ValueSource& source, const std::string& configDir, double timeoutSeconds,
                       const StopSignal& stop, PriceAnswer* out, std::string* error) {
  if (source.kind == ValueSource::Kind::kNumber) {
    out->value = source.number;
    return FetchStatus::kFetched;
  }
  std::string answer;
  FetchStatus status = FetchStatus::kFailed;
  if (source.kind == ValueSource::Kind::kUrl) {
    status = HttpFetch({source.url, {}, timeoutSeconds, kMaxValueBytes}, stop, &answer, error);
  } else if (source.kind == ValueSource::Kind::kCommand) {
    CommandOutput printed;
    status = RunCommand({source.command, configDir, timeoutSeconds, kMaxValueBytes}, stop, &printed, error);
    answer = std::move(printed.output);
    out->errorText = std::move(printed.errorText);
    out->errorCut = printed.errorCut;
  } else {
    *error = "no source for the price";
  }
  if (status != FetchStatus::kFetched) return status;
  return ReadPriceText(answer, &out->value, error) ? FetchStatus::kFetched : FetchStatus::kFailed;
}

}  // namespace live
