#include "viewer/TitleRules.h"

#include "text/CaseFold.h"

namespace {

constexpr std::wstring_view TitleSwitch = L" /title";

} // namespace

TitlePair SplitTitleArgument(std::wstring_view argument) {
    const std::size_t bar = argument.find(L'|');
    if (bar == std::wstring_view::npos)
        return {std::wstring(argument), {}};
    return {std::wstring(argument.substr(0, bar)), std::wstring(argument.substr(bar + 1))};
}

bool IsSameTitleRun(std::wstring_view commandLine, std::wstring_view argument) {
    // The switch name as the dispatch finds it; the argument by the locale's rules.
    const std::size_t at = FindAsciiNoCase(commandLine, TitleSwitch);
    if (at == std::wstring_view::npos)
        return false;
    return EqualsNoCase(commandLine.substr(at + TitleSwitch.size()), argument);
}

TitleVisit VisitTopWindows(const std::vector<TopWindow>& windows, std::uintptr_t viewer,
                           const TitlePair& titles, std::wstring_view messageCaption,
                           const std::function<bool(std::uintptr_t)>& isPendingCopy) {
    TitleVisit visit;
    for (const TopWindow& top : windows) {
        if (!top.title.empty() && top.window != viewer &&
            (EqualsNoCase(top.title, titles.oldTitle) || EqualsNoCase(top.title, titles.newTitle)))
            visit.rival = top.window;
        if (EqualsNoCase(top.title, messageCaption) && isPendingCopy(top.window)) {
            visit.pending = true;
            if (visit.rival)
                break;
        }
    }
    return visit;
}
