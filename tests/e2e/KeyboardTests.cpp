// /keyb and /keyh with the real Varnholt.exe: the input-language request that the
// viewer (or an HTML Application window) in front receives.
#include "tests/support/Process.h"
#include "tests/support/TestWindowProcess.h"

#include <gtest/gtest.h>

namespace {

TestWindowProcess StartWindow(const std::wstring& className, bool foreground) {
    return StartTestWindow(className, L"Keyboard " + className, foreground);
}

std::wstring RequestLine(HKL layout) {
    wchar_t line[64];
    swprintf(line, 64, L"WM_INPUTLANGCHANGEREQUEST 0 %08X",
             static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(layout)));
    return line;
}

// What the system gives for a layout name: the layout the client's load must post.
HKL LayoutLoadedByName(const char* name) {
    return LoadKeyboardLayoutA(name, KLF_SUBSTITUTE_OK);
}

// The first installed layout of that language; 0 when none is.
HKL InstalledLayout(WORD language) {
    HKL layouts[64];
    const int n = GetKeyboardLayoutList(64, layouts);
    for (int i = 0; i < n; ++i) {
        if (LOWORD(reinterpret_cast<std::uintptr_t>(layouts[i])) == language)
            return layouts[i];
    }
    return nullptr;
}

// What a viewer in front receives from the client run with each of the arguments, in
// turn.
std::vector<std::wstring> ViewerInFrontReceives(const std::vector<std::wstring>& runs) {
    TestWindowProcess viewer = StartWindow(L"HH Parent", true);
    if (!viewer.Window())
        return {L"(no viewer window)"};
    for (const std::wstring& arguments : runs) {
        if (const DWORD exitCode = RunVarnholt(arguments))
            return {arguments + L": the client ended with " + std::to_wstring(exitCode)};
    }
    return viewer.Log();
}

// Under Wine the installed list is the one layout of the locale, and LoadKeyboardLayoutA
// ignores the name and returns the current layout; the expected values below are what
// the system itself answers, so the checks hold on Windows as well. Which layout is
// chosen in every case is carried by the unit tests of the layout choice.

TEST(Keyboard, NoViewerInFrontPostsNothing) {
    TestWindowProcess viewer = StartWindow(L"HH Parent", false);
    TestWindowProcess bystander = StartWindow(L"Bystander", true);
    ASSERT_TRUE(viewer.Window() && bystander.Window());
    ASSERT_EQ(RunVarnholt(L"/keyb 1049"), 0u);
    ASSERT_EQ(RunVarnholt(L"/keyb 1036"), 0u);
    EXPECT_TRUE(viewer.Log().empty());
    EXPECT_TRUE(bystander.Log().empty());
}

TEST(Keyboard, OtherLanguagesAreLoadedByTheirLayoutName) {
    EXPECT_EQ(ViewerInFrontReceives({L"/keyb 1036"}),
              std::vector<std::wstring>{RequestLine(LayoutLoadedByName("0000040C"))});
}

TEST(Keyboard, CyrillicLanguageWithNoneInstalledIsLoadedByName) {
    for (const WORD cyrillic : {0x419, 0x422, 0x423, 0x402}) {
        if (InstalledLayout(cyrillic))
            GTEST_SKIP() << "a Cyrillic layout is installed here";
    }
    EXPECT_EQ(ViewerInFrontReceives({L"/keyb 1049"}),
              std::vector<std::wstring>{RequestLine(LayoutLoadedByName("00000419"))});
}

// Wine offers a Russian layout only in a Russian locale: CTest runs this test with
// LC_ALL=ru_RU.UTF-8, where the layout must be there.
TEST(RussianLocaleKeyboard, InstalledRussianLayoutIsPostedAlsoForAMissingCyrillicLanguage) {
    const HKL russian = InstalledLayout(0x419);
    if (!russian) {
        ASSERT_NE(GetACP(), 1251u) << "a Russian locale without a Russian layout";
        GTEST_SKIP() << "no Russian layout installed";
    }
    std::vector<std::wstring> runs{L"/keyb 1049"}, expected{RequestLine(russian)};
    if (!InstalledLayout(0x422)) { // no Ukrainian layout
        runs.push_back(L"/keyb 1058");
        expected.push_back(RequestLine(russian));
    }
    EXPECT_EQ(ViewerInFrontReceives(runs), expected);
}

TEST(Keyboard, HtaInFrontReceivesTheRequestInsteadOfTheViewer) {
    TestWindowProcess viewer = StartWindow(L"HH Parent", true);
    TestWindowProcess hta = StartWindow(L"HTML Application Host Window Class", true);
    ASSERT_TRUE(viewer.Window() && hta.Window());
    ASSERT_EQ(GetForegroundWindow(), hta.Window());
    ASSERT_EQ(RunVarnholt(L"/keyh 1036"), 0u);
    EXPECT_EQ(hta.Log(), std::vector<std::wstring>{RequestLine(LayoutLoadedByName("0000040C"))});
    EXPECT_TRUE(viewer.Log().empty());
    // /keyb never looks for the HTML Application window
    ASSERT_EQ(RunVarnholt(L"/keyb 1036"), 0u);
    EXPECT_EQ(hta.Log().size(), 1u);
}

TEST(Keyboard, WithoutHtaInFrontKeyhActsOnTheViewer) {
    TestWindowProcess hta = StartWindow(L"HTML Application Host Window Class", false);
    TestWindowProcess viewer = StartWindow(L"HH Parent", true);
    ASSERT_TRUE(viewer.Window() && hta.Window());
    ASSERT_EQ(RunVarnholt(L"/keyh 1036"), 0u);
    EXPECT_EQ(viewer.Log(), std::vector<std::wstring>{RequestLine(LayoutLoadedByName("0000040C"))});
    EXPECT_TRUE(hta.Log().empty());
}

} // namespace
