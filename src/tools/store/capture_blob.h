// The packed forms in which a capture's contracts and exposures are stored: one blob each per
// capture, a format byte first, expirations as day numbers in a table, a strike written once for
// a run of entries at the same strike, numbers as packed_bytes.h writes them. Contracts are kept
// exactly (about ten bytes each where the numbers are short decimals); exposures, which are
// drawn and can be computed again from the contracts, keep single-precision values (seven
// significant digits, 17 to 20 bytes each).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/option_chain.h"
#include "store/capture_record.h"

namespace store {

inline constexpr unsigned char kContractsFormat = 1;
inline constexpr unsigned char kExposuresFormat = 1;

// The contracts packed in their order. False, with a message naming the contract, for an
// expiration that is not a real YYYY-MM-DD date or a number that is not finite.
bool PackContracts(const std::vector<engine::OptionContract>& contracts, std::string* blob,
                   std::string* error);

// The contracts of a PackContracts blob. False, with a message, for an unknown format, a
// truncated or corrupt blob; `*contracts` is left alone then.
bool UnpackContracts(std::string_view blob, std::vector<engine::OptionContract>* contracts,
                     std::string* error);

// The exposures packed in their order, each value rounded to single precision, with the same
// refusals as PackContracts and a value beyond single precision's range refused too.
bool PackExposures(const std::vector<StrikeExposure>& exposures, std::string* blob, std::string* error);

// The exposures of a PackExposures blob (values as rounded), with the same refusals as
// UnpackContracts.
bool UnpackExposures(std::string_view blob, std::vector<StrikeExposure>* exposures, std::string* error);

}  // namespace store
