// `ordinel inspect FILE [--top-strikes N]`: runs the study's own JSON parser and
// ParseLevelsResponse on one answer and prints what the study keeps.
#include <cstdio>
#include <limits>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/terminal_text.h"
#include "formats/file_io.h"
#include "inspect/answer_inspection.h"

namespace cli {

namespace {

struct InspectOptions {
  std::string path;  // "-": standard input
  int topStrikes = 10;
};

// The options of `ordinel inspect`, read into `*o`, which must outlive the table.
formats::OptionTable InspectOptionTable(InspectOptions* o) {
  formats::OptionTable table;
  table.command = "ordinel inspect";
  table.positionals = {formats::Positional(
      "FILE|-", "answer file",
      "one levels answer (the study reads at most 8 MiB); - reads it from standard input", &o->path)};
  // The study reads any count (10 below 1); no answer holds more strikes than an int counts.
  table.options = {formats::Whole("--top-strikes", "N", 0, std::numeric_limits<int>::max(),
                                  "the study's \"Top strikes count\": profile rows kept (default 10)",
                                  &o->topStrikes)};
  return table;
}

// Reads the answer at `path` ("-" for standard input) into `body`, at most
// formats::kMaxAnswerBytes; false with `*error` saying why not.
bool ReadAnswer(const std::string& path, std::string* body, std::string* error) {
  if (path == "-") return formats::ReadStreamWithin(stdin, formats::kMaxAnswerBytes, body, error);
  return formats::ReadFileWithin(path, formats::kMaxAnswerBytes, body, error);
}

}  // namespace

int RunInspect(const Args& args) {
  InspectOptions options;
  int status = kExitOk;
  if (!ReadArguments(InspectOptionTable(&options), args, &status)) return status;
  const std::string& path = options.path;
  const std::string name = path == "-" ? "standard input" : path;
  std::string body;
  std::string error;
  if (!ReadAnswer(path, &body, &error)) {
    PrintLine(stderr, "ordinel inspect: cannot read " + name + ": " + error);
    return kExitInvalid;
  }
  // What the study refuses unread has no map to show.
  if (const std::string refusal = inspect::StudyRefusal(body.size()); !refusal.empty()) {
    PrintLine(stderr, "ordinel inspect: " + name + ": " + refusal);
    return kExitInvalid;
  }
  const std::string out = inspect::InspectAnswer(body, options.topStrikes);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return kExitOk;
}

}  // namespace cli
