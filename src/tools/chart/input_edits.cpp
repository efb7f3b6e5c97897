#include "chart/input_edits.h"

#include <climits>
#include <cmath>

#include "text/ascii.h"
#include "text/fail.h"
#include "text/format.h"

namespace chart {
namespace {

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
const InputEntry* Labelled(const InputStore& inputs, const std::string& label, int* slot, std::string* error) {
  *slot = inputs.SlotOf(label);
  if (*slot < 0) {
    *error = "the study declares no input \"" + label + "\"";
    return nullptr;
  }
  return inputs.Find(*slot);
}

std::string Named(const std::string& label) { return "input \"" + label + "\""; }

std::string ChoiceList(const std::vector<std::string>& choices) {
  std::string list;
  for (const std::string& choice : choices) list += (list.empty() ? "" : ", ") + choice;
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
  return text::Fail(error, Named(label) + " has no choice \"" + text + "\" (it takes one of: " +
                           ChoiceList(ChoiceTexts(inputs.Find(slot)->declaration)) + ", or an index from 0)");
}

bool SetChoiceIndex(InputStore& inputs, int slot, const std::string& label, double index, ChoiceIndexes indexes,
                    std::string* error) {
  const size_t count = ChoiceTexts(inputs.Find(slot)->declaration).size();
  const double last = indexes == ChoiceIndexes::kAny ? INT_MAX : static_cast<double>(count) - 1;
  if (IsWhole(index, 0, last)) return inputs.EditNumber(slot, index);
  const std::string range = indexes == ChoiceIndexes::kAny ? "0 or more" : text::Format("0 to %d", static_cast<int>(count) - 1);
  return text::Fail(error, Named(label) + " takes a choice index (" + range + ") or the exact choice text");
}

}  // namespace

bool SetInputFromText(InputStore& inputs, const std::string& label, const std::string& text, std::string* error) {
  int slot = -1;
  const InputEntry* entry = Labelled(inputs, label, &slot, error);
  if (!entry) return false;
  const std::string got = ", got '" + text + "'";
  double number = 0;
  switch (entry->declaration.kind) {
    case host::InputKind::kYesNo: {
      const std::string word = text::AsciiLower(text);
      if (word == "yes" || word == "true" || word == "1") return inputs.EditYesNo(slot, true);
      if (word == "no" || word == "false" || word == "0") return inputs.EditYesNo(slot, false);
      return text::Fail(error, Named(label) + " takes Yes or No" + got);
    }
    case host::InputKind::kInteger:
      if (!ParseWholeText(text, &number) || !IsWhole(number, INT_MIN, INT_MAX)) {
        return text::Fail(error, Named(label) + " takes a whole number" + got);
      }
      return inputs.EditNumber(slot, number);
    case host::InputKind::kFloat:
      if (!ParseWholeText(text, &number)) return text::Fail(error, Named(label) + " takes a number" + got);
      return inputs.EditNumber(slot, number);
    case host::InputKind::kText:
      return inputs.StoreText(slot, text);
    case host::InputKind::kChoice:
      if (const int index = FindChoice(inputs, slot, text); index >= 0) return inputs.EditNumber(slot, index);
      if (ParseWholeText(text, &number)) return SetChoiceIndex(inputs, slot, label, number, ChoiceIndexes::kListed, error);
      return RefuseChoiceText(inputs, slot, label, text, error);
  }
  return text::Fail(error, Named(label) + " has a kind this program does not know");
}

bool SetInputFromJson(InputStore& inputs, const std::string& label, json::Node value, ChoiceIndexes indexes,
                      std::string* error) {
  int slot = -1;
  const InputEntry* entry = Labelled(inputs, label, &slot, error);
  if (!entry) return false;
  const double number = value.number();
  const bool finite = value.IsNumber() && std::isfinite(number);
  const std::string textValue(value.text());
  switch (entry->declaration.kind) {
    case host::InputKind::kYesNo:
      if (!value.IsBoolean()) return text::Fail(error, Named(label) + " takes true or false");
      return inputs.EditYesNo(slot, value.boolean());
    case host::InputKind::kInteger:
      if (!finite || !IsWhole(number, INT_MIN, INT_MAX)) {
        return text::Fail(error, Named(label) + " takes a whole number");
      }
      return inputs.EditNumber(slot, number);
    case host::InputKind::kFloat:
      if (!finite) return text::Fail(error, Named(label) + " takes a number");
      return inputs.EditNumber(slot, number);
    case host::InputKind::kText:
      if (!value.IsString()) return text::Fail(error, Named(label) + " takes a string");
      return inputs.StoreText(slot, textValue);
    case host::InputKind::kChoice:
      if (value.IsString()) {
        const int index = FindChoice(inputs, slot, textValue);
        return index >= 0 ? inputs.EditNumber(slot, index) : RefuseChoiceText(inputs, slot, label, textValue, error);
      }
      return SetChoiceIndex(inputs, slot, label, finite ? number : -1, indexes, error);
  }
  return text::Fail(error, Named(label) + " has a kind this program does not know");
}

}  // namespace chart
