// `ordinel inspect FILE [--top-strikes N]`: runs the study's own JSON parser and
// ParseLevelsResponse on one answer and prints what the study keeps.
#include <climits>
#include <cstdio>
#include <new>

#include "formats/file_io.h"
#include "cli/commands.h"
#include "inspect/answer_inspection.h"

namespace cli {

namespace {

constexpr int kDefaultTopStrikes = 10;
constexpr const char* kUsage =
    "usage: ordinel inspect FILE|- [--top-strikes N]\n"
    "  FILE holds one levels answer (at most 16 MiB); - reads it from standard input\n";

// Reads the answer at `path` ("-" for standard input) into `body`, at most
// formats::kMaxAnswerBytes; false with `*error` saying why not.
bool ReadAnswer(const std::string& path, std::string* body, std::string* error) {
  if (path == "-") return formats::ReadStreamWithin(stdin, formats::kMaxAnswerBytes, body, error);
  return formats::ReadFileWithin(path, formats::kMaxAnswerBytes, body, error);
}

// Reads a whole decimal integer, saturated to the int range; false for anything else.
bool ParseCount(const std::string& text, int* out) {
  size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (i == text.size()) return false;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    if (value < INT_MAX) value = value * 10 + (text[i] - '0');
  }
  if (value > INT_MAX) value = INT_MAX;
  *out = text[0] == '-' ? -static_cast<int>(value) : static_cast<int>(value);
  return true;
}

}  // namespace

int RunInspect(const Args& args) {
  std::string path;
  bool havePath = false;
  int topStrikes = kDefaultTopStrikes;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--top-strikes") {
      if (i + 1 >= args.size() || !ParseCount(args[i + 1], &topStrikes)) {
        std::fputs("ordinel inspect: --top-strikes needs a whole number\n", stderr);
        std::fputs(kUsage, stderr);
        return kExitInvalid;
      }
      ++i;
    } else if (!havePath && (args[i] == "-" || args[i].rfind("--", 0) != 0)) {
      path = args[i];
      havePath = true;
    } else {
      std::fprintf(stderr, "ordinel inspect: unexpected argument '%s'\n", args[i].c_str());
      std::fputs(kUsage, stderr);
      return kExitInvalid;
    }
  }
  if (!havePath) {
    std::fputs(kUsage, stderr);
    return kExitInvalid;
  }
  std::string body;
  std::string error;
  if (!ReadAnswer(path, &body, &error)) {
    std::fprintf(stderr, "ordinel inspect: cannot read %s: %s\n", path == "-" ? "standard input" : path.c_str(),
                 error.c_str());
    return kExitInvalid;
  }
  const std::string out = inspect::InspectAnswer(body, topStrikes);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return kExitOk;
}

}  // namespace cli
