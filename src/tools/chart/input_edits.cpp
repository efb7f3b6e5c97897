#include "chart/input_edits.h"

#include <climits>
#include <cmath>

#include "text/ascii.h"
#include "text/bounded_text.h"
#include "text/fail.h"
#include "text/format.h"

namespace chart {
namespace {

// The longest value a refusal quotes back.
constexpr size_t kMostQuoted = 100;

// The whole of `text` as a finite number.
bool ParseWholeText(const std::string& text, double* out) {
  double value = 0;
  if (text.empty() || text::ParseDouble(text, &value) != text.size() || !std::isfinite(value)) return false;
  *out = value;
  return true;
}

bool IsWhole(double value, double min, double max) {
  return std::isfinite(value) && value == std::floor(value) && value >= min && value <= max;
}

// The declared input labelled `label`, with its slot; nullptr with `*error` when none is.
const InputEntry* Labelled(const InputStore& inputs, const std::string& label, int* slot,
                           std::string* error) {
  *slot = inputs.SlotOf(label);
  if (*slot < 0) {
    *error = UnknownInputMessage(label);
    return nullptr;
  }
  return inputs.Find(*slot);
}

std::string Named(const std::string& label) { return "input \"" + label + "\""; }

// ", got 'VALUE'" for a refusal.
std::string Got(const std::string& value) { return ", got '" + text::BoundedText(value, kMostQuoted) + "'"; }

// A number as a message shows it: whole numbers with all their digits, others in their shortest
// exact text.
std::string NumberText(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) return text::Format("%.0f", value);
  return text::RoundTripDouble(value);
}

// A JSON value as a refusal quotes it: a number in its shortest exact text, a string as it is,
// nothing for other values.
std::string JsonGot(json::Node value) {
  if (value.IsNumber()) return Got(NumberText(value.number()));
  if (value.IsString()) return Got(std::string(value.text()));
  return "";
}

// "1 to 8", "180 or more", "8 or less"; empty when `input` declares no range.
std::string RangeText(const host::InputDeclaration& input) {
  if (input.min && input.max) return NumberText(*input.min) + " to " + NumberText(*input.max);
  if (input.min) return NumberText(*input.min) + " or more";
  if (input.max) return NumberText(*input.max) + " or less";
  return "";
}

bool InRange(const host::InputDeclaration& input, double number) {
  return !(input.min && number < *input.min) && !(input.max && number > *input.max);
}

// An integer or float edit: a whole number for an integer input, within the declared range
// when `limits` say so.
bool EditNumber(InputStore& inputs, int slot, double number, bool isNumber, const std::string& got,
                const ValueLimits& limits, std::string* error) {
  const host::InputDeclaration& input = inputs.Find(slot)->declaration;
  if (input.kind == host::InputKind::kInteger && !(isNumber && IsWhole(number, INT_MIN, INT_MAX))) {
    return text::Fail(error, Named(input.label) + " takes a whole number" + got);
  }
  if (!isNumber || !std::isfinite(number))
    return text::Fail(error, Named(input.label) + " takes a number" + got);
  if (limits.declared && !InRange(input, number)) {
    return text::Fail(error, Named(input.label) + " takes " + RangeText(input) + got);
  }
  return inputs.EditNumber(slot, number);
}

// The rule of `limits` for the text input labelled `label`; nullptr when it has none.
const TextRule* RuleOf(const ValueLimits& limits, const std::string& label) {
  for (const TextRule& rule : limits.textRules) {
    if (label == rule.label) return &rule;
  }
  return nullptr;
}

bool EditText(InputStore& inputs, int slot, const std::string& text, const ValueLimits& limits,
              std::string* error) {
  const std::string& label = inputs.Find(slot)->declaration.label;
  std::string why;
  if (const TextRule* rule = RuleOf(limits, label); rule && !rule->check(text, &why)) {
    return text::Fail(error, Named(label) + " takes " + rule->takes + Got(text) + ": " + why);
  }
  return inputs.StoreText(slot, text);
}

std::string ChoiceList(const std::vector<std::string>& choices, const char* separator) {
  std::string list;
  for (const std::string& choice : choices) list += (list.empty() ? "" : separator) + choice;
  return list;
}

// The index of the choice whose text is `text`; -1 when none is.
int FindChoice(const InputStore& inputs, int slot, const std::string& text) {
  const std::vector<std::string> choices = ChoiceTexts(inputs.Find(slot)->declaration);
  for (size_t i = 0; i < choices.size(); ++i) {
    if (choices[i] == text) return static_cast<int>(i);
  }
  return -1;
}

bool RefuseChoiceText(const InputStore& inputs, int slot, const std::string& label, const std::string& text,
                      std::string* error) {
  return text::Fail(
      error, Named(label) + " has no choice \"" + text::BoundedText(text, kMostQuoted) +
                 "\" (it takes one of: " + ChoiceList(ChoiceTexts(inputs.Find(slot)->declaration), ", ") +
                 ", or an index from 0)");
}

bool SetChoiceIndex(InputStore& inputs, int slot, const std::string& label, double index,
                    const ValueLimits& limits, std::string* error) {
  const size_t count = ChoiceTexts(inputs.Find(slot)->declaration).size();
  const double last = limits.declared ? static_cast<double>(count) - 1 : INT_MAX;
  if (IsWhole(index, 0, last)) return inputs.EditNumber(slot, index);
  const std::string range =
      limits.declared ? text::Format("0 to %d", static_cast<int>(count) - 1) : "0 or more";
  return text::Fail(error, Named(label) + " takes a choice index (" + range + ") or the exact choice text");
}

}  // namespace

bool SetInputFromText(InputStore& inputs, const std::string& label, const std::string& text,
                      const ValueLimits& limits, std::string* error) {
  int slot = -1;
  const InputEntry* entry = Labelled(inputs, label, &slot, error);
  if (!entry) return false;
  double number = 0;
  switch (entry->declaration.kind) {
    case host::InputKind::kYesNo: {
      const std::string word = text::AsciiLower(text);
      if (word == "yes" || word == "true" || word == "1") return inputs.EditYesNo(slot, true);
      if (word == "no" || word == "false" || word == "0") return inputs.EditYesNo(slot, false);
      return text::Fail(error, Named(label) + " takes Yes or No" + Got(text));
    }
    case host::InputKind::kInteger:
    case host::InputKind::kFloat: {
      const bool isNumber = ParseWholeText(text, &number);
      return EditNumber(inputs, slot, number, isNumber, Got(text), limits, error);
    }
    case host::InputKind::kText: return EditText(inputs, slot, text, limits, error);
    case host::InputKind::kChoice:
      if (const int index = FindChoice(inputs, slot, text); index >= 0) return inputs.EditNumber(slot, index);
      if (ParseWholeText(text, &number)) return SetChoiceIndex(inputs, slot, label, number, limits, error);
      return RefuseChoiceText(inputs, slot, label, text, error);
  }
  return text::Fail(error, Named(label) + " has a kind this program does not know");
}

bool SetInputFromJson(InputStore& inputs, const std::string& label, json::Node value,
                      const ValueLimits& limits, std::string* error) {
  int slot = -1;
  const InputEntry* entry = Labelled(inputs, label, &slot, error);
  if (!entry) return false;
  const double number = value.number();
  const bool finite = value.IsNumber() && std::isfinite(number);
  const std::string textValue(value.text());
  switch (entry->declaration.kind) {
    case host::InputKind::kYesNo:
      if (!value.IsBoolean())
        return text::Fail(error, Named(label) + " takes true or false" + JsonGot(value));
      return inputs.EditYesNo(slot, value.boolean());
    case host::InputKind::kInteger:
    case host::InputKind::kFloat:
      return EditNumber(inputs, slot, number, finite, JsonGot(value), limits, error);
    case host::InputKind::kText:
      if (!value.IsString()) return text::Fail(error, Named(label) + " takes a string" + JsonGot(value));
      return EditText(inputs, slot, textValue, limits, error);
    case host::InputKind::kChoice:
      if (value.IsString()) {
        const int index = FindChoice(inputs, slot, textValue);
        return index >= 0 ? inputs.EditNumber(slot, index)
                          : RefuseChoiceText(inputs, slot, label, textValue, error);
      }
      return SetChoiceIndex(inputs, slot, label, finite ? number : -1, limits, error);
  }
  return text::Fail(error, Named(label) + " has a kind this program does not know");
}

std::string InputTakes(const host::InputDeclaration& input, const ValueLimits& limits) {
  switch (input.kind) {
    case host::InputKind::kYesNo: return "Yes or No";
    case host::InputKind::kInteger:
    case host::InputKind::kFloat: {
      const std::string range = limits.declared ? RangeText(input) : "";
      if (!range.empty()) return range;
      return input.kind == host::InputKind::kInteger ? "any whole number" : "any number";
    }
    case host::InputKind::kText: {
      const TextRule* rule = RuleOf(limits, input.label);
      return rule ? rule->takes : "any text";
    }
    case host::InputKind::kChoice: return ChoiceList(ChoiceTexts(input), "; ");
  }
  return "";
}

std::string UnknownInputMessage(const std::string& label) {
  return "the study declares no input \"" + text::BoundedText(label, kMostQuoted) + "\"";
}

}  // namespace chart
