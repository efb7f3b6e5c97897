// `ordinel inspect FILE [--top-strikes N]`: runs the study's own JSON parser and
// ParseLevelsResponse on one answer and prints what the study keeps.
#include "cli/inspect_command.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "json/json_value.h"
#include "payload/levels_response.h"

namespace cli {

namespace {

constexpr int kDefaultTopStrikes = 10;
constexpr const char* kUsage = "usage: ordinel inspect FILE|- [--top-strikes N]\n";

// Reads the whole of `path` ("-" for standard input) into `body`; false with errno kept.
bool ReadAll(const std::string& path, std::string* body) {
  const bool fromStdin = path == "-";
  std::FILE* file = fromStdin ? stdin : std::fopen(path.c_str(), "rb");
  if (!file) return false;
  char buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) body->append(buffer, got);
  const bool ok = !std::ferror(file);
  const int readError = errno != 0 ? errno : EIO;
  if (!fromStdin) std::fclose(file);
  errno = ok ? 0 : readError;
  return ok;
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

std::string InspectAnswer(std::string_view body, int topStrikes) {
  json::Value root;
  if (!json::ParseJson(body, &root)) return "{\"json\": false}\n";
  payload::LevelsSnapshot snapshot;
  std::string status;
  if (!payload::ParseLevelsResponse(root, topStrikes, &snapshot, &status)) {
    std::string out = "{\"json\": true, \"ok\": false, \"status\": ";
    jsonout::AppendJsonString(&out, status);
    out += "}\n";
    return out;
  }
  std::string out;
  jsonout::JsonWriter writer(&out);
  writer.BeginObject();
  writer.Key("json");
  writer.Bool(true);
  writer.Key("ok");
  writer.Bool(true);
  writer.Key("snapshot");
  WriteSnapshotJson(snapshot, &writer);
  writer.EndObject();
  out += '\n';
  return out;
}

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
  errno = 0;
  if (!ReadAll(path, &body)) {
    std::fprintf(stderr, "ordinel inspect: cannot read %s: %s\n", path.c_str(),
                 std::strerror(errno));
    return kExitInvalid;
  }
  const std::string out = InspectAnswer(body, topStrikes);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return kExitOk;
}

}  // namespace cli
