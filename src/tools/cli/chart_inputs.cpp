#include "cli/chart_inputs.h"

#include <cstdio>
#include <filesystem>
#include <set>

#include "cli/terminal_text.h"
#include "formats/file_io.h"
#include "formats/file_replacement.h"
#include "formats/near_names.h"
#include "chart/input_edits.h"
#include "text/fail.h"
#include "text/format.h"
#include "jsonout/json_writer.h"

namespace cli {
namespace {

constexpr const char* kInputsKey = "inputs";
// A --set label that names no input: at most this many near ones are suggested.
constexpr size_t kMostNearLabels = 3;

// The sample session's settings: the live map, since a capture held at open makes the study
// send nothing (the fear inputs included) until the next session, and the extended map, so
// that every sample layer (heatmaps, session references...) shows when its input is turned on.
constexpr const char* kSampleSettings[][2] = {
    {"Snapshot mode", "Dynamic (live)"},
    {"Request extended levels (extended=1)", "Yes"},
};

void WriteInputValue(jsonout::JsonWriter& writer, const chart::InputEntry& entry, const ChartFile& file) {
  switch (entry.declaration.kind) {
    case host::InputKind::kYesNo: writer.Bool(entry.value.number != 0); break;
    case host::InputKind::kText:
      // The embedded service's port is gone with the run; the user's own address stays.
      if (!file.embeddedOrigin.empty() && entry.value.text == file.embeddedOrigin &&
          entry.declaration.label == kApiBaseUrlLabel) {
        writer.String(file.replacedOrigin);
      } else {
        writer.String(entry.value.text);
      }
      break;
    default: writer.Number(entry.value.number);
  }
}

// The declared inputs, then what the file held for labels the study does not declare (the
// first value of each, as the load read it).
void WriteInputs(jsonout::JsonWriter& writer, const ChartFile& file, const chart::InputStore& inputs) {
  writer.BeginObject();
  for (const auto& [slot, entry] : inputs.Entries()) {
    writer.Key(entry.declaration.label);
    WriteInputValue(writer, entry, file);
  }
  std::set<std::string> kept;
  for (const auto& [key, value] : json::Member(file.document.Root(), kInputsKey).Pairs()) {
    const std::string label(key);
    if (inputs.SlotOf(label) >= 0 || !kept.insert(label).second) continue;
    writer.Key(label);
    jsonout::WriteJsonValue(&writer, value);
  }
  writer.EndObject();
}

// The refusal of a --set label no input has, naming the nearest labels.
std::string UnknownLabel(const chart::InputStore& inputs, const std::string& label) {
  std::vector<std::string> labels;
  for (const auto& [slot, entry] : inputs.Entries()) labels.push_back(entry.declaration.label);
  std::string nearest;
  for (const std::string& near : formats::NearestNames(label, labels, kMostNearLabels)) {
    nearest += (nearest.empty() ? "" : ", ") + ("\"" + near + "\"");
  }
  const std::string hint =
      nearest.empty() ? "ordinel chart --list-inputs lists them" : "the nearest: " + nearest;
  return chart::UnknownInputMessage(label) + " (" + hint + ")";
}

}  // namespace

bool LoadChartFile(const std::string& path, chart::InputStore& inputs, ChartFile* file,
                   std::vector<std::string>* skipped, std::string* error) {
  std::error_code ignored;
  *file = ChartFile{};
  file->existed = std::filesystem::exists(path, ignored);
  if (!file->existed) return true;
  std::string bytes;
  std::string why;
  if (!formats::ReadFileWithin(path, kMaxChartFileBytes, &bytes, &why)) {
    return text::Fail(error, "cannot read the chart file '" + path + "': " + why);
  }
  json::Node values;
  int inputsMembers = 0;
  if (file->document.ParseOwned(std::move(bytes)) == json::ParseResult::kParsed &&
      file->document.Root().IsObject()) {
    values = json::Member(file->document.Root(), kInputsKey);
    for (const auto& [key, value] : file->document.Root().Pairs()) inputsMembers += key == kInputsKey;
  }
  if (!values.IsObject()) {
    return text::Fail(error, "the chart file '" + path + "' is not a JSON object with an \"inputs\" object");
  }
  // Only one could be read and saved: the others would be lost without a word.
  if (inputsMembers > 1) {
    return text::Fail(error, text::Format("the chart file '%s' holds %d \"inputs\" members; keep one", path,
                                          inputsMembers));
  }
  std::set<std::string> seen;
  for (const auto& [key, value] : values.Pairs()) {
    const std::string label(key);
    if (inputs.SlotOf(label) < 0) {
      if (seen.insert(label).second) skipped->push_back(label);
      continue;
    }
    if (!chart::SetInputFromJson(inputs, label, value, chart::DialogLimits(), error)) {
      return text::Fail(error, "the chart file '" + path + "': " + *error);
    }
  }
  return true;
}

std::string ChartFileText(const ChartFile& file, const chart::InputStore& inputs) {
  std::string out;
  jsonout::JsonWriter writer(&out);
  writer.BeginObject();
  const json::Node root = file.document.Root();
  if (!json::Member(root, kInputsKey)) {
    writer.Key(kInputsKey);
    WriteInputs(writer, file, inputs);
  }
  // The load refused a file with more than one "inputs" member.
  for (const auto& [key, value] : root.Pairs()) {
    writer.Key(key);
    if (key == kInputsKey) {
      WriteInputs(writer, file, inputs);
    } else {
      jsonout::WriteJsonValue(&writer, value);
    }
  }
  writer.EndObject();
  out += '\n';
  return out;
}

bool SaveChartFile(const std::string& path, const ChartFile& file, const chart::InputStore& inputs,
                   std::string* error) {
  const std::string bytes = ChartFileText(file, inputs);
  if (bytes.size() > kMaxChartFileBytes) {
    return text::Fail(error,
                      text::Format("cannot write the chart file '%s': it would hold %zu bytes, more than the "
                                   "%s a chart file may hold; the file was left as it was",
                                   path, bytes.size(), formats::SizeText(kMaxChartFileBytes)));
  }
  std::string why;
  if (formats::ReplaceFile(path, bytes, &why)) return true;
  return text::Fail(error, "cannot write the chart file: " + why);
}

bool ApplySetting(chart::InputStore& inputs, const std::string& setting, std::string* error) {
  size_t labelEnd = std::string::npos;
  for (size_t at = setting.find('='); at != std::string::npos; at = setting.find('=', at + 1)) {
    if (at > 0 && inputs.SlotOf(setting.substr(0, at)) >= 0) labelEnd = at;
  }
  if (labelEnd == std::string::npos) {
    return text::Fail(
        error, "--set '" + setting + "': " + UnknownLabel(inputs, setting.substr(0, setting.rfind('='))));
  }
  if (chart::SetInputFromText(inputs, setting.substr(0, labelEnd), setting.substr(labelEnd + 1),
                              chart::DialogLimits(), error)) {
    return true;
  }
  *error = "--set: " + *error;
  return false;
}

bool ApplyInputs(const ChartOptions& options, const std::string& origin, bool sample,
                 chart::InputStore& inputs, ChartFile* chartFile, std::string* error) {
  for (const auto& [label, value] : kSampleSettings) {
    if (sample && !chart::SetInputFromText(inputs, label, value, chart::DialogLimits(), error)) return false;
  }
  if (!options.chartFile.empty()) {
    std::vector<std::string> skipped;
    if (!LoadChartFile(options.chartFile, inputs, chartFile, &skipped, error)) return false;
    for (const std::string& label : skipped) {
      PrintLine(stderr, "ordinel chart: the chart file's input \"" + label +
                            "\" is not the study's; not applied, kept in the file");
    }
  }
  if (sample) {
    chartFile->embeddedOrigin = origin;
    chartFile->replacedOrigin = inputs.ReadText(inputs.SlotOf(kApiBaseUrlLabel));
  }
  if (!chart::SetInputFromText(inputs, kApiBaseUrlLabel, origin, chart::DialogLimits(), error)) return false;
  for (const std::string& setting : options.sets) {
    if (!ApplySetting(inputs, setting, error)) return false;
  }
  return true;
}

}  // namespace cli
