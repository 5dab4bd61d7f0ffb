// Waits measured by the system's 32-bit tick count.
#pragma once
#include <cstdint>

// Milliseconds left of a wait of length that began at tick start, the tick count now
// being now; 0 once it has passed. The tick count wraps about every 49.7 days.
std::uint32_t RemainingWait(std::uint32_t start, std::uint32_t now, std::uint32_t length);
