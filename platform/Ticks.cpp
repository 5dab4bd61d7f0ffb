#include "platform/Ticks.h"

std::uint32_t RemainingWait(std::uint32_t start, std::uint32_t now, std::uint32_t length) {
    // Unsigned difference: correct across one wrap of the tick count.
    const std::uint32_t elapsed = now - start;
    return elapsed >= length ? 0 : length - elapsed;
}
