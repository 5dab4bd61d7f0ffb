#include "viewer/ShellWindows.h"

#include "text/CaseFold.h"

#include <algorithm>
#include <array>

bool IsShellWindowClass(std::wstring_view className) {
    static constexpr std::array<std::wstring_view, 4> ShellClasses = {
        L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"};
    return std::any_of(ShellClasses.begin(), ShellClasses.end(), [&](std::wstring_view shell) {
        return EqualsAsciiNoCase(className, shell);
    });
}
