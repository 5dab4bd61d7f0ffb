// The /find poll's clock: how long is left of a wait, also across the tick count's wrap.
#include "platform/Ticks.h"
#include "viewer/SearchPoll.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchPoll, TwentyOneLooksOneStepApart) {
    EXPECT_EQ(SearchLookCount, 21);
    EXPECT_EQ(SearchPollStepMs * (SearchLookCount - 1), SearchPollLimitMs);
}

TEST(SearchPoll, RemainingWaitCountsDownToZeroAndStaysThere) {
    EXPECT_EQ(RemainingWait(1000, 1000, 100), 100u);
    EXPECT_EQ(RemainingWait(1000, 1037, 100), 63u);
    EXPECT_EQ(RemainingWait(1000, 1099, 100), 1u);
    EXPECT_EQ(RemainingWait(1000, 1100, 100), 0u);
    EXPECT_EQ(RemainingWait(1000, 5000, 100), 0u);
    EXPECT_EQ(RemainingWait(1000, 1000, 0), 0u);
}

TEST(SearchPoll, RemainingWaitAcrossTheTickCountWrap) {
    EXPECT_EQ(RemainingWait(0xFFFFFFF0u, 0xFFFFFFFFu, 100), 85u);
    EXPECT_EQ(RemainingWait(0xFFFFFFF0u, 0x00000010u, 100), 68u);
    EXPECT_EQ(RemainingWait(0xFFFFFFF0u, 0x00000054u, 100), 0u);
}

} // namespace
