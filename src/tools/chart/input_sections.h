// The sections the settings dialog groups the study's inputs into (the platform's dialog lists
// them flat; this program's page has room to say what belongs together).
#pragma once

#include <string>

namespace chart {

// The section of the input the study declares at `slot` with `label`: one of the Ordinel
// study's sections when that slot of its input table carries that label, "Other" for any
// other slot or label (another study, or a table this program does not know).
std::string InputSection(int slot, const std::string& label);

}  // namespace chart
