#include "tests/support/WindowText.h"

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TitleOf(HWND window) {
    const int n = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), n + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

namespace {

struct AboutSearch {
    DWORD processId = 0;
    HWND found = nullptr;
};

BOOL CALLBACK MatchAboutWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<AboutSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) &&
        ClassOf(window) == L"VarnholtAbout") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindAboutWindow(DWORD processId) {
    AboutSearch search{processId, nullptr};
    EnumWindows(MatchAboutWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
