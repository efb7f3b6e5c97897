#include "cli/replay_values.h"

#include <algorithm>
#include <cmath>

#include "chart/file_io.h"
#include "cli/fail.h"
#include "jsonout/json_writer.h"

namespace cli {
namespace {

bool ReadBar(const json::Value& value, chart::Bar* out) {
  if (value.kind != json::kArray || value.elements.size() != 4) return false;
  double parts[4];
  for (size_t i = 0; i < 4; ++i) {
    const json::Value& part = value.elements[i];
    if (part.kind != json::kNumber || !std::isfinite(part.number)) return false;
    parts[i] = part.number;
  }
  *out = {parts[0], parts[1], parts[2], parts[3]};
  return true;
}

}  // namespace

bool ReadNumber(const json::Value* value, double* out, std::string* error) {
  if (!value || value->kind != json::kNumber || !std::isfinite(value->number)) {
    return Fail(error, "expected a number");
  }
  *out = value->number;
  return true;
}

bool ReadInteger(const json::Value* value, long long min, long long max, long long* out,
                 std::string* error) {
  double number = 0;
  if (!ReadNumber(value, &number, error) || number != std::floor(number) ||
      number < static_cast<double>(min) || number > static_cast<double>(max)) {
    return Fail(error, "expected a whole number from " + std::to_string(min) + " to " +
                           std::to_string(max));
  }
  *out = static_cast<long long>(number);
  return true;
}

bool ReadText(const json::Value* value, std::string* out, std::string* error) {
  if (!value || value->kind != json::kString) return Fail(error, "expected a string");
  *out = value->text;
  return true;
}

bool ReadColour(const json::Value* value, host::Rgb* out, std::string* error) {
  const char* expected = "expected [R, G, B] with whole numbers from 0 to 255";
  if (!value || value->kind != json::kArray || value->elements.size() != 3) {
    return Fail(error, expected);
  }
  long long parts[3];
  for (size_t i = 0; i < 3; ++i) {
    if (!ReadInteger(&value->elements[i], 0, 255, &parts[i], error)) return Fail(error, expected);
  }
  *out = {uint8_t(parts[0]), uint8_t(parts[1]), uint8_t(parts[2])};
  return true;
}

bool ReadBarList(const json::Value* value, std::vector<chart::Bar>* out, std::string* error) {
  if (!value || value->kind != json::kArray) {
    return Fail(error, "expected a list of [open, high, low, close]");
  }
  out->clear();
  for (size_t i = 0; i < value->elements.size(); ++i) {
    chart::Bar bar;
    if (!ReadBar(value->elements[i], &bar)) {
      return Fail(error, "bar " + std::to_string(i) + ": expected [open, high, low, close] numbers");
    }
    out->push_back(bar);
  }
  return true;
}

bool ReadBody(const json::Value& object, const std::string& baseDir,
              const std::vector<std::string>& otherKeys, std::string* out, std::string* error) {
  if (object.kind != json::kObject) return Fail(error, "expected an object");
  std::vector<std::string> known = otherKeys;
  known.insert(known.end(), {"body", "json", "file"});
  if (!OnlyKeys(object, known, error)) return false;
  const json::Value* body = json::Member(object, "body");
  const json::Value* value = json::Member(object, "json");
  const json::Value* file = json::Member(object, "file");
  if ((body != nullptr) + (value != nullptr) + (file != nullptr) != 1) {
    return Fail(error, "expected exactly one of \"body\", \"json\" or \"file\"");
  }
  if (body) return ReadText(body, out, error) || Fail(error, "\"body\": expected a string");
  if (value) {
    *out = jsonout::JsonText(*value, jsonout::JsonWriter::Layout::kPretty);
    return true;
  }
  std::string path;
  if (!ReadText(file, &path, error)) return Fail(error, "\"file\": expected a path");
  const std::string resolved = ResolvePath(baseDir, path);
  std::string why;
  if (!chart::ReadFileWithin(resolved, chart::kMaxAnswerBytes, out, &why)) {
    return Fail(error, "cannot read file '" + resolved + "': " + why);
  }
  return true;
}

bool OnlyKeys(const json::Value& object, const std::vector<std::string>& known,
              std::string* error) {
  for (const std::string& key : object.keys) {
    if (std::find(known.begin(), known.end(), key) == known.end()) {
      return Fail(error, "unknown key \"" + key + "\"");
    }
  }
  return true;
}

std::string ResolvePath(const std::string& baseDir, const std::string& path) {
  if (path.empty() || path[0] == '/' || baseDir.empty()) return path;
  return baseDir + "/" + path;
}

}  // namespace cli
