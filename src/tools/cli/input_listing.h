// `ordinel chart --list-inputs`: every input the study declares, with what --set takes for it.
#pragma once

#include <string>

#include "chart/input_store.h"
#include "cli/chart_options.h"

namespace cli {

// One line per declared input in slot order, four fields apart by tabs: the label, its kind
// (yesno, integer, float, text, choice), its default as --set would write it, and what it takes
// (chart::InputTakes within chart::DialogLimits: its range, its choices...).
std::string InputListingText(const chart::InputStore& inputs);

// Opens the study library that `options` names, runs its declaration call on a chart of its
// own and prints InputListingText on standard output. kExitOk, or kExitFailed with a message on
// standard error when the library cannot be opened.
int ListInputs(const ChartOptions& options);

}  // namespace cli
