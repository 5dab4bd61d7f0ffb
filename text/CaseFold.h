// Case-insensitive comparison of UTF-16 text, as the user's locale treats letter case.
// One folding serves every class, title, key, switch and favourite match of the program:
// the Windows build asks the system, the native test build folds with a table of the
// scripts the dictionary is read in (Latin, Greek, Cyrillic).
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The text with letter case folded away; texts equal ignoring case fold to equal texts.
// Folding keeps the length.
std::wstring FoldCase(std::wstring_view text);

bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
// An ASCII capital as its small letter; any other character as it is.
inline wchar_t LowerAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}
// Two characters that no language's casing makes equal: both ASCII, and neither the same
// character nor the two cases of one letter. One such pair settles a comparison without
// folding (which asks the system, once per text).
inline bool SurelyDifferentNoCase(wchar_t a, wchar_t b) {
    return a != b && a < 0x80 && b < 0x80 && LowerAscii(a) != LowerAscii(b);
}
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);
// Position (0-based) of the first occurrence of pattern at or after from, or npos.
std::size_t FindNoCase(std::wstring_view text, std::wstring_view pattern, std::size_t from = 0);

// Names that are ASCII by definition (switches, the system's window classes): ASCII
// letters compared without regard to case, every other character as it is, the same
// under every locale (under Turkish rules "I" is not the capital of "i").
bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b);
// Position (0-based) of the first such occurrence of pattern at or after from, or npos.
std::size_t FindAsciiNoCase(std::wstring_view text, std::wstring_view pattern,
                            std::size_t from = 0);
