// /title, /keyb and /keyh acting on windows of this test process.
#include "platform/UniqueHandle.h"
#include "viewer/KeyboardCommands.h"
#include "viewer/TitleCommand.h"
#include "viewer/ViewerWindows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT ExtraCommand = 0x7770;

UniqueWindow CreateTopWindow(const wchar_t* className, const wchar_t* title) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass); // a second registration fails harmlessly
    UniqueWindow window(CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                                        50, 300, 200, nullptr, nullptr, windowClass.hInstance,
                                        nullptr));
    return window;
}

std::wstring TitleOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// Sets the viewer for one test and clears it again.
struct ViewerFor {
    explicit ViewerFor(HWND window) { CurrentViewer = window; }
    ~ViewerFor() { CurrentViewer = nullptr; }
};

bool TakeLanguageRequest(HWND window, LPARAM& layout) {
    MSG message;
    if (!PeekMessageW(&message, window, WM_INPUTLANGCHANGEREQUEST, WM_INPUTLANGCHANGEREQUEST,
                      PM_REMOVE))
        return false;
    layout = message.lParam;
    return message.wParam == 0;
}

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

TEST(TitleCommand, EmptyArgumentLeavesTitleAndMenuAlone) {
    const UniqueWindow viewer = CreateTopWindow(L"TitleCommandTest", L"Untouched viewer");
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(AppendMenuW(GetSystemMenu(viewer.get(), FALSE), MF_STRING, ExtraCommand, L"Extra"));
    const ViewerFor current(viewer.get());
    TitleCommand(L"");
    EXPECT_EQ(TitleOf(viewer.get()), L"Untouched viewer");
    EXPECT_NE(GetMenuState(GetSystemMenu(viewer.get(), FALSE), ExtraCommand, MF_BYCOMMAND),
              static_cast<UINT>(-1));
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

TEST(KeyboardCommand, PostsTheLoadedLayoutToTheViewer) {
    const UniqueWindow viewer = CreateTopWindow(L"KeyboardCommandTest", L"Keyboard viewer");
    ASSERT_TRUE(viewer);
    const ViewerFor current(viewer.get());
    KeyboardCommand(1036);
    LPARAM layout = 0;
    ASSERT_TRUE(TakeLanguageRequest(viewer.get(), layout));
    // under Wine the load returns the current layout whatever the name
    EXPECT_EQ(layout, reinterpret_cast<LPARAM>(LoadKeyboardLayoutA("0000040C", KLF_SUBSTITUTE_OK)));
    EXPECT_FALSE(TakeLanguageRequest(viewer.get(), layout));
}

TEST(KeyboardCommand, WithoutViewerNothingIsPostedAnywhere) {
    const ViewerFor none(nullptr);
    KeyboardCommand(1049);
    LPARAM layout = 0;
    // a post to window 0 would land in this thread's queue
    EXPECT_FALSE(TakeLanguageRequest(nullptr, layout));
    EXPECT_FALSE(TakeLanguageRequest(reinterpret_cast<HWND>(-1), layout));
}

TEST(KeyboardCommand, HtaInFrontBecomesTheTarget) {
    const UniqueWindow viewer = CreateTopWindow(ViewerClass, L"Keyboard viewer behind");
    const UniqueWindow hta =
        CreateTopWindow(L"HTML Application Host Window Class", L"Keyboard application");
    ASSERT_TRUE(viewer && hta);
    SetForegroundWindow(hta.get());
    ASSERT_EQ(GetForegroundWindow(), hta.get());
    const ViewerFor current(viewer.get());
    HtaKeyboardCommand(1033);
    EXPECT_EQ(CurrentViewer, hta.get());
    LPARAM layout = 0;
    EXPECT_TRUE(TakeLanguageRequest(hta.get(), layout));
    EXPECT_FALSE(TakeLanguageRequest(viewer.get(), layout));

    // with the viewer in front, /keyh leaves the viewer as it is
    SetForegroundWindow(viewer.get());
    CurrentViewer = viewer.get();
    HtaKeyboardCommand(1033);
    EXPECT_EQ(CurrentViewer, viewer.get());
    EXPECT_TRUE(TakeLanguageRequest(viewer.get(), layout));
}

} // namespace
