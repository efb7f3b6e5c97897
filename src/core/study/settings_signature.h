// The settings signature: one 32-bit FNV-1a hash over every input and colour that changes
// what is drawn, so the driver can tell when a redraw is due without refetching.
#pragma once

#include <cstdint>
#include <string_view>

#include "study/call_inputs.h"

namespace study {

inline constexpr uint32_t kFnvOffsetBasis = 2166136261u;
inline constexpr uint32_t kFnvPrime = 16777619u;

// h = (h XOR item) * prime, wrapping at 32 bits.
uint32_t MixItem(uint32_t hash, uint32_t item);
// Mixes every byte of `text` as one item; an empty text mixes nothing.
uint32_t MixBytes(uint32_t hash, std::string_view text);
// A float input as its value times 1000, rounded half away from zero, as a 32-bit integer
// (clamped to the int32 range; non-finite values mix as 0).
uint32_t ScaledFloatItem(double value);

// The signature of a call's inputs and subgraph colours.
uint32_t SettingsSignature(const InputValues& values);

}  // namespace study
