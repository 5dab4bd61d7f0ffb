// Case-insensitive comparison of UTF-16 text, as the user's locale treats letter case
// for the scripts the dictionary is read in (Latin, Greek, Cyrillic). One table serves
// every class, title, key and switch match of the program.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

wchar_t FoldCase(wchar_t c);
std::wstring FoldCase(std::wstring_view text);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);
// Position (0-based) of the first occurrence of pattern at or after from, or npos.
std::size_t FindNoCase(std::wstring_view text, std::wstring_view pattern, std::size_t from = 0);
