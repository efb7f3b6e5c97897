// A command's options as one table: each row names an option, the value it takes and its help
// line. The parser, its error messages and the usage text all come from the table, so every
// command reads `--opt VALUE` and `--opt=VALUE` alike and says the same things about bad ones.
#pragma once

#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace formats {

// Where a read value goes: a plain target (`&options.port`) or a callable taking the value.
template <typename T>
class Sink {
 public:
  Sink(T* target) : put_([target](const T& value) { *target = value; }) {}  // NOLINT: implicit by design
  template <typename F>
  requires std::is_invocable_v<const F&, const T&> Sink(F put)
      : put_(std::move(put)) {}  // NOLINT: implicit by design
  void operator()(const T& value) const { put_(value); }

 private:
  std::function<void(const T&)> put_;
};

// Reads a value and stores it; false when the value is not what the row expects, with `*why`
// set when the reader knows more than the row's `expected` says.
using ValueReader = std::function<bool(const std::string& value, std::string* why)>;

// One option of a table; the factories below fill it.
struct OptionRow {
  std::string name;       // "--port"
  std::string valueName;  // "N" in the usage; empty for a flag, which takes no value
  std::string help;       // the usage's help; '\n' starts a line under the one before
  std::string expected;   // what the value must be: "a whole number from 0 to 65535"
  bool repeatable = false;
  ValueReader read;  // a flag's reader gets ""
};

// An argument that is not an option, in the order the rows are declared; each must be given.
struct PositionalRow {
  std::string valueName;  // "CHAIN|-" in the usage
  std::string noun;       // "chain": "no chain given" when it is missing
  std::string help;
  Sink<std::string> store;
};

// What a successful parse saw besides the stored values.
struct ParsedArguments {
  bool help = false;               // --help or -h: nothing after it was read
  std::vector<std::string> given;  // the option names, in command-line order
};

// Everything a command line may hold, and the texts around the usage.
struct OptionTable {
  std::string command;  // "ordinel chart": the usage line names it
  std::string summary;  // lines printed under the usage line
  std::vector<PositionalRow> positionals;
  std::vector<OptionRow> options;
  std::string epilogue;  // notes after the options that belong to no single one
  // The rules between options, run after a parse that met no --help; false with a message.
  std::function<bool(const ParsedArguments& parsed, std::string* error)> check;
};

// The ends of a decimal range; an infinite end is no bound, an open end is itself excluded.
struct NumberRange {
  double min = -std::numeric_limits<double>::infinity();
  double max = std::numeric_limits<double>::infinity();
  bool minOpen = false;
  bool maxOpen = false;
};

// An option that takes no value and sets `target` when given.
OptionRow Flag(std::string name, std::string help, Sink<bool> target);
// A whole number in [min, max] (digits with an optional '-').
OptionRow Whole(std::string name, std::string valueName, int min, int max, std::string help,
                Sink<int> target);
// A finite decimal number within `range`, read the same in every locale.
OptionRow Number(std::string name, std::string valueName, NumberRange range, std::string help,
                 Sink<double> target);
// Any non-empty text: a name, a path, a time read later by its user.
OptionRow Text(std::string name, std::string valueName, std::string help, Sink<std::string> target);
// A repeatable text, each value appended to `target` in command-line order.
OptionRow TextList(std::string name, std::string valueName, std::string help,
                   std::vector<std::string>* target);
// One of `choices`, spelled exactly.
OptionRow Choice(std::string name, std::string valueName, std::vector<std::string> choices, std::string help,
                 Sink<std::string> target);
// A text that `read` checks and stores; `expected` names the form for its errors.
OptionRow Checked(std::string name, std::string valueName, std::string expected, std::string help,
                  ValueReader read);
// `row` allowed more than once.
OptionRow Repeatable(OptionRow row);
// A required argument that is not an option ('-' counts as one: standard input).
PositionalRow Positional(std::string valueName, std::string noun, std::string help, Sink<std::string> store);

// Reads `args` through `table`, storing each value as it comes, then runs `table.check`.
// An argument starting with '-' (other than "-") is an option; an option's value is the next
// argument, whatever it looks like, or the text after '=' in the same one. False with a message
// for an unknown option (naming a near one), a missing or empty value, a value the row refuses,
// a flag given a value, a non-repeatable option given twice, an extra or missing positional,
// and whatever `check` refuses. Stops at --help or -h with `parsed->help` set.
bool ParseArguments(const OptionTable& table, const std::vector<std::string>& args, ParsedArguments* parsed,
                    std::string* error);

// Whether `parsed` saw the option `name`.
bool WasGiven(const ParsedArguments& parsed, std::string_view name);

// The table's option (or --help) nearest to `unknown`, dashes aside: the one name that begins
// with `unknown`, else the closest within two edits (a swap of neighbours is one) and fewer
// edits than `unknown` has letters; "" when there is none.
std::string NearestOption(const OptionTable& table, std::string_view unknown);

// "usage: COMMAND ..." with the summary, one aligned line per positional and option (help
// continuation lines under it), the --help line and the epilogue.
std::string UsageText(const OptionTable& table);

// The whole of `text` as a whole number in [min, max]; false, leaving `*out`, for anything else.
bool ReadWholeNumber(std::string_view text, int min, int max, int* out);

}  // namespace formats
