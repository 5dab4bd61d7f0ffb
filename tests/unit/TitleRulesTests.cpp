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

// The visit of the top-level windows, lowest first, for a run in viewer with argument: the
// rival is the lowest window titled like either title, never the viewer nor an untitled one;
// the windows titled like the program's message boxes are asked whether a copy is pending,
// and one that is stops the visit once a rival is found.
TEST(VisitTopWindows, RivalPendingCopyAndTheWindowsAsked) {
    const std::wstring caption = L"Quillbay Client 2.127";
    const std::vector<TopWindow> five{
        {1, L"Other"}, {2, L"new"}, {3, L"Something"}, {4, L"OLD"}, {5, L"x"}};
    const std::vector<TopWindow> untitled{{1, L"New"}, {2, L""}, {3, L"New"}};
    const std::vector<TopWindow> boxes{
        {1, L"quillbay client 2.127"}, {2, L"Quillbay Client 2.12"}, {3, L"New"}};
    const std::vector<TopWindow> afterRival{{1, L"Old"}, {2, caption}, {3, L"New"}, {4, caption}};
    const struct {
        std::vector<TopWindow> windows;
        std::map<std::uintptr_t, bool> pendingCopies;
        std::uintptr_t viewer;
        std::wstring argument;
        std::uintptr_t rival;
        bool pending;
        std::vector<std::uintptr_t> asked;
    } rows[] = {
        {five, {}, 9, L"New|Old", 4, false, {}},
        {five, {}, 9, L"New", 2, false, {}},
        {five, {}, 9, L"Nothing|Matches", 0, false, {}},
        {untitled, {}, 3, L"New|Old", 1, false, {}},
        {untitled, {}, 0, L"New|Old", 3, false, {}},
        {untitled, {}, 9, L"|Old", 0, false, {}}, // an empty new title matches no untitled window
        {boxes, {{1, false}}, 9, L"New|Old", 3, false, {1}},
        // a pending copy after a rival stops the visit
        {afterRival, {{2, true}}, 9, L"New|Old", 1, true, {2}},
        // a pending copy before any rival visits on
        {{{1, caption}, {2, L"New"}, {3, caption}}, {{1, true}}, 9, L"New|Old", 2, true, {1, 3}},
        // a window titled like the caption can be the rival too
        {{{1, caption}}, {{1, true}}, 9, caption, 1, true, {1}},
    };
    for (const auto& row : rows) {
        std::vector<std::uintptr_t> asked;
        const TitleVisit visit = VisitTopWindows(
            row.windows, row.viewer, SplitTitleArgument(row.argument), caption,
            [&](std::uintptr_t window) {
                asked.push_back(window);
                return row.pendingCopies.contains(window) && row.pendingCopies.at(window);
            });
        EXPECT_EQ(visit.rival, row.rival) << "row " << &row - rows;
        EXPECT_EQ(visit.pending, row.pending) << "row " << &row - rows;
        EXPECT_EQ(asked, row.asked) << "row " << &row - rows;
    }
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
