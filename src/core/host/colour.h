// RGB colour as the host passes it for subgraphs and drawings.
#pragma once

#include <cstdint>

namespace host {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour packed as 0x00BBGGRR, the host's 32-bit colour value.
inline uint32_t PackedColour(Rgb c) { return uint32_t(c.r) | (uint32_t(c.g) << 8) | (uint32_t(c.b) << 16); }

}  // namespace host
