// The study's inputs as `ordinel chart` edits them: from "LABEL=VALUE" options and from the
// chart file, which keeps every input value by label between runs as the platform keeps a
// chart's study settings.
#pragma once

#include <string>
#include <vector>

#include "chart/input_store.h"
#include "json/json_value.h"

namespace cli {

// Sets the input labelled `label` from a typed `text`: yes/no takes Yes/No/true/false/1/0
// (any letter case), integer and float inputs a number (integers whole), text inputs the text
// as it is, choice inputs the exact choice text or its 0-based index. False with `*error`
// naming the label and what it takes.
bool SetInputFromText(chart::InputStore& inputs, const std::string& label, const std::string& text,
                      std::string* error);

// As SetInputFromText for a JSON value: yes/no takes true/false, numbers for numeric inputs,
// a string for text inputs, the index or the choice text for choice inputs.
bool SetInputFromJson(chart::InputStore& inputs, const std::string& label, const json::Value& value,
                      std::string* error);

// Applies the chart file at `path` ({"inputs": {LABEL: VALUE, ...}}). A missing file is no
// error (`*existed` false; the run creates it). Labels the study does not declare are skipped
// and listed in `*skipped`. False with `*error` for a file that cannot be read, is not such a
// JSON object or holds a value its input does not take.
bool LoadChartFile(const std::string& path, chart::InputStore& inputs, bool* existed,
                   std::vector<std::string>* skipped, std::string* error);

// The chart file text of every declared input: yes/no as true/false, choices as their index.
std::string ChartFileText(const chart::InputStore& inputs);

// Writes ChartFileText to `path` (through a temporary file beside it, so a failed write keeps
// the old file); false with `*error` naming the file.
bool SaveChartFile(const std::string& path, const chart::InputStore& inputs, std::string* error);

}  // namespace cli
