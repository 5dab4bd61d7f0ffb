#include "viewer/ViewerWindows.h"

#include "platform/Ansi.h"
#include "text/CaseFold.h"

#include <string>

namespace {

constexpr int WindowStringLimit = 260;

bool Matches(const std::wstring& pattern, const std::wstring& value) {
    return pattern.empty() || EqualsNoCase(pattern, value);
}

HWND FirstChild(HWND parent) {
    return GetWindow(parent ? parent : GetDesktopWindow(), GW_CHILD);
}

} // namespace

std::wstring ReadClassName(HWND window, int limit) {
    std::string buffer(static_cast<std::size_t>(limit), '\0');
    const int n = GetClassNameA(window, buffer.data(), limit);
    buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return FromAnsi(buffer);
}

HWND FindForegroundViewer() {
    const HWND window = GetForegroundWindow();
    return EqualsNoCase(ReadClassName(window, ClassCheckLimit), ViewerClass) ? window : nullptr;
}

HWND WindowUnderCursor() {
    POINT cursor{};
    if (!GetCursorPos(&cursor))
        return nullptr;
    return WindowFromPoint(cursor);
}

HWND FindViewerAncestor(HWND start) {
    HWND result = start;
    HWND current = start;
    std::wstring lastClass;
    while (!EqualsNoCase(lastClass, ViewerClass) && current) {
        result = current;
        lastClass = ReadClassName(current, ClassCheckLimit);
        current = GetParent(current);
    }
    return result;
}

HWND FindChildWindow(HWND parent, const std::wstring& title, const std::wstring& className,
                     std::int16_t skip) {
    if (title.empty() && className.empty())
        return nullptr;
    int passed = 0;
    for (HWND candidate = FirstChild(parent); candidate;
         candidate = GetWindow(candidate, GW_HWNDNEXT)) {
        const std::wstring candidateClass = ReadWindowClass(candidate);
        const std::wstring candidateTitle = ReadWindowTitle(candidate);
        if (!Matches(className, candidateClass) || !Matches(title, candidateTitle))
            continue;
        if (skip <= 0 || passed >= skip)
            return candidate;
        ++passed;
    }
    return nullptr;
}

std::wstring ReadWindowClass(HWND window) {
    return ReadClassName(window, WindowStringLimit);
}

std::wstring ReadWindowTitle(HWND window) {
    std::wstring buffer(WindowStringLimit, L'\0');
    const int n = GetWindowTextW(window, buffer.data(), WindowStringLimit);
    buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buffer;
}

HWND FindSearchDialog(HWND viewer) {
    for (HWND window = FirstChild(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetWindow(window, GW_OWNER) != viewer)
            continue;
        const std::wstring title = ReadWindowTitle(window);
        if (EqualsNoCase(title, L"Поиск") || EqualsNoCase(title, L"Find"))
            return window;
    }
    return nullptr;
}
