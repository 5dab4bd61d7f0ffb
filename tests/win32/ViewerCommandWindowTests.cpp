// /title acting on windows of this test process.
#include "platform/WindowClass.h"
#include "platform/WindowHandles.h"
#include "viewer/TitleCommand.h"
#include "tests/support/WindowText.h"
#include "viewer/ViewerWindows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT ExtraCommand = 0x7770;

UniqueWindow CreateTopWindow(const wchar_t* className, const wchar_t* title) {
    RegisterWindowClass({className, DefWindowProcW});
    UniqueWindow window(CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                                        50, 300, 200, nullptr, nullptr, Instance(), nullptr));
    return window;
}

// Sets the viewer for one test and clears it again.
struct ViewerFor {
    explicit ViewerFor(HWND window) { CurrentViewer = window; }
    ~ViewerFor() { CurrentViewer = nullptr; }
};

// Wine shows no effect of GetSystemMenu(window, TRUE) on another process's window, so the
// reset of the window menu is checked on a window of this process.
TEST(TitleCommand, RetitledViewerHasTheSystemDefaultWindowMenu) {
    const UniqueWindow viewer = CreateTopWindow(L"TitleCommandTest", L"Own viewer");
    ASSERT_TRUE(viewer);
    HMENU menu = GetSystemMenu(viewer.get(), FALSE);
    const int defaultCount = GetMenuItemCount(menu);
    ASSERT_TRUE(AppendMenuW(menu, MF_STRING, ExtraCommand, L"Extra"));
    ASSERT_EQ(GetMenuItemCount(menu), defaultCount + 1);

    const ViewerFor current(viewer.get());
    TitleCommand(L"Own viewer retitled|Own viewer");
    EXPECT_EQ(TitleOf(viewer.get()), L"Own viewer retitled");
    menu = GetSystemMenu(viewer.get(), FALSE);
    EXPECT_EQ(GetMenuState(menu, ExtraCommand, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuItemCount(menu), defaultCount);
}

TEST(TitleCommand, ViewerLookedUpByOldTitleMustBeOfTheViewerClass) {
    const UniqueWindow other = CreateTopWindow(L"TitleCommandTest", L"Lookup old title");
    ASSERT_TRUE(other);
    const ViewerFor none(nullptr);
    TitleCommand(L"Lookup new title|Lookup old title");
    // the window is no viewer, and it would be a rival only if there were a viewer
    EXPECT_EQ(CurrentViewer, nullptr);
    EXPECT_EQ(TitleOf(other.get()), L"Lookup old title");

    const UniqueWindow viewer = CreateTopWindow(ViewerClass, L"Lookup viewer title");
    ASSERT_TRUE(viewer);
    TitleCommand(L"Lookup viewer found|lookup VIEWER title");
    EXPECT_EQ(CurrentViewer, viewer.get());
    EXPECT_EQ(TitleOf(viewer.get()), L"Lookup viewer found");
}

} // namespace
