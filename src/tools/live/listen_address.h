// The address the live service listens on, as the configuration writes it ("127.0.0.1:8077",
// "[::1]:8077", "localhost:8077", "0.0.0.0:8077"), and whether it stays on this machine.
#pragma once

#include <string>
#include <string_view>

#include "live/live_config.h"

namespace live {

// Reads "HOST:PORT": HOST an IPv4 address, a bracketed IPv6 address or a host name; PORT from 0
// (any free port) to 65535. False with a message for any other text.
bool ParseListenAddress(std::string_view text, ListenAddress* out, std::string* error);

// True for the loopback addresses (127.0.0.0/8, ::1) and "localhost", which no other machine
// can reach.
bool IsLoopback(const ListenAddress& address);

}  // namespace live
