// The timing of the /find poll: the search dialog is looked for at counter values 0, 100,
// ..., 2000 ms, with a wait of one step after each look that finds nothing.
#pragma once
#include <cstdint>

inline constexpr std::uint32_t SearchPollStepMs = 100;
inline constexpr std::uint32_t SearchPollLimitMs = 2000;

// Number of looks in all: one at each counter value from 0 to the limit.
inline constexpr int SearchLookCount = SearchPollLimitMs / SearchPollStepMs + 1;
