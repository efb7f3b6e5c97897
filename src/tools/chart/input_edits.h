// A user's edits of the study's inputs by label, as the settings dialog takes them: from typed
// text (the command line) or from a JSON value (scenarios and the chart file).
#pragma once

#include <string>

#include "chart/input_store.h"
#include "json/json_node.h"

namespace chart {

// Which indexes a choice input takes: only those of its list (a user picking from the dialog),
// or any index from 0 (a saved chart can hold one its list no longer has).
enum class ChoiceIndexes { kListed, kAny };

// Sets the input labelled `label` from a typed `text`: yes/no takes Yes/No/true/false/1/0
// (any letter case), integer and float inputs a number (integers whole), text inputs the text
// as it is, choice inputs the exact choice text or a listed 0-based index. False with `*error`
// naming the label and what it takes.
bool SetInputFromText(InputStore& inputs, const std::string& label, const std::string& text,
                      std::string* error);

// As SetInputFromText for a JSON value: yes/no takes true/false, numbers for numeric inputs
// (integers whole), a string for text inputs, the exact choice text or an index (as `indexes`
// allows) for choice inputs.
bool SetInputFromJson(InputStore& inputs, const std::string& label, json::Node value,
                      ChoiceIndexes indexes, std::string* error);

}  // namespace chart
