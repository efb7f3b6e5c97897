// A user's edits of the study's inputs by label, as the settings dialog takes them: from typed
// text (the command line, the chart page) or from a JSON value (the chart file, scenarios). The
// one place that decides which values an input takes and says why one is refused.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "chart/input_store.h"
#include "json/json_node.h"

namespace chart {

// A rule the program adds to what the study declares, for the text input labelled `label`.
struct TextRule {
  const char* label;
  const char* takes;  // what the input takes, as refusals and listings say it
  bool (*check)(std::string_view text, std::string* why);  // false with what is wrong
};

// Which values an edit takes.
struct ValueLimits {
  // Integer and float inputs within their declared range, choice indexes within the list;
  // when false any value of the input's kind and any choice index from 0.
  bool declared = true;
  std::span<const TextRule> textRules;  // further rules for text inputs, by label
};

// Any value of the input's kind: a scripted session sets what it likes, as a saved chart can
// hold a value the dialog no longer offers.
inline constexpr ValueLimits kAnyOfKind{false, {}};

// Sets the input labelled `label` from a typed `text` within `limits`: yes/no takes
// Yes/No/true/false/1/0 (any letter case), integer and float inputs a number (integers whole),
// text inputs the text as it is, choice inputs the exact choice text or a 0-based index. False
// with `*error` naming the label, what it takes and what it got, the value unchanged.
bool SetInputFromText(InputStore& inputs, const std::string& label, const std::string& text,
                      const ValueLimits& limits, std::string* error);

// As SetInputFromText for a JSON value: yes/no takes true/false, numbers for numeric inputs
// (integers whole), a string for text inputs, the exact choice text or an index for choices.
bool SetInputFromJson(InputStore& inputs, const std::string& label, json::Node value,
                      const ValueLimits& limits, std::string* error);

// What `input` takes within `limits`, as refusals and listings say it: "Yes or No", its range
// ("1 to 8", "180 or more", "8 or less") or "any whole number" / "any number", a text rule's
// `takes` or "any text", the choice texts joined by "; " for a choice.
std::string InputTakes(const host::InputDeclaration& input, const ValueLimits& limits);

// The refusal of a label no declared input has: "the study declares no input \"LABEL\"".
std::string UnknownInputMessage(const std::string& label);

}  // namespace chart
