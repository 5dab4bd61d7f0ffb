// What the second-instance guard learns about another process, through WMI and, where
// Wine's WMI lacks the facts, from the process itself.
#include "tests/support/Process.h"
#include "tests/support/TestWindowProcess.h"
#include "text/CaseFold.h"
#include "viewer/ProcessQuery.h"

#include <gtest/gtest.h>

namespace {

TEST(ProcessQuery, ProgramFileAndCommandLineOfARunningProcess) {
    TestWindowOptions options;
    options.className = L"ProcessQueryTest";
    options.title = L"Process query /title Target";
    TestWindowProcess target = TestWindowProcess::Start(options);
    ASSERT_TRUE(target.Window());

    ProcessQuery query;
    ASSERT_TRUE(query.Connected());
    const auto facts = query.Fetch(target.ProcessId());
    ASSERT_TRUE(facts);
    EXPECT_TRUE(EqualsNoCase(facts->executablePath, TestBinFolder() + L"\\TitleTestWindow.exe"))
        << facts->executablePath;
    EXPECT_NE(facts->commandLine.find(L"TitleTestWindow.exe\" --class \"ProcessQueryTest\""),
              std::wstring::npos)
        << facts->commandLine;
    EXPECT_NE(facts->commandLine.find(L"--title \"Process query /title Target\""),
              std::wstring::npos);
}

TEST(ProcessQuery, AProcessThatHasEndedIsNotFound) {
    ChildProcess child = ChildProcess::Start(TestBinFolder() + L"\\TitleTestWindow.exe",
                                             L"--record " + TemporaryFilePath(L"ended"));
    ASSERT_TRUE(child.WaitForExit(15000));
    ProcessQuery query;
    ASSERT_TRUE(query.Connected());
    EXPECT_FALSE(query.Fetch(child.Id()));
    EXPECT_FALSE(query.Fetch(0x7FFFFFF0));
}

TEST(ProcessQuery, TheProcessItselfTellsItsImageAndCommandLine) {
    wchar_t own[MAX_PATH * 2];
    GetModuleFileNameW(nullptr, own, MAX_PATH * 2);
    EXPECT_TRUE(EqualsNoCase(ProcessImagePath(GetCurrentProcessId()), own))
        << ProcessImagePath(GetCurrentProcessId());
    EXPECT_EQ(ProcessCommandLine(GetCurrentProcessId()), GetCommandLineW());
    EXPECT_EQ(ProcessImagePath(0x7FFFFFF0), L"");
    EXPECT_EQ(ProcessCommandLine(0x7FFFFFF0), L"");
}

} // namespace
