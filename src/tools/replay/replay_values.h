// Readers for the values a replay scenario holds: numbers, times, colours, bars and answer
// bodies. Each returns false with `*error` saying what was expected (an absent value too).
#pragma once

#include <string>
#include <vector>

#include "chart/chart_data.h"
#include "host/colour.h"
#include "json/json_node.h"

namespace replay {

// A finite number.
bool ReadNumber(json::Node value, double* out, std::string* error);
// A whole number within [min, max].
bool ReadInteger(json::Node value, long long min, long long max, long long* out, std::string* error);
// A string.
bool ReadText(json::Node value, std::string* out, std::string* error);
// [R, G, B] with each part 0-255.
bool ReadColour(json::Node value, host::Rgb* out, std::string* error);
// A list of [open, high, low, close] with finite numbers.
bool ReadBarList(json::Node value, std::vector<chart::Bar>* out, std::string* error);
// The answer body of an object holding exactly one of "body" (text), "json" (any value, sent
// as its JSON text) or "file" (a file's bytes, relative to `baseDir`, at most
// formats::kMaxAnswerBytes), besides the keys in `otherKeys`.
bool ReadBody(json::Node object, const std::string& baseDir, const std::vector<std::string>& otherKeys,
              std::string* out, std::string* error);
// False naming the first key of `object` that is not in `known`.
bool OnlyKeys(json::Node object, const std::vector<std::string>& known, std::string* error);
// `path` itself when absolute, else `baseDir`/`path`.
std::string ResolvePath(const std::string& baseDir, const std::string& path);

}  // namespace replay
