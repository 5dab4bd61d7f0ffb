#include "text/CaseFold.h"

#include <algorithm>

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    // Folding keeps the length, so texts of different lengths never match.
    if (a.size() != b.size())
        return false;
    if (a == b)
        return true;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (SurelyDifferentNoCase(a[i], b[i]))
            return false;
    }
    return FoldCase(a) == FoldCase(b);
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::size_t FindNoCase(std::wstring_view text, std::wstring_view pattern, std::size_t from) {
    if (pattern.size() > text.size() || from > text.size() - pattern.size())
        return std::wstring_view::npos;
    return FoldCase(text).find(FoldCase(pattern), from);
}

bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return LowerAscii(x) == LowerAscii(y); });
}

std::size_t FindAsciiNoCase(std::wstring_view text, std::wstring_view pattern, std::size_t from) {
    for (std::size_t at = from; at <= text.size() && pattern.size() <= text.size() - at; ++at) {
        if (EqualsAsciiNoCase(text.substr(at, pattern.size()), pattern))
            return at;
    }
    return std::wstring_view::npos;
}
