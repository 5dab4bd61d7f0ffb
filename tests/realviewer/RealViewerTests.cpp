// The real HTML Help viewer (hh.exe; under Wine, Wine's own) showing the sample
// dictionary, driven by the real Varnholt.exe: /title, /pane, /run with /move,
// /exit. Where Wine's viewer differs from the Windows viewer's window tree, the
// test says so; the client keeps to the Windows tree.
#include "tests/support/Process.h"
#include "tests/support/StandIn.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/TestWindowProcess.h"
#include "tests/support/WindowText.h"
#include "viewer/ProcessQuery.h"

#include <gtest/gtest.h>

namespace {

// A viewer process and its main window; the process ends with the object.
struct Viewer {
    HWND main = nullptr;
    ScopedProcess process;
};

// Waits for the visible "HH Parent" window of an hh.exe other than the one
// excluded.
Viewer WaitForViewer(DWORD excluded = 0) {
    Viewer viewer;
    WaitUntil(
        [&] {
            for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window;
                 window = GetWindow(window, GW_HWNDNEXT)) {
                DWORD id = 0;
                GetWindowThreadProcessId(window, &id);
                if (id != excluded && IsWindowVisible(window) && ClassOf(window) == L"HH Parent" &&
                    ProcessImagePath(id).ends_with(L"\\hh.exe")) {
                    viewer = {window, ChildProcess::Open(id)};
                    return true;
                }
            }
            return false;
        },
        30000);
    return viewer;
}

Viewer OpenViewer(const std::wstring& helpFile) {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    ChildProcess::Start(std::wstring(windows) + L"\\hh.exe", L"\"" + helpFile + L"\"");
    return WaitForViewer();
}

// The first child window of that class.
HWND ChildOfClass(HWND parent, const wchar_t* className) {
    return FindWindowExW(parent, nullptr, className, nullptr);
}

// The first window of that class one level down, under a child of class via
// (any child when via is null).
HWND GrandchildOfClass(HWND parent, const wchar_t* via, const wchar_t* className) {
    for (HWND child = nullptr; (child = FindWindowExW(parent, child, via, nullptr));) {
        if (const HWND found = ChildOfClass(child, className))
            return found;
    }
    return nullptr;
}

class RealViewer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileW((DistFolder() + L"\\Sample.chm").c_str(), sample.c_str(), FALSE))
            << "no Sample.chm in the dist folder";
        viewer = OpenViewer(sample);
        ASSERT_TRUE(viewer.main) << "hh.exe showed no HH Parent window";
        ASSERT_TRUE(BringToFront(viewer.main));
    }
    void TearDown() override { SetCursorPos(1, 1); }
    TemporaryFolder books;
    const std::wstring sample = books.Path() + L"Sample.chm";
    Viewer viewer;
};

// Windows: "HH Parent" > "Shell Embedding" > "Shell DocObject View" > "Internet
// Explorer_Server" > ... Wine puts an "HH Child" between the main window and
// "Shell Embedding", and without its HTML engine there is no "Internet
// Explorer_Server": the /copy path ends at its first step there, and /copy does
// nothing.
TEST_F(RealViewer, OpensTheSampleWithTheMainWindowTheClientLooksFor) {
    EXPECT_EQ(TitleOf(viewer.main), L"Quillbay Sample");
    HWND host = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
            host = RunningUnderWine()
                       ? GrandchildOfClass(viewer.main, L"HH Child", L"Shell Embedding")
                       : ChildOfClass(viewer.main, L"Shell Embedding");
            return host && ChildOfClass(host, L"Shell DocObject View");
        },
        10000))
        << "no Shell Embedding > Shell DocObject View where this viewer puts it";
    if (RunningUnderWine()) {
        EXPECT_FALSE(ChildOfClass(viewer.main, L"Shell Embedding"))
            << "Wine's viewer now has the Windows tree";
    }
    EXPECT_EQ(RunVarnholt(L"/copy"), 0u);
    EXPECT_FALSE(viewer.process.WaitForExit(0));
}

// The viewer in front is retitled; later, with another window in front, it is
// found again by the title it had.
TEST_F(RealViewer, TitleRetitlesTheViewerAndFindsItAgainByTheOldTitle) {
    ASSERT_EQ(RunVarnholt(L"/titleQuillbay Renamed"), 0u);
    EXPECT_EQ(TitleOf(viewer.main), L"Quillbay Renamed");

    const TestWindowProcess bystander = StartBystander(L"Real viewer bystander");
    ASSERT_TRUE(bystander.Window());
    ASSERT_EQ(RunVarnholt(L"/titleQuillbay Again|Quillbay Renamed"), 0u);
    EXPECT_EQ(TitleOf(viewer.main), L"Quillbay Again");
}

// /pane 0 hides the navigation pane (Wine's is the "HH Child" with the tab
// control) and /pane 1 shows it again; the viewer stays open.
TEST_F(RealViewer, PaneHidesAndShowsTheNavigationPane) {
    // The viewer builds its pane after its main window shows.
    HWND tabs = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            tabs = GrandchildOfClass(viewer.main, nullptr, L"SysTabControl32");
            return tabs && IsWindowVisible(tabs);
        },
        10000))
        << "no navigation pane shown: tab control " << (tabs ? "hidden" : "missing");
    ASSERT_EQ(RunVarnholt(L"/pane 0"), 0u);
    EXPECT_FALSE(IsWindowVisible(tabs));
    ASSERT_EQ(RunVarnholt(L"/pane 1"), 0u);
    EXPECT_TRUE(IsWindowVisible(tabs));
    EXPECT_FALSE(viewer.process.WaitForExit(0));
}

// /run opens a second help file in a new viewer and closes the first; /move,
// started while the new viewer is in front, puts it where the first one was.
// /exit, with the pointer over it, closes it.
TEST_F(RealViewer, RunThenMovePutsTheNextViewerInPlaceAndExitClosesIt) {
    const std::wstring second = books.Path() + L"Second-1.chm";
    ASSERT_TRUE(CopyFileW(sample.c_str(), second.c_str(), FALSE));
    const std::wstring key = HelpFileKey(VarnholtPath(), L"Second");
    DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, key);
    SetWindowPos(viewer.main, nullptr, 60, 40, 760, 560, SWP_NOZORDER);
    const RECT place = WindowRect(viewer.main);

    ASSERT_EQ(RunVarnholt(L"/run" + second), 0u);
    EXPECT_TRUE(viewer.process.WaitForExit(15000)) << "the first viewer is still open";
    const Viewer next = WaitForViewer(viewer.process.Id());
    ASSERT_TRUE(next.main) << "no viewer for Second-1.chm";
    EXPECT_NE(WindowRect(next.main).left, place.left);

    ASSERT_TRUE(BringToFront(next.main));
    ASSERT_EQ(RunVarnholt(L"/moveSecond"), 0u);
    RECT moved{}; // /move does not wait for the viewer to move
    EXPECT_TRUE(
        WaitUntil([&] { return EqualRect(&(moved = WindowRect(next.main)), &place); }, 10000))
        << moved.left << "," << moved.top << "-" << moved.right << "," << moved.bottom;
    EXPECT_EQ(ReadTextValue(HKEY_LOCAL_MACHINE, key, L"Rect", View::Bits64), L"");
    DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, key);

    SetCursorPos((moved.left + moved.right) / 2, (moved.top + moved.bottom) / 2);
    POINT cursor{};
    GetCursorPos(&cursor);
    ASSERT_EQ(GetAncestor(WindowFromPoint(cursor), GA_ROOT), next.main);
    ASSERT_EQ(RunVarnholt(L"/exit"), 0u);
    EXPECT_TRUE(next.process.WaitForExit(15000)) << "the viewer under the pointer is still open";
}

} // namespace
