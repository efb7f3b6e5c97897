#include "chart/input_store.h"

#include <algorithm>
#include <cmath>

namespace chart {
namespace {

using host::InputKind;

bool IsNumeric(InputKind kind) { return kind != InputKind::kText; }

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(std::trunc(value), -2147483648.0, 2147483647.0));
}

}  // namespace

const char* InputKindName(host::InputKind kind) {
  switch (kind) {
    case InputKind::kYesNo: return "yesno";
    case InputKind::kInteger: return "integer";
    case InputKind::kFloat: return "float";
    case InputKind::kText: return "text";
    case InputKind::kChoice: return "choice";
  }
  return "unknown";
}

InputValue DefaultValue(const host::InputDeclaration& input) {
  InputValue value;
  if (input.kind == InputKind::kText) {
    value.text = input.defaultText;
  } else if (input.kind == InputKind::kYesNo) {
    value.number = input.defaultNumber != 0 ? 1 : 0;
  } else {
    value.number = input.defaultNumber;
  }
  return value;
}

std::vector<std::string> ChoiceTexts(const host::InputDeclaration& input) {
  std::vector<std::string> texts;
  if (input.kind != InputKind::kChoice || input.choices.empty()) return texts;
  size_t start = 0;
  while (true) {
    const size_t end = input.choices.find(';', start);
    texts.push_back(input.choices.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return texts;
}

void InputStore::Declare(int slot, const host::InputDeclaration& input) {
  if (slot < 0) return;
  InputEntry* known = entries_.Find(slot);
  if (known && known->declaration.kind == input.kind) {
    known->declaration = input;
    return;
  }
  entries_.At(slot) = InputEntry{input, DefaultValue(input)};
}

const InputEntry* InputStore::Find(int slot) const { return entries_.Find(slot); }

int InputStore::SlotOf(std::string_view label) const {
  for (const auto& [slot, entry] : entries_.All()) {
    if (entry.declaration.label == label) return slot;
  }
  return -1;
}

int InputStore::ReadInt(int slot) const {
  const InputEntry* entry = Find(slot);
  if (!entry || !IsNumeric(entry->declaration.kind)) return 0;
  return TruncateToInt(entry->value.number);
}

double InputStore::ReadFloat(int slot) const {
  const InputEntry* entry = Find(slot);
  if (!entry || !IsNumeric(entry->declaration.kind)) return 0;
  return entry->value.number;
}

std::string InputStore::ReadText(int slot) const {
  const InputEntry* entry = Find(slot);
  if (!entry || entry->declaration.kind != InputKind::kText) return kUnsetText;
  return entry->value.text;
}

bool InputStore::StoreInt(int slot, int value) {
  InputEntry* entry = FindMutable(slot);
  if (!entry || !IsNumeric(entry->declaration.kind)) return false;
  const bool yesNo = entry->declaration.kind == InputKind::kYesNo;
  entry->value.number = yesNo ? (value != 0 ? 1 : 0) : value;
  return true;
}

bool InputStore::StoreText(int slot, const std::string& text) {
  InputEntry* entry = FindMutable(slot);
  if (!entry || entry->declaration.kind != InputKind::kText) return false;
  entry->value.text = text;
  return true;
}

bool InputStore::EditNumber(int slot, double value) {
  InputEntry* entry = FindMutable(slot);
  if (!entry || !std::isfinite(value)) return false;
  const host::InputDeclaration& input = entry->declaration;
  switch (input.kind) {
    // Stored as given, also outside the declared range: the study applies its own bounds.
    case InputKind::kInteger:
    case InputKind::kChoice: value = std::trunc(value); break;
    case InputKind::kFloat: break;
    default: return false;
  }
  entry->value.number = value;
  return true;
}

bool InputStore::EditYesNo(int slot, bool value) {
  InputEntry* entry = FindMutable(slot);
  if (!entry || entry->declaration.kind != InputKind::kYesNo) return false;
  entry->value.number = value ? 1 : 0;
  return true;
}

}  // namespace chart
