#include "text/CaseFold.h"

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    // Folding keeps the length, so texts of different lengths never match.
    return a.size() == b.size() && (a == b || FoldCase(a) == FoldCase(b));
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::size_t FindNoCase(std::wstring_view text, std::wstring_view pattern, std::size_t from) {
    if (pattern.size() > text.size() || from > text.size() - pattern.size())
        return std::wstring_view::npos;
    return FoldCase(text).find(FoldCase(pattern), from);
}
