// The About window open in the test's own process, as colours change under it.
#include "about/AboutWindow.h"
#include "controls/LinkBox.h"
#include "tests/support/MessagePump.h"
#include "tests/support/SystemColors.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

// The windows of this thread told of new colours.
std::set<HWND> toldOfColours;
LRESULT CALLBACK RecordColourChange(int code, WPARAM wParam, LPARAM lParam) {
    if (const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        code == HC_ACTION && call->message == WM_SYSCOLORCHANGE)
        toldOfColours.insert(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The About window, open in this process, follows colours changed while it is open: its
// link takes a high-contrast theme's hyperlink colour and its blue again once the theme is
// left, and its common controls are told, which Windows leaves to their top-level window.
// (In this process: Wine gives a running program no other colours than the ones it read at
// its start, Windows gives every program the new ones.)
TEST(AboutWindowColors, TheOpenWindowFollowsAChangeOfColours) {
    AboutCommand(L"99.9"); // a newer version known: the link shows, no site is asked
    ASSERT_TRUE(AboutWindowIsOpen());
    const HWND about = FindWindowW(L"VarnholtAbout", nullptr);
    const HWND link = FindWindowExW(about, nullptr, LinkBox::ClassName, nullptr);
    ASSERT_TRUE(link);
    SetCursorPos(1, 1);
    EXPECT_TRUE(PumpUntil([&] { return BluePixels(link) > 20; }, 5000));
    const std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&UnhookWindowsHookEx)> hook(
        SetWindowsHookExW(WH_CALLWNDPROC, RecordColourChange, nullptr, GetCurrentThreadId()),
        &UnhookWindowsHookEx);
    {
        const SystemColorsSet highContrast(HighContrastBlack());
        EXPECT_TRUE(PumpUntil([&] { return YellowPixels(link) > 20; }, 5000))
            << "the link is not drawn in the hyperlink colour";
        EXPECT_EQ(BluePixels(link), 0);
    }
    EXPECT_TRUE(PumpUntil([&] { return BluePixels(link) > 20; }, 5000))
        << "the design's blue did not come back";
    EXPECT_EQ(YellowPixels(link), 0);
    for (const HWND control :
         {FindWindowExW(about, nullptr, L"Edit", nullptr), GetDlgItem(about, IDOK)})
        EXPECT_EQ(toldOfColours.count(control), 1u) << control;
    CloseAboutWindow();
}

} // namespace
