#include "cli/chart_inputs.h"

#include <filesystem>

#include "chart/file_io.h"
#include "chart/input_edits.h"
#include "cli/fail.h"
#include "jsonout/json_writer.h"

namespace cli {
namespace {

constexpr const char* kInputsKey = "inputs";

}  // namespace

bool LoadChartFile(const std::string& path, chart::InputStore& inputs, bool* existed,
                   std::vector<std::string>* skipped, std::string* error) {
  std::error_code ignored;
  *existed = std::filesystem::exists(path, ignored);
  if (!*existed) return true;
  std::string bytes;
  std::string why;
  if (!chart::ReadFileWithin(path, kMaxChartFileBytes, &bytes, &why)) {
    return Fail(error, "cannot read the chart file '" + path + "': " + why);
  }
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
    if (!chart::SetInputFromJson(inputs, label, values->members[i], chart::ChoiceIndexes::kListed, error)) {
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
  std::string why;
  if (chart::ReplaceFile(path, ChartFileText(inputs), &why)) return true;
  return Fail(error, "cannot write the chart file: " + why);
}

}  // namespace cli
