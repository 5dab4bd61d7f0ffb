// The real Varnholt.exe started with a command line: what the user sees (message boxes,
// read and answered through the driver), what lands in the registry, and the exit code.
#include "tests/support/BuildVersion.h"
#include "tests/support/ClientRun.h"
#include "tests/support/DebugRun.h"
#include "tests/support/MessageBoxDriver.h"
#include "tests/support/Process.h"
#include "tests/support/TestRegistry.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// The message names the line as given, cut to its first 200 characters and "\u2026" when it
// is longer, so that the box fits the screen.
TEST(StartUp, UnknownSwitchShowsTheErrorMessageAndEndsNormally) {
    std::wstring longLine;
    while (longLine.size() < 30000)
        longLine += L"/foo bar ";
    longLine.resize(30000);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (const auto& [line, shown] : {std::pair<std::wstring, std::wstring>{L"/foo", L"/foo"},
                                      {L"hello  world ", L"hello  world "},
                                      {longLine, longLine.substr(0, 200) + L"\u2026"}}) {
        const BoxRun run = RunAndAnswer(line);
        ASSERT_TRUE(run.box.window) << "no message box captioned " << run.box.caption.size();
        EXPECT_EQ(run.box.text, L"Error: Unknown parameter.\r\n" + shown);
        EXPECT_EQ(run.box.icon, IDI_ERROR);
        EXPECT_EQ(run.box.buttons, std::vector<std::wstring>{L"OK"});
        EXPECT_EQ(run.exitCode, 0u);
        RECT inside{};
        IntersectRect(&inside, &run.box.frame, &screen);
        EXPECT_TRUE(EqualRect(&inside, &run.box.frame)) << "beyond the screen: " << line.size();
    }
}

// Run under a Turkish locale, where "I" is not the capital of "i": switch names still are
// (an unknown one would wait for its message box to be answered).
TEST(TurkishLocaleStartUp, SwitchNamesInCapitalsAreKnown) {
    EXPECT_EQ(RunVarnholt(L"/TITLE", 15000), 0u) << "0xFFFFFFFF: still running after 15 s";
}

// A pane number above 16 bits, a keyboard number above 32 bits; the report names the
// number and shows the error icon.
TEST(StartUp, ANumberTooLargeForItsSwitchEndsWithAnOverflowReport) {
    for (const std::wstring line : {L"/pane 40000", L"/keyb 99999999999"}) {
        const BoxRun run = RunAndAnswer(line);
        ASSERT_TRUE(run.box.window) << line;
        EXPECT_EQ(run.box.text.rfind(L"Run-time error: Overflow", 0), 0u) << run.box.text;
        EXPECT_NE(run.box.text.find(line.substr(6)), std::wstring::npos) << run.box.text;
        EXPECT_EQ(run.box.icon, IDI_ERROR);
        EXPECT_NE(run.exitCode, 0u);
    }
}

TEST(StartUp, ASwitchWithNothingToActOnEndsQuietlyWithZero) {
    EXPECT_EQ(RunVarnholt(L"/stop"), 0u);
    EXPECT_EQ(RunVarnholt(L"/PANE 1"), 0u);
    EXPECT_TRUE(FindMessageBoxes(0, MessageBoxCaption()).empty());
}

// The DLLs of single commands (the shell, COM, WinINet, the common controls, the
// accessibility library that only a screen reader's question loads) are loaded
// by those commands only: a viewer command, registry work included, maps none of them.
TEST(StartUp, AViewerCommandLoadsNoneOfTheOtherCommandsDlls) {
    const DebugRun run = RunUnderDebugger(VarnholtPath(), L"/pane 1");
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_TRUE(HasDll(run.dllsAtLoad, L"user32.dll")) << "the DLL loads are not seen";
    for (const auto* dlls : {&run.dllsAtLoad, &run.dllsLater}) {
        for (const wchar_t* dll : {L"shell32.dll", L"ole32.dll", L"oleaut32.dll", L"wininet.dll",
                                   L"comctl32.dll", L"oleacc.dll"})
            EXPECT_FALSE(HasDll(*dlls, dll)) << dll;
    }
}

// The first run registers the App Path and allows frame navigation, in the 64-bit view; a
// second run changes neither key.
TEST(StartUp, RegistersAppPathAndAllowsFrameNavigationIn64BitViewOnceOnly) {
    DeleteKeyTree(HKEY_LOCAL_MACHINE, AppPathsKey, View::Bits64);
    DeleteValue(HKEY_LOCAL_MACHINE, RestrictionsKey, FrameNavigation, View::Bits64);
    ASSERT_EQ(RunVarnholt(L"/stop"), 0u);

    EXPECT_EQ(ReadTextValue(HKEY_LOCAL_MACHINE, AppPathsKey, L"", View::Bits64), VarnholtPath());
    EXPECT_EQ(ReadTextValue(HKEY_LOCAL_MACHINE, AppPathsKey, L"Path", View::Bits64),
              TestBinFolder());

    EXPECT_EQ(ReadRawValue(HKEY_LOCAL_MACHINE, RestrictionsKey, FrameNavigation, View::Bits64),
              DwordOne);

    // Wine skips a write of the data already stored, so the last-write times alone would
    // not show one. The folder stored as an expandable string reads as the same text: a
    // run that wrote it all the same would leave a plain string.
    const auto folder = ReadRawValue(HKEY_LOCAL_MACHINE, AppPathsKey, L"Path", View::Bits64);
    ASSERT_TRUE(folder);
    ASSERT_TRUE(SetRawValue(HKEY_LOCAL_MACHINE, AppPathsKey, L"Path", REG_EXPAND_SZ, folder->bytes,
                            View::Bits64));
    const auto appPaths = KeyLastWriteTime(HKEY_LOCAL_MACHINE, AppPathsKey, View::Bits64);
    const auto restrictions = KeyLastWriteTime(HKEY_LOCAL_MACHINE, RestrictionsKey, View::Bits64);
    ASSERT_NE(appPaths, 0u);
    Sleep(50);
    ASSERT_EQ(RunVarnholt(L"/stop"), 0u);
    EXPECT_EQ(KeyLastWriteTime(HKEY_LOCAL_MACHINE, AppPathsKey, View::Bits64), appPaths);
    EXPECT_EQ(KeyLastWriteTime(HKEY_LOCAL_MACHINE, RestrictionsKey, View::Bits64), restrictions);
    const auto after = ReadRawValue(HKEY_LOCAL_MACHINE, AppPathsKey, L"Path", View::Bits64);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->type, static_cast<DWORD>(REG_EXPAND_SZ));
    SetRawValue(HKEY_LOCAL_MACHINE, AppPathsKey, L"Path", REG_SZ, folder->bytes, View::Bits64);
}

// Stores the frame-navigation value as text, runs the client once and reads the value back.
std::optional<RawValue> FrameNavigationAfterARunWith(const char* stored) {
    if (!SetRawValue(HKEY_LOCAL_MACHINE, RestrictionsKey, FrameNavigation, REG_SZ,
                     StringBytes(stored), View::Bits64) ||
        RunVarnholt(L"/stop") != 0)
        return std::nullopt;
    return ReadRawValue(HKEY_LOCAL_MACHINE, RestrictionsKey, FrameNavigation, View::Bits64);
}

// Text that reads as 1 is left as text (the number is rounded to a whole one, halves to the
// even neighbour); any other is rewritten as the double word.
TEST(StartUp, FrameNavigationStoredAsTextIsLeftWhenItReadsAs1AndRewrittenOtherwise) {
    for (const char* stored : {"1", "1.4", "0.6", " 1 px"})
        EXPECT_EQ(FrameNavigationAfterARunWith(stored), (RawValue{REG_SZ, StringBytes(stored)}))
            << stored;
    for (const char* stored : {"0", "2", "0.5", "1.5", "4294967295", "&H100000000"})
        EXPECT_EQ(FrameNavigationAfterARunWith(stored), DwordOne) << stored;
}

} // namespace
