// One [[symbol]] table of the live service's configuration: its name, its chain source, how
// often it is captured, and what its levels are mapped with.
#pragma once

#include <string>
#include <string_view>

#include "live/config_fields.h"
#include "live/live_config.h"

namespace live {

// The symbol names the configuration accepts once upper-cased: 1 to 16 of A-Z, 0-9, '.', '-',
// '_', starting with a letter or a digit.
bool IsSymbolName(std::string_view name);

// Reads the symbol of `reader`'s table into `*out`, reporting each problem through `reader`;
// relative file paths are taken from `configDir`, "env:NAME" header values from `env`.
void ReadSymbol(TableReader& reader, const std::string& configDir, const EnvironmentLookup& env,
                SymbolConfig* out);

}  // namespace live
