// The study's inputs as the host keeps them: the declaration of each slot and its persisted
// value, read back by kind the way the platform does.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "chart/numbered_entries.h"
#include "host/declarations.h"

namespace chart {

inline constexpr const char* kUnsetText = "Unset";

// A persisted value: `number` for yes/no (0/1), integer, float and choice (index) inputs,
// `text` for text inputs.
struct InputValue {
  double number = 0;
  std::string text;
};

struct InputEntry {
  host::InputDeclaration declaration;
  InputValue value;
};

// The name of `kind` in listings and reports: "yesno", "integer", "float", "text", "choice".
const char* InputKindName(host::InputKind kind);

// The value a freshly declared input starts with.
InputValue DefaultValue(const host::InputDeclaration& input);

// The choice texts of a choice input's ';'-separated list, in order; empty for other kinds.
std::vector<std::string> ChoiceTexts(const host::InputDeclaration& input);

class InputStore {
 public:
  // Declares `slot`. A slot declared again with the same kind keeps its value (values persist
  // with the chart); otherwise it starts from the default. Negative slots are ignored.
  void Declare(int slot, const host::InputDeclaration& input);

  // The entry of `slot`; nullptr when it was never declared.
  const InputEntry* Find(int slot) const;
  // The slot of the first input (lowest slot) labelled exactly `label`; -1 when none is.
  int SlotOf(std::string_view label) const;
  // Every declared input by slot, in slot order.
  const std::map<int, InputEntry>& Entries() const { return entries_.All(); }

  // Yes/no as 0/1, integer as itself, choice as its index (also beyond its list), float
  // truncated toward zero and clamped to the int range, text and undeclared slots 0.
  int ReadInt(int slot) const;
  // Every numeric kind as its number; text and undeclared slots 0.
  double ReadFloat(int slot) const;
  // A text input's text; any other kind and undeclared slots read as "Unset".
  std::string ReadText(int slot) const;

  // The study's own writes, stored as given (no range applied): numeric kinds take the
  // integer (yes/no as value != 0); false for a text input or an undeclared slot.
  bool StoreInt(int slot, int value);
  // False unless `slot` is a declared text input.
  bool StoreText(int slot, const std::string& text);

  // A user's edit in the settings dialog, stored as given (integers and choices truncated);
  // the study applies its own bounds. False for yes/no, text or undeclared slots.
  bool EditNumber(int slot, double value);
  // False unless `slot` is a declared yes/no input.
  bool EditYesNo(int slot, bool value);

 private:
  InputEntry* FindMutable(int slot) { return entries_.Find(slot); }
  // A call reading all its inputs pays no tree walk per read for the low slots.
  NumberedEntries<InputEntry, 1024> entries_;
};

}  // namespace chart
