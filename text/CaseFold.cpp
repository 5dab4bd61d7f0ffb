#include "text/CaseFold.h"

namespace {

// Two characters that no language's casing makes equal: both ASCII, and neither the same
// character nor the two cases of one letter. One such pair settles a comparison without
// folding (which asks the system, once per text).
bool SurelyDifferent(wchar_t a, wchar_t b) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; };
    return a != b && a < 0x80 && b < 0x80 && lower(a) != lower(b);
}

} // namespace

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    // Folding keeps the length, so texts of different lengths never match.
    if (a.size() != b.size())
        return false;
    if (a == b)
        return true;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (SurelyDifferent(a[i], b[i]))
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
