// ApplySize on a real top-level window: a size that differs is set, a minimized window is
// left as it is.
#include "platform/WindowUtil.h"
#include "tests/support/MessagePump.h"
#include "tests/support/WindowText.h"

#include <gtest/gtest.h>

namespace {

TEST(ApplySize, SetsOnlyWhatDiffersAndLeavesAMinimizedWindowAlone) {
    UniqueWindow window = CreateHostWindow();
    ApplySize(window.get(), 360, 180);
    RECT rect = WindowRect(window.get());
    EXPECT_EQ(rect.right - rect.left, 360);
    EXPECT_EQ(rect.bottom - rect.top, 180);
    ShowWindow(window.get(), SW_MINIMIZE);
    PumpFor(100);
    ApplySize(window.get(), 500, 300);
    ShowWindow(window.get(), SW_RESTORE);
    PumpFor(100);
    rect = WindowRect(window.get());
    EXPECT_EQ(rect.right - rect.left, 360);
    EXPECT_EQ(rect.bottom - rect.top, 180);
}

} // namespace
