#include "formats/option_table.h"

#include <algorithm>
#include <cmath>

#include "text/fail.h"
#include "text/format.h"

namespace formats {
namespace {

std::string Bound(double value) { return text::RoundTripDouble(value); }

// "a number from 0 to 3600", "a number above 0 up to 3600", "a number above 0", "a number".
std::string DescribeRange(const NumberRange& r) {
  const bool hasMin = std::isfinite(r.min);
  const bool hasMax = std::isfinite(r.max);
  std::string words = "a number";
  if (hasMin) words += (r.minOpen ? " above " : hasMax ? " from " : " of at least ") + Bound(r.min);
  if (hasMax) {
    const bool closedMin = hasMin && !r.minOpen;
    const char* joint = r.maxOpen ? (closedMin ? " to below " : " below ") : closedMin ? " to " : " up to ";
    words += joint + Bound(r.max);
  }
  return words;
}

bool InRange(double value, const NumberRange& r) {
  if (value < r.min || value > r.max) return false;
  return !(r.minOpen && value == r.min) && !(r.maxOpen && value == r.max);
}

std::string Joined(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words) out += (out.empty() ? "" : ", ") + word;
  return out;
}

OptionRow Row(std::string name, std::string valueName, std::string expected, std::string help,
              ValueReader read) {
  return {std::move(name), std::move(valueName), std::move(help), std::move(expected),
          false,           std::move(read)};
}

}  // namespace

OptionRow Flag(std::string name, std::string help, Sink<bool> target) {
  return Row(std::move(name), "", "", std::move(help), [target](const std::string&, std::string*) {
    target(true);
    return true;
  });
}

OptionRow Whole(std::string name, std::string valueName, int min, int max, std::string help,
                Sink<int> target) {
  std::string expected = text::Format("a whole number from %d to %d", min, max);
  return Row(std::move(name), std::move(valueName), std::move(expected), std::move(help),
             [min, max, target](const std::string& value, std::string*) {
               int number = 0;
               if (!ReadWholeNumber(value, min, max, &number)) return false;
               target(number);
               return true;
             });
}

OptionRow Number(std::string name, std::string valueName, NumberRange range, std::string help,
                 Sink<double> target) {
  return Row(std::move(name), std::move(valueName), DescribeRange(range), std::move(help),
             [range, target](const std::string& value, std::string*) {
               double number = 0;
               if (text::ParseDouble(value, &number) != value.size() || !std::isfinite(number) ||
                   !InRange(number, range)) {
                 return false;
               }
               target(number);
               return true;
             });
}

OptionRow Text(std::string name, std::string valueName, std::string help, Sink<std::string> target) {
  return Row(std::move(name), std::move(valueName), "a value", std::move(help),
             [target](const std::string& value, std::string*) {
               target(value);
               return true;
             });
}

OptionRow TextList(std::string name, std::string valueName, std::string help,
                   std::vector<std::string>* target) {
  return Repeatable(Text(std::move(name), std::move(valueName), std::move(help),
                         [target](const std::string& value) { target->push_back(value); }));
}

OptionRow Choice(std::string name, std::string valueName, std::vector<std::string> choices, std::string help,
                 Sink<std::string> target) {
  std::string expected = "one of " + Joined(choices);
  return Row(std::move(name), std::move(valueName), std::move(expected), std::move(help),
             [choices = std::move(choices), target](const std::string& value, std::string*) {
               if (std::find(choices.begin(), choices.end(), value) == choices.end()) return false;
               target(value);
               return true;
             });
}

OptionRow Checked(std::string name, std::string valueName, std::string expected, std::string help,
                  ValueReader read) {
  return Row(std::move(name), std::move(valueName), std::move(expected), std::move(help), std::move(read));
}

OptionRow Repeatable(OptionRow row) {
  row.repeatable = true;
  return row;
}

PositionalRow Positional(std::string valueName, std::string noun, std::string help, Sink<std::string> store) {
  return {std::move(valueName), std::move(noun), std::move(help), std::move(store)};
}

bool ReadWholeNumber(std::string_view text, int min, int max, int* out) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty()) return false;
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    // Past ten digits the value is out of every int range already; stop it growing further.
    if (value <= std::numeric_limits<int>::max()) value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < min || value > max) return false;
  *out = static_cast<int>(value);
  return true;
}

}  // namespace formats
