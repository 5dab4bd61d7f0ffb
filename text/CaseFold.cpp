#include "text/CaseFold.h"

wchar_t FoldCase(wchar_t c) {
    const unsigned u = static_cast<unsigned>(c);
    if (u < 0x80)
        return (u >= 'A' && u <= 'Z') ? static_cast<wchar_t>(u + 32) : c;
    // Latin-1: À..Þ without ×
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)
        return static_cast<wchar_t>(u + 32);
    // Capital I with dot is i; dotless i has no other case outside Turkish
    if (u == 0x130)
        return L'i';
    if (u == 0x131)
        return c;
    // Latin Extended-A: pairs, upper case at the even code (0x100..0x137, 0x14A..0x177)
    if ((u >= 0x100 && u <= 0x137) || (u >= 0x14A && u <= 0x177))
        return static_cast<wchar_t>(u | 1);
    // Latin Extended-A: pairs, upper case at the odd code (0x139..0x148, 0x179..0x17E)
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E))
        return (u & 1) ? static_cast<wchar_t>(u + 1) : c;
    if (u == 0x178)
        return static_cast<wchar_t>(0xFF);
    // Greek
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2)
        return static_cast<wchar_t>(u + 32);
    if (u == 0x386)
        return static_cast<wchar_t>(0x3AC);
    if (u >= 0x388 && u <= 0x38A)
        return static_cast<wchar_t>(u + 37);
    if (u == 0x38C)
        return static_cast<wchar_t>(0x3CC);
    if (u == 0x38E || u == 0x38F)
        return static_cast<wchar_t>(u + 63);
    // Cyrillic
    if (u >= 0x400 && u <= 0x40F)
        return static_cast<wchar_t>(u + 80);
    if (u >= 0x410 && u <= 0x42F)
        return static_cast<wchar_t>(u + 32);
    if ((u >= 0x460 && u <= 0x481) || (u >= 0x48A && u <= 0x4BF) || (u >= 0x4D0 && u <= 0x52F))
        return static_cast<wchar_t>(u | 1);
    if (u >= 0x4C1 && u <= 0x4CE)
        return (u & 1) ? static_cast<wchar_t>(u + 1) : c;
    if (u == 0x4C0)
        return static_cast<wchar_t>(0x4CF);
    return c;
}

std::wstring FoldCase(std::wstring_view text) {
    std::wstring folded(text);
    for (auto& c : folded)
        c = FoldCase(c);
    return folded;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::size_t FindNoCase(std::wstring_view text, std::wstring_view pattern, std::size_t from) {
    if (pattern.size() > text.size())
        return std::wstring_view::npos;
    for (std::size_t i = from; i + pattern.size() <= text.size(); ++i) {
        if (EqualsNoCase(text.substr(i, pattern.size()), pattern))
            return i;
    }
    return std::wstring_view::npos;
}
