// The decisions of /title that need no window: the two titles of the argument, which
// top-level window is the rival, and whether another copy of the client was started
// with the same argument.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct TitlePair {
    std::wstring newTitle;
    std::wstring oldTitle; // the title the viewer opened under; empty when not given
};

// Split at the first "|"; further "|" stay in the old title.
TitlePair SplitTitleArgument(std::wstring_view argument);

// Whether a command line is that of a run of /title with this same argument: from its
// first " /title" (any letter case) to its end it reads " /title" + argument, ignoring
// letter case.
bool IsSameTitleRun(std::wstring_view commandLine, std::wstring_view argument);

struct TopWindow {
    std::uintptr_t window = 0;
    std::wstring title;
};

struct TitleVisit {
    std::uintptr_t rival = 0; // 0 = none
    bool pending = false;     // another copy with the same argument has a message box open
};

// Visits the top-level windows in Z-order from the top. The rival is the lowest window,
// other than the viewer, titled like the new or the old title; a window titled like the
// program's message boxes is asked about with isPendingCopy. Once a pending copy is seen
// and a rival is known the visit stops.
TitleVisit VisitTopWindows(const std::vector<TopWindow>& windows, std::uintptr_t viewer,
                           const TitlePair& titles, std::wstring_view messageCaption,
                           const std::function<bool(std::uintptr_t)>& isPendingCopy);
