// The real HTML Help viewer (hh.exe; under Wine, Wine's own) showing the sample
// dictionary, driven by the real Varnholt.exe: /title, /pane, /run with /move, /exit.
// Where Wine's viewer differs from the Windows viewer's window tree, the test says so;
// the client keeps to the Windows tree.
#include "tests/support/Process.h"
#include "tests/support/StandIn.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/TestWindowProcess.h"
#include "tests/support/WindowText.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The top-level "HH Parent" windows, with their process ids.
std::vector<std::pair<HWND, DWORD>> ViewerWindows() {
    std::vector<std::pair<HWND, DWORD>> found;
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window;
         window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (IsWindowVisible(window) && ClassOf(window) == L"HH Parent")
            found.emplace_back(window, process);
    }
    return found;
}

// The first direct child of that class.
HWND ChildOfClass(HWND parent, const std::wstring& className) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == className)
            return child;
    return nullptr;
}

// A viewer process showing a help file: hh.exe started by the test, or the one the shell
// started for /run. It is ended when the object goes.
class Viewer {
  public:
    // Waits for a visible "HH Parent" window of a process that is not excluded.
    explicit Viewer(DWORD excludedProcess = 0) {
        WaitUntil(
            [&] {
                for (const auto& [window, process] : ViewerWindows())
                    if (process != excludedProcess) {
                        window_ = window;
                        process_.reset(
                            OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process));
                        return true;
                    }
                return false;
            },
            30000);
    }
    static Viewer Open(const std::wstring& helpFile) {
        wchar_t windows[MAX_PATH] = {};
        GetWindowsDirectoryW(windows, MAX_PATH);
        ChildProcess::Start(std::wstring(windows) + L"\\hh.exe", L"\"" + helpFile + L"\"");
        return Viewer(0);
    }
    Viewer(Viewer&&) = default;
    ~Viewer() {
        if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 0);
            WaitForSingleObject(process_.get(), 5000);
        }
    }
    HWND Main() const { return window_; }
    DWORD ProcessId() const { return process_ ? GetProcessId(process_.get()) : 0; }
    bool WaitForExit(DWORD timeoutMs) const {
        return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
    }

  private:
    HWND window_ = nullptr;
    UniqueKernelHandle process_;
};

class RealViewer : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& [window, process] : ViewerWindows())
            PostMessageW(window, WM_CLOSE, 0, 0); // left over by an earlier test
        ASSERT_TRUE(WaitUntil([] { return ViewerWindows().empty(); }, 10000));
        ASSERT_TRUE(CopyFileW((DistFolder() + L"\\Sample.chm").c_str(), sample.c_str(), FALSE))
            << "no Sample.chm in the dist folder";
    }
    void TearDown() override { SetCursorPos(1, 1); }
    TemporaryFolder books;
    const std::wstring sample = books.Path() + L"Sample.chm";
};

// Windows: "HH Parent" > "Shell Embedding" > "Shell DocObject View" > "Internet
// Explorer_Server" > ... Wine puts an "HH Child" between the main window and "Shell
// Embedding", and without its HTML engine there is no "Internet Explorer_Server": the
// /copy path ends at the first step there, and /copy does nothing.
TEST_F(RealViewer, OpensTheSampleWithTheMainWindowTheClientLooksFor) {
    const Viewer viewer = Viewer::Open(sample);
    ASSERT_TRUE(viewer.Main()) << "hh.exe showed no HH Parent window";
    EXPECT_EQ(TitleOf(viewer.Main()), L"Quillbay Sample");
    // The topic host, where the client looks for it and where Wine puts it.
    HWND direct = nullptr;
    HWND nested = nullptr;
    WaitUntil(
        [&] {
            direct = ChildOfClass(viewer.Main(), L"Shell Embedding");
            for (HWND child = GetWindow(viewer.Main(), GW_CHILD); child && !nested;
                 child = GetWindow(child, GW_HWNDNEXT))
                if (ClassOf(child) == L"HH Child")
                    nested = ChildOfClass(child, L"Shell Embedding");
            const HWND host = direct ? direct : nested;
            return host && ChildOfClass(host, L"Shell DocObject View");
        },
        10000);
    const HWND host = RunningUnderWine() ? nested : direct;
    ASSERT_TRUE(host) << "no Shell Embedding where this viewer puts it";
    if (RunningUnderWine()) {
        EXPECT_EQ(direct, nullptr) << "Wine's viewer now has the Windows tree";
    }
    EXPECT_TRUE(ChildOfClass(host, L"Shell DocObject View"));

    ASSERT_TRUE(BringToFront(viewer.Main()));
    EXPECT_EQ(RunVarnholt(L"/copy"), 0u);
    EXPECT_FALSE(viewer.WaitForExit(0));
}

// The viewer in front is retitled; later, with another window in front, it is found again
// by the title it had.
TEST_F(RealViewer, TitleRetitlesTheViewerAndFindsItAgainByTheOldTitle) {
    const Viewer viewer = Viewer::Open(sample);
    ASSERT_TRUE(viewer.Main() && BringToFront(viewer.Main()));
    ASSERT_EQ(RunVarnholt(L"/titleQuillbay Renamed"), 0u);
    EXPECT_EQ(TitleOf(viewer.Main()), L"Quillbay Renamed");

    TestWindowOptions options;
    options.className = L"Bystander";
    options.title = L"Real viewer bystander";
    options.foreground = true;
    const TestWindowProcess bystander = TestWindowProcess::Start(options);
    ASSERT_TRUE(bystander.Window());
    ASSERT_EQ(RunVarnholt(L"/titleQuillbay Again|Quillbay Renamed"), 0u);
    EXPECT_EQ(TitleOf(viewer.Main()), L"Quillbay Again");
}

// /pane 0 hides the navigation pane (Wine's is the "HH Child" with the tab control) and
// /pane 1 shows it again; the viewer stays open.
TEST_F(RealViewer, PaneHidesAndShowsTheNavigationPane) {
    const Viewer viewer = Viewer::Open(sample);
    ASSERT_TRUE(viewer.Main() && BringToFront(viewer.Main()));
    HWND navigation = nullptr;
    for (HWND child = GetWindow(viewer.Main(), GW_CHILD); child && !navigation;
         child = GetWindow(child, GW_HWNDNEXT))
        if (ChildOfClass(child, L"SysTabControl32"))
            navigation = child;
    ASSERT_TRUE(navigation && IsWindowVisible(navigation));

    ASSERT_EQ(RunVarnholt(L"/pane 0"), 0u);
    EXPECT_FALSE(IsWindowVisible(navigation));
    ASSERT_EQ(RunVarnholt(L"/pane 1"), 0u);
    EXPECT_TRUE(IsWindowVisible(navigation));
    EXPECT_FALSE(viewer.WaitForExit(0));
    EXPECT_EQ(TitleOf(viewer.Main()), L"Quillbay Sample");
}

// /run opens a second help file in a new viewer and closes the first; /move, started while
// the new viewer is in front, puts it where the first one was. /exit, with the pointer
// over it, closes it.
TEST_F(RealViewer, RunThenMovePutsTheNextViewerInPlaceAndExitClosesIt) {
    const std::wstring second = books.Path() + L"Second-1.chm";
    ASSERT_TRUE(CopyFileW(sample.c_str(), second.c_str(), FALSE));
    const std::wstring key = HelpFileKey(VarnholtPath(), L"Second");
    DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, key);

    const Viewer first = Viewer::Open(sample);
    ASSERT_TRUE(first.Main());
    SetWindowPos(first.Main(), nullptr, 60, 40, 760, 560, SWP_NOZORDER);
    ASSERT_TRUE(BringToFront(first.Main()));
    const RECT place = WindowRect(first.Main());

    ASSERT_EQ(RunVarnholt(L"/run" + second), 0u);
    EXPECT_TRUE(first.WaitForExit(15000)) << "the first viewer is still open";
    const Viewer next(first.ProcessId());
    ASSERT_TRUE(next.Main()) << "no viewer for Second-1.chm";
    EXPECT_NE(WindowRect(next.Main()).left, place.left);

    ASSERT_TRUE(BringToFront(next.Main()));
    ASSERT_EQ(RunVarnholt(L"/moveSecond"), 0u);
    const RECT moved = WindowRect(next.Main());
    EXPECT_TRUE(moved.left == place.left && moved.top == place.top && moved.right == place.right &&
                moved.bottom == place.bottom)
        << moved.left << "," << moved.top << "-" << moved.right << "," << moved.bottom;
    EXPECT_EQ(ReadTextValue(HKEY_LOCAL_MACHINE, key, L"Rect", View::Bits64), L"");

    SetCursorPos((moved.left + moved.right) / 2, (moved.top + moved.bottom) / 2);
    POINT cursor{};
    GetCursorPos(&cursor);
    ASSERT_EQ(GetAncestor(WindowFromPoint(cursor), GA_ROOT), next.Main());
    ASSERT_EQ(RunVarnholt(L"/exit"), 0u);
    EXPECT_TRUE(next.WaitForExit(15000)) << "the viewer under the pointer is still open";
    DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, key);
}

} // namespace
