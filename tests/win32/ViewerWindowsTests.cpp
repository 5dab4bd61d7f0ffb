// Window discovery against real windows of this process: which child, ancestor, string
// and search dialog each lookup finds, and what it passes over.
#include "viewer/ViewerWindows.h"

#include "platform/WindowClass.h"
#include "platform/WindowHandles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr DWORD Hidden = 0;

// Creates windows of any class (registering it on first use; the system's "Edit" is
// taken as it is) and destroys them, last first, when the test ends.
class WindowTree : public ::testing::Test {
  protected:
    void TearDown() override {
        while (!windows_.empty())
            windows_.pop_back();
    }

    // Top-level windows stay hidden unless a test needs them on the screen: under Wine
    // without a window manager, closing a shown one takes a while.
    HWND TopLevel(const std::wstring& className, const std::wstring& title, int x = 300,
                  int y = 200, DWORD visible = Hidden) {
        return Make(className, title, WS_OVERLAPPEDWINDOW | visible, nullptr,
                    RECT{x, y, x + 300, y + 200});
    }
    HWND Child(HWND parent, const std::wstring& className, const std::wstring& title = L"",
               DWORD visible = WS_VISIBLE) {
        return Make(className, title, WS_CHILD | visible, parent, RECT{0, 0, 200, 120});
    }
    // A hidden top-level window of the first class and, each inside the one before, shown
    // children of the others: top first.
    std::vector<HWND> Chain(std::initializer_list<const wchar_t*> classes) {
        std::vector<HWND> chain;
        for (const wchar_t* className : classes)
            chain.push_back(chain.empty() ? TopLevel(className, L"Top")
                                          : Child(chain.back(), className));
        return chain;
    }
    HWND Owned(HWND owner, const std::wstring& title, const std::wstring& className = L"Dialog") {
        return Make(className, title, WS_POPUP | WS_CAPTION, owner, RECT{700, 100, 900, 200});
    }

    // The direct children of parent (top-level windows for 0) in Z-order.
    static std::vector<HWND> ChildrenInZOrder(HWND parent) {
        std::vector<HWND> children;
        for (HWND w = GetWindow(parent ? parent : GetDesktopWindow(), GW_CHILD); w;
             w = GetWindow(w, GW_HWNDNEXT))
            children.push_back(w);
        return children;
    }

  private:
    HWND Make(const std::wstring& className, const std::wstring& title, DWORD style, HWND parent,
              const RECT& rect) {
        if (className != L"Edit")
            RegisterWindowClass({className.c_str(), DefWindowProcW});
        const HWND window = CreateWindowExW(
            0, className.c_str(), title.c_str(), style, rect.left, rect.top, rect.right - rect.left,
            rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_TRUE(window) << "could not create a window of class " << className.size();
        windows_.emplace_back(window);
        return window;
    }

    std::vector<UniqueWindow> windows_;
};

using FindChildWindowTest = WindowTree;

// Direct children only, hidden ones included; class and title must both match, in any
// letter case; with both patterns empty, nothing.
TEST_F(FindChildWindowTest, ClassAndTitleOfDirectChildrenMatchInAnyLetterCase) {
    const HWND viewer = TopLevel(L"HH Parent", L"Viewer");
    const HWND host = Child(viewer, L"Shell Embedding", L"", Hidden);
    const HWND edit = Child(host, L"Edit");
    const HWND parent = TopLevel(L"Varnholt Test Parent", L"Parent");
    const HWND alpha = Child(parent, L"Pane", L"Alpha");
    const HWND beta = Child(parent, L"Pane", L"Beta");
    const HWND otherBeta = Child(parent, L"Other Pane", L"Beta");

    const struct {
        HWND parent;
        const wchar_t* title;
        const wchar_t* className;
        HWND found;
    } rows[] = {{viewer, L"", L"Shell Embedding", host},
                {viewer, L"", L"Edit", nullptr},
                {host, L"", L"Edit", edit},
                {host, L"", L"edit", edit},
                {host, L"", L"EDIT", edit},
                {edit, L"", L"Edit", nullptr},
                {parent, L"beta", L"pane", beta},
                {parent, L"ALPHA", L"", alpha},
                {parent, L"Beta", L"Other Pane", otherBeta},
                {parent, L"Alph", L"Pane", nullptr},
                {parent, L"Gamma", L"Pane", nullptr},
                {parent, L"Alpha", L"Other Pane", nullptr},
                {parent, L"", L"", nullptr},
                {nullptr, L"", L"", nullptr}};
    for (const auto& row : rows)
        EXPECT_EQ(FindChildWindow(row.parent, row.title, row.className), row.found)
            << testing::PrintToString(row.title) << " " << testing::PrintToString(row.className);
    // With the class left open, the first "Beta" in Z-order.
    for (HWND child : ChildrenInZOrder(parent)) {
        if (child == beta || child == otherBeta) {
            EXPECT_EQ(FindChildWindow(parent, L"Beta", L""), child);
            break;
        }
    }
}

TEST_F(FindChildWindowTest, SkipCountPassesOverEarlierMatchesInZOrder) {
    const HWND parent = TopLevel(L"Varnholt Test Parent", L"Parent");
    Child(parent, L"Match");
    Child(parent, L"Other");
    Child(parent, L"Match");
    Child(parent, L"Other");
    Child(parent, L"Match");
    std::vector<HWND> matches;
    for (HWND child : ChildrenInZOrder(parent)) {
        if (ReadWindowClass(child) == L"Match")
            matches.push_back(child);
    }
    ASSERT_EQ(matches.size(), 3u);

    EXPECT_EQ(FindChildWindow(parent, L"", L"Match", 0), matches[0]);
    EXPECT_EQ(FindChildWindow(parent, L"", L"Match", -4), matches[0]);
    EXPECT_EQ(FindChildWindow(parent, L"", L"Match", 1), matches[1]);
    EXPECT_EQ(FindChildWindow(parent, L"", L"Match", 2), matches[2]);
    EXPECT_EQ(FindChildWindow(parent, L"", L"Match", 3), nullptr);
}

TEST_F(FindChildWindowTest, ParentZeroSearchesTheTopLevelWindows) {
    const std::wstring title = L"Varnholt top " + std::to_wstring(GetCurrentProcessId());
    const HWND top = TopLevel(L"Varnholt Test Top", title);
    Child(top, L"Varnholt Test Inner", title + L" inner");

    EXPECT_EQ(FindChildWindow(nullptr, title, L""), top);
    EXPECT_EQ(FindChildWindow(nullptr, title, L"varnholt test top"), top);
    EXPECT_EQ(FindChildWindow(nullptr, title + L" inner", L""), nullptr);
}

using FindViewerAncestorTest = WindowTree;

TEST_F(FindViewerAncestorTest, FromTheViewerItselfAndFromWindowsInsideIt) {
    const auto chain = Chain(
        {L"HH Parent", L"Shell Embedding", L"Shell DocObject View", L"Internet Explorer_Server"});
    for (const HWND from : chain)
        EXPECT_EQ(FindViewerAncestor(from), chain[0]);
    // The parent of an owned pop-up is its owner.
    EXPECT_EQ(FindViewerAncestor(Owned(chain[0], L"Owned popup")), chain[0]);
    EXPECT_EQ(FindViewerAncestor(nullptr), nullptr);
}

TEST_F(FindViewerAncestorTest, TheNearestViewerAboveWinsWithoutOneTheTopLevelWindow) {
    const auto nested = Chain({L"HH Parent", L"HH Parent", L"Internet Explorer_Server"});
    EXPECT_EQ(FindViewerAncestor(nested[2]), nested[1]);
    const auto chain =
        Chain({L"HTML Application Host Window Class", L"Internet Explorer_Server", L"Edit"});
    for (const HWND from : chain)
        EXPECT_EQ(FindViewerAncestor(from), chain[0]);
}

TEST_F(FindViewerAncestorTest, TheViewerClassMatchesInAnyLetterCase) {
    // Class names are one per process whatever their letter case: this holds only when
    // this test runs in a process of its own, as CTest runs it.
    const auto chain = Chain({L"hh PARENT", L"Shell Embedding", L"Edit"});
    EXPECT_EQ(FindViewerAncestor(chain[2]), chain[0]);
}

using ViewerInFrontTest = WindowTree;

TEST_F(ViewerInFrontTest, ForegroundViewerOnlyWhenAViewerIsInFront) {
    const HWND viewer = TopLevel(L"HH Parent", L"Viewer", 300, 200, WS_VISIBLE);
    const HWND other = TopLevel(L"Varnholt Test Other", L"Other", 500, 300, WS_VISIBLE);

    SetForegroundWindow(viewer);
    ASSERT_EQ(GetForegroundWindow(), viewer);
    EXPECT_EQ(FindForegroundViewer(), viewer);

    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);
    EXPECT_EQ(FindForegroundViewer(), nullptr);
}

TEST_F(ViewerInFrontTest, TheWindowUnderTheCursorIsTheInnermostOne) {
    const HWND viewer = TopLevel(L"HH Parent", L"Viewer", 200, 200, WS_VISIBLE);
    const HWND host = Child(viewer, L"Shell Embedding");
    const HWND page = Child(host, L"Internet Explorer_Server");
    SetWindowPos(viewer, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT rect{};
    GetWindowRect(page, &rect);
    SetCursorPos(rect.left + 20, rect.top + 20);

    EXPECT_EQ(WindowUnderCursor(), page);
    EXPECT_EQ(FindViewerAncestor(WindowUnderCursor()), viewer);
}

using ReadWindowStringTest = WindowTree;

TEST_F(ReadWindowStringTest, ClassAndTitleAreReadApartAndALongTitleIsCutTo259Characters) {
    const HWND probe = TopLevel(L"Varnholt Probe", L"Probe Title");
    EXPECT_EQ(ReadWindowClass(probe), L"Varnholt Probe");
    EXPECT_EQ(ReadWindowTitle(probe), L"Probe Title");
    const HWND longer = TopLevel(L"Varnholt Probe", std::wstring(300, L'x'));
    EXPECT_EQ(ReadWindowTitle(longer), std::wstring(259, L'x'));
    EXPECT_EQ(ReadClassName(longer, 8), L"Varnhol");
}

TEST_F(ReadWindowStringTest, AWindowThatIsGoneReadsEmpty) {
    HWND gone = nullptr;
    {
        UniqueWindow window(CreateWindowExW(0, L"Edit", L"soon gone", WS_OVERLAPPED, 0, 0, 50, 20,
                                            nullptr, nullptr, nullptr, nullptr));
        gone = window.get();
        ASSERT_EQ(ReadWindowTitle(gone), L"soon gone");
    }
    EXPECT_EQ(ReadWindowTitle(gone), L"");
    EXPECT_EQ(ReadWindowClass(gone), L"");
    EXPECT_EQ(ReadWindowClass(nullptr), L"");
}

using FindSearchDialogTest = WindowTree;

TEST_F(FindSearchDialogTest, OnlyAWindowOwnedByTheViewerAndTitledFindCounts) {
    const HWND viewer = TopLevel(L"HH Parent", L"Viewer");
    const HWND other = TopLevel(L"HH Parent", L"Other viewer", 400, 250);
    Owned(other, L"Find");
    TopLevel(L"Dialog", L"Find", 500, 300);
    Owned(viewer, L"Finder");
    Owned(viewer, L"Find ");
    EXPECT_EQ(FindSearchDialog(viewer), nullptr);

    const HWND dialog = Owned(viewer, L"find");
    EXPECT_EQ(FindSearchDialog(viewer), dialog);
}

TEST_F(FindSearchDialogTest, OfTwoDialogsTheHigherInZOrderIsTaken) {
    const HWND viewer = TopLevel(L"HH Parent", L"Viewer");
    const HWND first = Owned(viewer, L"Find");
    const HWND second = Owned(viewer, L"FIND");
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, flags);
    EXPECT_EQ(FindSearchDialog(viewer), first);
    SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, flags);
    EXPECT_EQ(FindSearchDialog(viewer), second);
}

TEST_F(FindSearchDialogTest, ViewerZeroTakesAnUnownedDialog) {
    const HWND viewer = TopLevel(L"HH Parent", L"Viewer");
    Owned(viewer, L"Find");
    EXPECT_EQ(FindSearchDialog(nullptr), nullptr);

    const HWND unowned = TopLevel(L"Dialog", L"Find", 500, 300);
    EXPECT_EQ(FindSearchDialog(nullptr), unowned);
    EXPECT_NE(FindSearchDialog(viewer), unowned);
}

// The Russian viewer's dialog, whatever the code page (here 1252, as on a German Windows).
TEST_F(FindSearchDialogTest, PoiskIsFoundInAnyLetterCase) {
    const HWND viewer = TopLevel(L"HH Parent", L"Viewer");
    Owned(viewer, L"Поиски");
    Owned(viewer, L"Найти");
    EXPECT_EQ(FindSearchDialog(viewer), nullptr);
    for (const wchar_t* title : {L"Поиск", L"поиск", L"ПОИСК"}) {
        const HWND owner = TopLevel(L"HH Parent", L"Viewer");
        const HWND dialog = Owned(owner, title);
        EXPECT_EQ(FindSearchDialog(owner), dialog);
        EXPECT_EQ(ReadWindowTitle(dialog), title);
    }
}

} // namespace
