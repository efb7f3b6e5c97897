// Fault descriptions, their table, and the faults that change an answer's status and body.
#include "service/fault_injection.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace service {
namespace {

constexpr int kMaxFaultCount = 1000000;
constexpr int kHtmlDefaultStatus = 502;
constexpr std::string_view kHtmlFileName = "not_json.html";
constexpr int kRedirectDefaultStatus = 302;
constexpr std::string_view kBuiltInHtml =
    "<!DOCTYPE html>\n<html>\n<head><title>502 Bad Gateway</title></head>\n"
    "<body><h1>502 Bad Gateway</h1><p>The upstream levels worker did not answer.</p></body>\n"
    "</html>\n";

struct Alias {
  std::string_view name;
  std::string_view path;
};
constexpr Alias kAliases[] = {
    {"levels", kLevelsPath}, {"vix", kVixChartPath}, {"qqq", kQqqChartPath}, {"research", kResearchPath}};

// Digits only: a sign, blanks or a fraction make the text a mistake, not a number.
bool ReadInteger(std::string_view digits, int64_t low, int64_t high, int64_t* out) {
  if (digits.empty()) return false;
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.front() == '-') {
    return false;
  }
  if (value < low || value > high) return false;
  *out = value;
  return true;
}

// The target goes out as a Location header: a path of visible characters, so that no blank or
// line break can end the header early.
bool IsRedirectPath(std::string_view path) {
  return !path.empty() && path.front() == '/' &&
         std::all_of(path.begin(), path.end(), [](char c) { return c > ' ' && c < 0x7f; });
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view path) {
  std::string decoded;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '%' && i + 2 < path.size() && HexValue(path[i + 1]) >= 0 && HexValue(path[i + 2]) >= 0) {
      decoded.push_back(static_cast<char>(HexValue(path[i + 1]) * 16 + HexValue(path[i + 2])));
      i += 2;
    } else {
      decoded.push_back(path[i]);
    }
  }
  return decoded;
}

// Applies one "name" or "name=value" part to `fault`.
bool ApplyPart(std::string_view name, std::optional<std::string_view> value, Fault* fault,
               std::string* error) {
  int64_t number = 0;
  const auto numeric = [&](int64_t low, int64_t high) {
    if (value && ReadInteger(*value, low, high, &number)) return true;
    *error = "fault part '" + std::string(name) + "' needs a whole number from " + std::to_string(low) +
             " to " + std::to_string(high);
    return false;
  };
  const auto flag = [&] {
    if (!value) return true;
    *error = "fault part '" + std::string(name) + "' takes no value";
    return false;
  };
  if (name == "delay") {
    if (!numeric(0, kMaxFaultDelayMs)) return false;
    fault->delayMs = static_cast<int>(number);
  } else if (name == "status") {
    if (!numeric(100, 599)) return false;
    fault->status = static_cast<int>(number);
  } else if (name == "html") {
    if (!flag()) return false;
    fault->html = true;
  } else if (name == "file") {
    if (!value || !IsSafeFileName(*value)) {
      *error = "fault part 'file' needs a plain file name of the data directory";
      return false;
    }
    fault->file = std::string(*value);
  } else if (name == "truncate") {
    if (value && !numeric(0, kMaxFaultBodyBytes)) return false;
    fault->truncate = true;
    fault->truncateBytes = value ? number : -1;
  } else if (name == "oversize") {
    if (!numeric(0, kMaxFaultBodyBytes)) return false;
    fault->oversizeBytes = number;
  } else if (name == "drop") {
    if (!flag()) return false;
    fault->drop = true;
  } else if (name == "redirect") {
    if (!value || !IsRedirectPath(*value)) {
      *error = "fault part 'redirect' needs a path starting with '/' without blanks";
      return false;
    }
    fault->redirect = std::string(*value);
  } else if (name == "count") {
    if (!numeric(1, kMaxFaultCount)) return false;
    fault->count = static_cast<int>(number);
  } else {
    *error = "unknown fault part '" + std::string(name) +
             "' (known: delay=MS status=CODE html file=NAME truncate[=N] oversize=N drop "
             "redirect=PATH count=N)";
    return false;
  }
  return true;
}

}  // namespace

bool ParseFaultText(std::string_view text, Fault* out, std::string* error) {
  if (text.empty()) {
    *error = "empty fault description";
    return false;
  }
  Fault fault;
  std::set<std::string, std::less<>> seen;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = text.find(',', start);
    const std::string_view part = text.substr(start, comma == text.npos ? text.npos : comma - start);
    const size_t equals = part.find('=');
    const std::string_view name = part.substr(0, equals);
    std::optional<std::string_view> value;
    if (equals != part.npos) value = part.substr(equals + 1);
    if (name.empty()) {
      *error = "empty part in fault description '" + std::string(text) + "'";
      return false;
    }
    if (!seen.insert(std::string(name)).second) {
      *error = "fault part '" + std::string(name) + "' given twice";
      return false;
    }
    if (!ApplyPart(name, value, &fault, error)) return false;
    if (comma == text.npos) break;
    start = comma + 1;
  }
  *out = std::move(fault);
  return true;
}

bool ParseFaultArgument(std::string_view argument, std::string* path, Fault* out, std::string* error) {
  const size_t equals = argument.find('=');
  if (equals == argument.npos || equals == 0) {
    *error = "expected PATH=FAULT, got '" + std::string(argument) + "'";
    return false;
  }
  const std::string_view target = argument.substr(0, equals);
  const bool isAlias = std::any_of(std::begin(kAliases), std::end(kAliases),
                                   [&](const Alias& alias) { return alias.name == target; });
  if (target != "*" && target.front() != '/' && !isAlias) {
    *error = "unknown fault path '" + std::string(target) +
             "' (a path starting with '/', '*', levels, vix, qqq or research)";
    return false;
  }
  if (!ParseFaultText(argument.substr(equals + 1), out, error)) return false;
  *path = FaultPathKey(target);
  return true;
}

std::string FaultPathKey(std::string_view pathOrAlias) {
  for (const Alias& alias : kAliases) {
    if (alias.name == pathOrAlias) return std::string(alias.path);
  }
  return PercentDecoded(pathOrAlias);
}

FixtureAnswer ApplyFaultToAnswer(const Fault& fault, const FixtureCatalogue& catalogue,
                                 FixtureAnswer answer) {
  if (!fault.file.empty()) {
    std::string body;
    answer = ReadDataFile(catalogue, fault.file, &body)
                 ? FixtureAnswer{200, "application/json", std::move(body)}
                 : PlainAnswer(500, "sample file missing: " + fault.file + "\n");
  }
  if (fault.html) {
    answer.status = kHtmlDefaultStatus;
    answer.contentType = "text/html; charset=utf-8";
    if (!ReadDataFile(catalogue, kHtmlFileName, &answer.body)) answer.body = kBuiltInHtml;
  }
  if (!fault.redirect.empty()) {
    answer = PlainAnswer(kRedirectDefaultStatus, "moved to " + fault.redirect + "\n");
  }
  if (fault.status != 0) answer.status = fault.status;
  if (fault.truncate) {
    const size_t keep =
        fault.truncateBytes < 0 ? answer.body.size() / 2 : static_cast<size_t>(fault.truncateBytes);
    if (keep < answer.body.size()) answer.body.resize(keep);
  }
  return answer;
}

void FaultTable::Set(std::string_view path, const Fault& fault) {
  std::lock_guard lock(mutex_);
  faults_.insert_or_assign(FaultPathKey(path), fault);
}

std::optional<Fault> FaultTable::Take(std::string_view path) {
  std::lock_guard lock(mutex_);
  auto found = faults_.find(path);
  if (found == faults_.end()) found = faults_.find(std::string_view("*"));
  if (found == faults_.end()) return std::nullopt;
  Fault fault = found->second;
  if (found->second.count > 0 && --found->second.count == 0) faults_.erase(found);
  return fault;
}

}  // namespace service
