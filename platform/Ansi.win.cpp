#include "platform/Ansi.h"

#include <windows.h>

namespace {

// UTF-8 as the ANSI code page takes neither flag nor default-character report.
bool AnsiIsUtf8() {
    return GetACP() == CP_UTF8;
}

} // namespace

std::string ToAnsi(std::wstring_view text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const DWORD flags = AnsiIsUtf8() ? 0 : WC_NO_BEST_FIT_CHARS;
    const int n =
        WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), length, result.data(), n, nullptr, nullptr);
    return result;
}

std::wstring FromAnsi(std::string_view text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.data(), n);
    return result;
}

bool FitsAnsi(std::wstring_view text) {
    if (AnsiIsUtf8())
        return true;
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                      static_cast<int>(text.size()), bytes, sizeof bytes, nullptr,
                                      &usedDefault);
    return n > 0 && !usedDefault;
}
