// Reading a command line through its option table, and the near miss an unknown option names.
#include <algorithm>

#include "formats/near_names.h"
#include "formats/option_table.h"
#include "text/fail.h"

namespace formats {
namespace {

std::string_view Bare(std::string_view name) {
  while (!name.empty() && name.front() == '-') name.remove_prefix(1);
  return name;
}

const OptionRow* FindRow(const OptionTable& table, std::string_view name) {
  for (const OptionRow& row : table.options) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

std::string UnknownOption(const OptionTable& table, const std::string& name) {
  const std::string near = NearestOption(table, name);
  return "unknown option '" + name + "'" + (near.empty() ? "" : " (did you mean " + near + "?)");
}

// Splits "--name=value"; `*inlineValue` says whether '=' was there.
std::string OptionName(const std::string& argument, std::string* value, bool* inlineValue) {
  const size_t equals = argument.find('=');
  *inlineValue = equals != std::string::npos;
  if (!*inlineValue) return argument;
  *value = argument.substr(equals + 1);
  return argument.substr(0, equals);
}

struct Reading {
  const OptionTable& table;
  const std::vector<std::string>& args;
  ParsedArguments* parsed;
  std::string* error;
  size_t next = 0;         // the argument to read
  size_t positionals = 0;  // how many were stored

  bool TakeOption(const std::string& argument) {
    std::string value;
    bool inlineValue = false;
    const std::string name = OptionName(argument, &value, &inlineValue);
    const OptionRow* row = FindRow(table, name);
    if (row == nullptr && name != "--help" && name != "-h")
      return text::Fail(error, UnknownOption(table, name));
    const bool flag = row == nullptr || row->valueName.empty();
    if (flag && inlineValue) return text::Fail(error, name + " takes no value");
    if (row == nullptr) {
      parsed->help = true;
      return true;
    }
    if (!flag && !inlineValue) {
      if (next >= args.size()) return text::Fail(error, name + " needs a value");
      value = args[next++];
    }
    if (!flag && value.empty()) return text::Fail(error, name + " needs a value");
    if (!row->repeatable && WasGiven(*parsed, name)) return text::Fail(error, name + " given twice");
    parsed->given.push_back(name);
    std::string why;
    if (row->read(value, &why)) return true;
    if (!why.empty()) return text::Fail(error, name + ": " + why);
    return text::Fail(error, name + " needs " + row->expected + ", got '" + value + "'");
  }

  bool TakePositional(const std::string& argument) {
    if (positionals >= table.positionals.size()) {
      return text::Fail(error, "unexpected argument '" + argument + "'");
    }
    const PositionalRow& row = table.positionals[positionals++];
    if (argument.empty()) return text::Fail(error, "the " + row.noun + " argument is empty");
    row.store(argument);
    return true;
  }

  bool All() {
    while (next < args.size() && !parsed->help) {
      const std::string& argument = args[next++];
      const bool option = argument.size() > 1 && argument.front() == '-';
      if (!(option ? TakeOption(argument) : TakePositional(argument))) return false;
    }
    if (parsed->help) return true;
    if (positionals < table.positionals.size()) {
      return text::Fail(error, "no " + table.positionals[positionals].noun + " given");
    }
    return !table.check || table.check(*parsed, error);
  }
};

}  // namespace

bool ParseArguments(const OptionTable& table, const std::vector<std::string>& args, ParsedArguments* parsed,
                    std::string* error) {
  *parsed = ParsedArguments{};
  return Reading{table, args, parsed, error, 0, 0}.All();
}

bool WasGiven(const ParsedArguments& parsed, std::string_view name) {
  return std::find(parsed.given.begin(), parsed.given.end(), name) != parsed.given.end();
}

std::string NearestOption(const OptionTable& table, std::string_view unknown) {
  const std::string_view bare = Bare(unknown.substr(0, unknown.find('=')));
  std::vector<std::string_view> names;
  for (const OptionRow& row : table.options) names.push_back(row.name);
  names.push_back("--help");
  // A name cut short says more than a typing slip: --clock is --clock-rate, not --click.
  std::vector<std::string_view> extending;
  for (const std::string_view name : names) {
    if (!bare.empty() && Bare(name).starts_with(bare)) extending.push_back(name);
  }
  if (extending.size() == 1) return std::string(extending.front());
  std::string_view best;
  size_t bestDistance = 3;  // a suggestion is at most two edits away
  for (const std::string_view name : names) {
    // Lengths more than two apart are more than two edits apart: a long argument costs nothing.
    if (bare.size() > Bare(name).size() + 2 || Bare(name).size() > bare.size() + 2) continue;
    const size_t distance = EditDistance(bare, Bare(name));
    if (distance < bestDistance && distance < bare.size()) {
      best = name;
      bestDistance = distance;
    }
  }
  return std::string(best);
}

}  // namespace formats
