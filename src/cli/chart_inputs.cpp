#include "cli/chart_inputs.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "jsonout/json_writer.h"
#include "cli/replay_values.h"
#include "text/format.h"

namespace cli {
namespace {

constexpr const char* kInputsKey = "inputs";

bool Fail(std::string* error, std::string message) {
  *error = std::move(message);
  return false;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The whole of `text` as a finite number.
bool ParseWholeNumber(const std::string& text, double* out) {
  double value = 0;
  if (text.empty() || text::ParseDouble(text, &value) != text.size() || !std::isfinite(value)) return false;
  *out = value;
  return true;
}

bool IsWhole(double value, double min, double max) {
  return std::isfinite(value) && value == std::floor(value) && value >= min && value <= max;
}

const chart::InputEntry* Labelled(const chart::InputStore& inputs, const std::string& label, int* slot,
                                  std::string* error) {
  *slot = inputs.SlotOf(label);
  if (*slot < 0) {
    *error = "the study has no input \"" + label + "\"";
    return nullptr;
  }
  return inputs.Find(*slot);
}

bool SetChoice(chart::InputStore& inputs, int slot, const host::InputDeclaration& input,
               const std::string& named, const std::string* text, double index, std::string* error) {
  const std::vector<std::string> choices = chart::ChoiceTexts(input);
  if (text) {
    for (size_t i = 0; i < choices.size(); ++i) {
      if (choices[i] == *text) return inputs.EditNumber(slot, static_cast<double>(i));
    }
    if (!ParseWholeNumber(*text, &index)) index = -1;
  }
  if (IsWhole(index, 0, static_cast<double>(choices.size()) - 1)) return inputs.EditNumber(slot, index);
  std::string list;
  for (const std::string& choice : choices) list += (list.empty() ? "" : ", ") + choice;
  return Fail(error, named + " takes one of: " + list + " (or its index from 0)");
}

}  // namespace

bool SetInputFromText(chart::InputStore& inputs, const std::string& label, const std::string& text,
                      std::string* error) {
  int slot = -1;
  const chart::InputEntry* entry = Labelled(inputs, label, &slot, error);
  if (!entry) return false;
  const host::InputDeclaration& input = entry->declaration;
  const std::string named = "input \"" + label + "\"";
  double number = 0;
  switch (input.kind) {
    case host::InputKind::kYesNo: {
      const std::string word = Lower(text);
      if (word == "yes" || word == "true" || word == "1") return inputs.EditYesNo(slot, true);
      if (word == "no" || word == "false" || word == "0") return inputs.EditYesNo(slot, false);
      return Fail(error, named + " takes Yes or No, got '" + text + "'");
    }
    case host::InputKind::kInteger:
      if (!ParseWholeNumber(text, &number) || !IsWhole(number, INT_MIN, INT_MAX)) {
        return Fail(error, named + " takes a whole number, got '" + text + "'");
      }
      return inputs.EditNumber(slot, number);
    case host::InputKind::kFloat:
      if (!ParseWholeNumber(text, &number)) return Fail(error, named + " takes a number, got '" + text + "'");
      return inputs.EditNumber(slot, number);
    case host::InputKind::kText:
      return inputs.StoreText(slot, text);
    case host::InputKind::kChoice:
      return SetChoice(inputs, slot, input, named, &text, 0, error);
  }
  return Fail(error, named + " has a kind this program does not know");
}

bool SetInputFromJson(chart::InputStore& inputs, const std::string& label, const json::Value& value,
                      std::string* error) {
  int slot = -1;
  const chart::InputEntry* entry = Labelled(inputs, label, &slot, error);
  if (!entry) return false;
  const host::InputDeclaration& input = entry->declaration;
  const std::string named = "input \"" + label + "\"";
  const bool finite = value.kind == json::kNumber && std::isfinite(value.number);
  switch (input.kind) {
    case host::InputKind::kYesNo:
      if (value.kind != json::kBoolean) return Fail(error, named + " takes true or false");
      return inputs.EditYesNo(slot, value.boolean != 0);
    case host::InputKind::kInteger:
      if (!finite || !IsWhole(value.number, INT_MIN, INT_MAX)) return Fail(error, named + " takes a whole number");
      return inputs.EditNumber(slot, value.number);
    case host::InputKind::kFloat:
      if (!finite) return Fail(error, named + " takes a number");
      return inputs.EditNumber(slot, value.number);
    case host::InputKind::kText:
      if (value.kind != json::kString) return Fail(error, named + " takes a string");
      return inputs.StoreText(slot, value.text);
    case host::InputKind::kChoice:
      if (value.kind == json::kString) return SetChoice(inputs, slot, input, named, &value.text, 0, error);
      return SetChoice(inputs, slot, input, named, nullptr, finite ? value.number : -1, error);
  }
  return Fail(error, named + " has a kind this program does not know");
}

bool LoadChartFile(const std::string& path, chart::InputStore& inputs, bool* existed,
                   std::vector<std::string>* skipped, std::string* error) {
  std::error_code ignored;
  *existed = std::filesystem::exists(path, ignored);
  if (!*existed) return true;
  std::string bytes;
  if (!ReadFileBytes(path, &bytes)) return Fail(error, "cannot read the chart file '" + path + "'");
  json::Value root;
  const json::Value* values = nullptr;
  if (json::ParseJson(bytes, &root) && root.kind == json::kObject) values = json::Member(root, kInputsKey);
  if (!values || values->kind != json::kObject) {
    return Fail(error, "the chart file '" + path + "' is not a JSON object with an \"inputs\" object");
  }
  for (size_t i = 0; i < values->keys.size(); ++i) {
    const std::string& label = values->keys[i];
    if (inputs.SlotOf(label) < 0) {
      skipped->push_back(label);
      continue;
    }
    if (!SetInputFromJson(inputs, label, values->members[i], error)) {
      return Fail(error, "the chart file '" + path + "': " + *error);
    }
  }
  return true;
}

std::string ChartFileText(const chart::InputStore& inputs) {
  std::string out;
  jsonout::JsonWriter writer(&out);
  writer.BeginObject();
  writer.Key(kInputsKey);
  writer.BeginObject();
  for (const auto& [slot, entry] : inputs.Entries()) {
    writer.Key(entry.declaration.label);
    switch (entry.declaration.kind) {
      case host::InputKind::kYesNo:
        writer.Bool(entry.value.number != 0);
        break;
      case host::InputKind::kText:
        writer.String(entry.value.text);
        break;
      default:
        writer.Number(entry.value.number);
    }
  }
  writer.EndObject();
  writer.EndObject();
  out += '\n';
  return out;
}

bool SaveChartFile(const std::string& path, const chart::InputStore& inputs, std::string* error) {
  const std::string text = ChartFileText(inputs);
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  bool ok = file != nullptr;
  if (file) {
    ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fclose(file) == 0 && ok;
  }
  std::error_code renameError;
  if (ok) std::filesystem::rename(temporary, path, renameError);
  if (ok && !renameError) return true;
  std::filesystem::remove(temporary, renameError);
  return Fail(error, "cannot write the chart file '" + path + "'");
}

}  // namespace cli
