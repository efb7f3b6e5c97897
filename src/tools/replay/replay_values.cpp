#include "replay/replay_values.h"

#include <algorithm>
#include <cmath>

#include "formats/file_io.h"
#include "text/fail.h"
#include "jsonout/json_writer.h"

namespace replay {
namespace {

bool ReadBar(json::Node value, chart::Bar* out) {
  if (!value.IsArray() || value.size() != 4) return false;
  double parts[4];
  for (size_t i = 0; i < 4; ++i) {
    const json::Node part = value.ElementAt(i);
    if (!part.IsNumber() || !std::isfinite(part.number())) return false;
    parts[i] = part.number();
  }
  *out = {parts[0], parts[1], parts[2], parts[3]};
  return true;
}

}  // namespace

bool ReadNumber(json::Node value, double* out, std::string* error) {
  if (!value.IsNumber() || !std::isfinite(value.number())) return text::Fail(error, "expected a number");
  *out = value.number();
  return true;
}

bool ReadInteger(json::Node value, long long min, long long max, long long* out, std::string* error) {
  double number = 0;
  if (!ReadNumber(value, &number, error) || number != std::floor(number) ||
      number < static_cast<double>(min) || number > static_cast<double>(max)) {
    return text::Fail(error,
                      "expected a whole number from " + std::to_string(min) + " to " + std::to_string(max));
  }
  *out = static_cast<long long>(number);
  return true;
}

bool ReadText(json::Node value, std::string* out, std::string* error) {
  if (!value.IsString()) return text::Fail(error, "expected a string");
  *out = std::string(value.text());
  return true;
}

bool ReadColour(json::Node value, host::Rgb* out, std::string* error) {
  const char* expected = "expected [R, G, B] with whole numbers from 0 to 255";
  if (!value.IsArray() || value.size() != 3) return text::Fail(error, expected);
  long long parts[3];
  for (size_t i = 0; i < 3; ++i) {
    if (!ReadInteger(value.ElementAt(i), 0, 255, &parts[i], error)) return text::Fail(error, expected);
  }
  *out = {uint8_t(parts[0]), uint8_t(parts[1]), uint8_t(parts[2])};
  return true;
}

bool ReadBarList(json::Node value, std::vector<chart::Bar>* out, std::string* error) {
  if (!value.IsArray()) return text::Fail(error, "expected a list of [open, high, low, close]");
  out->clear();
  for (size_t i = 0; i < value.size(); ++i) {
    chart::Bar bar;
    if (!ReadBar(value.ElementAt(i), &bar)) {
      return text::Fail(error, "bar " + std::to_string(i) + ": expected [open, high, low, close] numbers");
    }
    out->push_back(bar);
  }
  return true;
}

bool ReadBody(json::Node object, const std::string& baseDir, const std::vector<std::string>& otherKeys,
              std::string* out, std::string* error) {
  if (!object.IsObject()) return text::Fail(error, "expected an object");
  std::vector<std::string> known = otherKeys;
  known.insert(known.end(), {"body", "json", "file"});
  if (!OnlyKeys(object, known, error)) return false;
  const json::Node body = json::Member(object, "body");
  const json::Node value = json::Member(object, "json");
  const json::Node file = json::Member(object, "file");
  if (bool(body) + bool(value) + bool(file) != 1) {
    return text::Fail(error, "expected exactly one of \"body\", \"json\" or \"file\"");
  }
  if (body) return ReadText(body, out, error) || text::Fail(error, "\"body\": expected a string");
  if (value) {
    *out = jsonout::JsonText(value, jsonout::JsonWriter::Layout::kPretty);
    return true;
  }
  std::string path;
  if (!ReadText(file, &path, error)) return text::Fail(error, "\"file\": expected a path");
  const std::string resolved = ResolvePath(baseDir, path);
  std::string why;
  if (!formats::ReadFileWithin(resolved, formats::kMaxAnswerBytes, out, &why)) {
    return text::Fail(error, "cannot read file '" + resolved + "': " + why);
  }
  return true;
}

bool OnlyKeys(json::Node object, const std::vector<std::string>& known, std::string* error) {
  for (const json::Pair pair : object.Pairs()) {
    if (std::find(known.begin(), known.end(), pair.key) == known.end()) {
      return text::Fail(error, "unknown key \"" + std::string(pair.key) + "\"");
    }
  }
  return true;
}

std::string ResolvePath(const std::string& baseDir, const std::string& path) {
  if (path.empty() || path[0] == '/' || baseDir.empty()) return path;
  return baseDir + "/" + path;
}

}  // namespace replay
