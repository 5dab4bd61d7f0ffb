// The /title decisions: the two titles, the other copy's command line, the rival; and the
// shell's windows that the commands under the pointer leave alone.
#include "viewer/ShellWindows.h"
#include "viewer/TitleRules.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The first bar separates the new title from the old one (which keeps any further bars);
// a missing part is empty.
TEST(SplitTitleArgument, FirstBarSeparatesNewFromOldAndMissingPartsAreEmpty) {
    const struct {
        const wchar_t* argument;
        const wchar_t* newTitle;
        const wchar_t* oldTitle;
    } rows[] = {{L"New|Old", L"New", L"Old"}, {L" New|Old", L" New", L"Old"},
                {L"A|B|C", L"A", L"B|C"},     {L"Only New", L"Only New", L""},
                {L"|x", L"", L"x"},           {L" |x", L" ", L"x"},
                {L"New|", L"New", L""}};
    for (const auto& row : rows) {
        const TitlePair pair = SplitTitleArgument(row.argument);
        EXPECT_EQ(pair.newTitle, row.newTitle) << testing::PrintToString(row.argument);
        EXPECT_EQ(pair.oldTitle, row.oldTitle) << testing::PrintToString(row.argument);
    }
}

// Whether a command line is another run with the same /title text: the tail from the
// first " /title", in any letter case.
TEST(IsSameTitleRun, TailFromTheFirstTitleSwitch) {
    const struct {
        const wchar_t* commandLine;
        const wchar_t* argument;
        bool same;
    } rows[] = {{L"\"C:\\Q\\Varnholt.exe\" /titleNew|Old", L"New|Old", true},
                {L"Varnholt.exe /TITLEnew|OLD", L"New|Old", true},
                {L"Varnholt.exe /title Новый", L" НОВЫЙ", true},
                {L"Varnholt.exe /titleNew|Other", L"New|Old", false},
                {L"Varnholt.exe /titleNew|Old ", L"New|Old", false},
                {L"Varnholt.exe /title New|Old", L"New|Old", false},
                {L"Varnholt.exe/titleNew|Old", L"New|Old", false},
                {L"", L"", false},
                {L"x.exe /titleA /titleB", L"B", false}, // only the first " /title" counts
                {L"x.exe /titleA /titleB", L"A /titleB", true}};
    for (const auto& row : rows)
        EXPECT_EQ(IsSameTitleRun(row.commandLine, row.argument), row.same)
            << testing::PrintToString(row.commandLine);
}

struct VisitCase {
    std::vector<TopWindow> windows;
    std::map<std::uintptr_t, bool> pendingCopies;
    std::vector<std::uintptr_t> asked;

    TitleVisit Run(std::uintptr_t viewer, const std::wstring& argument) {
        return VisitTopWindows(windows, viewer, SplitTitleArgument(argument),
                               L"Quillbay Client 2.127", [this](std::uintptr_t window) {
                                   asked.push_back(window);
                                   return pendingCopies[window];
                               });
    }
};

TEST(VisitTopWindows, LowestWindowTitledLikeEitherTitleIsTheRival) {
    VisitCase c{{{1, L"Other"}, {2, L"new"}, {3, L"Something"}, {4, L"OLD"}, {5, L"x"}}, {}, {}};
    EXPECT_EQ(c.Run(9, L"New|Old").rival, 4u);
    EXPECT_EQ(c.Run(9, L"New").rival, 2u);
    EXPECT_EQ(c.Run(9, L"Nothing|Matches").rival, 0u);
}

TEST(VisitTopWindows, ViewerAndUntitledWindowsAreNeverRivals) {
    VisitCase c{{{1, L"New"}, {2, L""}, {3, L"New"}}, {}, {}};
    EXPECT_EQ(c.Run(3, L"New|Old").rival, 1u);
    EXPECT_EQ(c.Run(0, L"New|Old").rival, 3u);
    // an empty new title matches no untitled window
    EXPECT_EQ(c.Run(9, L"|Old").rival, 0u);
}

TEST(VisitTopWindows, MessageBoxesOfTheProgramAreAskedAbout) {
    VisitCase c{{{1, L"quillbay client 2.127"}, {2, L"Quillbay Client 2.12"}, {3, L"New"}},
                {{1, false}},
                {}};
    const TitleVisit visit = c.Run(9, L"New|Old");
    EXPECT_EQ(c.asked, std::vector<std::uintptr_t>{1});
    EXPECT_FALSE(visit.pending);
    EXPECT_EQ(visit.rival, 3u);
}

TEST(VisitTopWindows, PendingCopyAfterARivalStopsTheVisit) {
    VisitCase c{
        {{1, L"Old"}, {2, L"Quillbay Client 2.127"}, {3, L"New"}, {4, L"Quillbay Client 2.127"}},
        {{2, true}},
        {}};
    const TitleVisit visit = c.Run(9, L"New|Old");
    EXPECT_TRUE(visit.pending);
    EXPECT_EQ(visit.rival, 1u);
    EXPECT_EQ(c.asked, std::vector<std::uintptr_t>{2});
}

TEST(VisitTopWindows, PendingCopyBeforeAnyRivalVisitsOn) {
    VisitCase c{{{1, L"Quillbay Client 2.127"}, {2, L"New"}, {3, L"Quillbay Client 2.127"}},
                {{1, true}},
                {}};
    const TitleVisit visit = c.Run(9, L"New|Old");
    EXPECT_TRUE(visit.pending);
    EXPECT_EQ(visit.rival, 2u);
    EXPECT_EQ(c.asked, (std::vector<std::uintptr_t>{1, 3}));
}

TEST(VisitTopWindows, AWindowTitledLikeTheCaptionCanBeTheRivalToo) {
    VisitCase c{{{1, L"Quillbay Client 2.127"}}, {{1, true}}, {}};
    const TitleVisit visit = c.Run(9, L"Quillbay Client 2.127");
    EXPECT_EQ(visit.rival, 1u);
    EXPECT_TRUE(visit.pending);
}

TEST(ShellWindows, TheDesktopsAndTaskbarsClassesInAnyCase) {
    for (const wchar_t* shell :
         {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd", L"SHELL_TRAYWND"})
        EXPECT_TRUE(IsShellWindowClass(shell)) << std::wstring(shell).size();
    for (const wchar_t* other : {L"HH Parent", L"HTML Application Host Window Class", L"Progma",
                                 L"Shell_TrayWndX", L"", L"#32769"})
        EXPECT_FALSE(IsShellWindowClass(other)) << std::wstring(other).size();
}

} // namespace
