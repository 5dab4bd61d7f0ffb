// The viewer commands called in this process, on a viewer of this process: what only
// shows from inside (the window menu reset, which Wine does not do across processes, and
// the /find wait handling the program's own messages).
#include "viewer/ViewerCommandIds.h"
#include "viewer/ViewerCommands.h"
#include "viewer/ViewerWindows.h"

#include "platform/WindowClass.h"
#include "platform/WindowHandles.h"
#include "tests/support/WindowText.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT OwnMenuItem = 0x7711;
// The find command goes to whatever window is under the cursor; a class of its own keeps
// this one apart from the plain windows other tests of this program register.
constexpr wchar_t HtmlClass[] = L"Varnholt Test Html View";

// A viewer of this process whose HTML view opens a search dialog when it gets
// WM_COMMAND 67, as the real one does.
struct InProcessViewer {
    static inline std::vector<WPARAM> htmlCommands;
    static inline HWND main = nullptr;
    static inline UniqueWindow dialog;
    static inline HWND dialogEdit = nullptr;
    // Every look for the search dialog reads its title once.
    static inline int dialogTitleReads = 0;

    UniqueWindow mainWindow;

    static void OpenDialog() {
        dialog.reset(CreateWindowExW(0, L"Varnholt Test Dialog", L"Find", WS_POPUP | WS_CAPTION,
                                     800, 100, 300, 100, main, nullptr, nullptr, nullptr));
        dialogEdit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24,
                                     dialog.get(), nullptr, nullptr, nullptr);
        dialogTitleReads = 0;
    }

    static LRESULT CALLBACK HtmlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) {
            htmlCommands.push_back(wParam);
            if (wParam == OpenFindCommand && !dialog)
                OpenDialog();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_GETTEXT)
            ++dialogTitleReads;
        return DefWindowProcW(window, message, wParam, lParam);
    }

    InProcessViewer() {
        htmlCommands.clear();
        dialog.reset();
        dialogEdit = nullptr;
        RegisterWindowClass({L"HH Parent", DefWindowProcW});
        RegisterWindowClass({HtmlClass, HtmlProc});
        RegisterWindowClass({L"Varnholt Test Dialog", DialogProc});
        mainWindow.reset(CreateWindowExW(0, L"HH Parent", L"Viewer",
                                         WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150, 400, 300,
                                         nullptr, nullptr, nullptr, nullptr));
        main = mainWindow.get();
        CreateWindowExW(0, HtmlClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, main, nullptr,
                        nullptr, nullptr);
        SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    ~InProcessViewer() { dialog.reset(); }

    HWND Html() const { return FindChildWindow(main, L"", HtmlClass); }

    bool PutCursorOverHtml() const {
        RECT rect{};
        GetWindowRect(Html(), &rect);
        SetCursorPos(rect.left + 30, rect.top + 30);
        return WindowUnderCursor() == Html();
    }
};

TEST(InProcessCommands, JumpResetsTheWindowMenuOfTheViewerUnderTheCursor) {
    InProcessViewer viewer;
    AppendMenuW(GetSystemMenu(viewer.main, FALSE), MF_STRING, OwnMenuItem, L"Own item");
    ASSERT_NE(GetMenuState(GetSystemMenu(viewer.main, FALSE), OwnMenuItem, MF_BYCOMMAND),
              static_cast<UINT>(-1));
    ASSERT_TRUE(viewer.PutCursorOverHtml());
    CurrentViewer = nullptr;

    JumpCommand();
    EXPECT_EQ(CurrentViewer, viewer.main);
    EXPECT_EQ(GetMenuState(GetSystemMenu(viewer.main, FALSE), OwnMenuItem, MF_BYCOMMAND),
              static_cast<UINT>(-1));
}

TEST(InProcessCommands, FindHandlesOurOwnMessagesWhileItWaitsForTheDialog) {
    // The posted find command reaches this process's HTML view only if the wait dispatches
    // it; then the dialog opens and is filled.
    InProcessViewer viewer;
    ASSERT_TRUE(viewer.PutCursorOverHtml());
    CurrentViewer = nullptr;

    FindCommand(L" abc");
    EXPECT_EQ(CurrentViewer, viewer.main);
    EXPECT_EQ(InProcessViewer::htmlCommands,
              (std::vector<WPARAM>{OpenFindCommand, OpenFindFollowUpCommand}));
    ASSERT_TRUE(InProcessViewer::dialogEdit);
    EXPECT_EQ(TitleOf(InProcessViewer::dialogEdit), L" abc");
}

TEST(InProcessCommands, FindTakesADialogAlreadyOpenAtTheFirstLook) {
    InProcessViewer viewer;
    InProcessViewer::OpenDialog();
    ASSERT_TRUE(viewer.PutCursorOverHtml());

    FindCommand(L"abc");
    EXPECT_EQ(InProcessViewer::dialogTitleReads, 1);
    // No wait came before that look: a wait would have handled the posted commands.
    EXPECT_TRUE(InProcessViewer::htmlCommands.empty());
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, viewer.Html(), WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.wParam, OpenFindCommand);
    ASSERT_TRUE(PeekMessageW(&message, viewer.Html(), WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.wParam, 15u);
    EXPECT_EQ(TitleOf(InProcessViewer::dialogEdit), L"abc");
}

TEST(InProcessCommands, StopAndExitPostToTheViewerUnderTheCursor) {
    InProcessViewer viewer;
    ASSERT_TRUE(viewer.PutCursorOverHtml());
    CurrentViewer = nullptr;

    StopCommand();
    EXPECT_EQ(CurrentViewer, viewer.main);
    ExitCommand();
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, viewer.main, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.wParam, 202u);
    EXPECT_EQ(message.lParam, 0);
    EXPECT_FALSE(PeekMessageW(&message, viewer.main, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&message, viewer.main, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 0);
}

} // namespace
