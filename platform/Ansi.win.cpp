#include "platform/Ansi.h"

#include <windows.h>

#include <type_traits>

namespace {

// UTF-8 as the ANSI code page takes neither flag nor default-character report.
bool AnsiIsUtf8() {
    return GetACP() == CP_UTF8;
}

// The most bytes one character takes in the code page (two for a double-byte page).
std::size_t MaxCharBytes() {
    CPINFO info{};
    return GetCPInfo(CP_ACP, &info) ? info.MaxCharSize : 4;
}

// Every ANSI code page holds ASCII as it is, and the system's conversion costs far more
// per character: a file's text is mostly ASCII. So each character is copied to its place
// as it is, in one pass without a branch, and the system is asked only when a character
// outside ASCII turns up (the copy is then thrown away).
template <typename To, typename From> bool CopyAscii(std::basic_string_view<From> text, To* out) {
    unsigned seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::make_unsigned_t<From>>(text[i]);
        seen |= c;
        out[i] = static_cast<To>(c);
    }
    return seen < 0x80;
}

} // namespace

// One pass each way, into room for the longest possible result: a file's text is
// converted whole, and a second pass (asking the size first) would double the cost.
std::string ToAnsi(std::wstring_view text) {
    std::string result(text.size(), '\0');
    if (CopyAscii(text, result.data()))
        return result;
    const int length = static_cast<int>(text.size());
    const DWORD flags = AnsiIsUtf8() ? 0 : WC_NO_BEST_FIT_CHARS;
    result.assign(text.size() * MaxCharBytes(), '\0');
    const int n = WideCharToMultiByte(CP_ACP, flags, text.data(), length, result.data(),
                                      static_cast<int>(result.size()), nullptr, nullptr);
    result.resize(static_cast<std::size_t>(n));
    return result;
}

// A byte never makes more than one UTF-16 unit.
std::wstring FromAnsi(std::string_view text) {
    std::wstring result(text.size(), L'\0');
    if (CopyAscii(text, result.data()))
        return result;
    const int length = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.data(), length);
    result.resize(static_cast<std::size_t>(n));
    return result;
}
