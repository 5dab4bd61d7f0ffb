// The native test build's letter case: a table of the letters the ANSI code pages carry,
// folded to small letters. The Windows build asks the system instead.
#include "text/CaseFold.h"
#include "text/CaseFoldNative.h"

namespace {

bool turkish = false;

wchar_t FoldLetter(wchar_t c) {
    const unsigned u = static_cast<unsigned>(c);
    if (turkish && (u == 'I' || u == 0x130))
        return u == 'I' ? static_cast<wchar_t>(0x131) : L'i';
    if (u < 0x80)
        return (u >= 'A' && u <= 'Z') ? static_cast<wchar_t>(u + 32) : c;
    // Latin-1: À..Þ without ×
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)
        return static_cast<wchar_t>(u + 32);
    // The micro sign is the Greek small mu
    if (u == 0xB5)
        return static_cast<wchar_t>(0x3BC);
    // Capital I with dot and dotless i pair with i and I only under Turkish rules
    if (u == 0x130 || u == 0x131)
        return c;
    // Latin Extended-A: pairs, upper case at the even code (0x100..0x137, 0x14A..0x177)
    if ((u >= 0x100 && u <= 0x137) || (u >= 0x14A && u <= 0x177))
        return static_cast<wchar_t>(u | 1);
    // Latin Extended-A: pairs, upper case at the odd code (0x139..0x148, 0x179..0x17E)
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E))
        return (u & 1) ? static_cast<wchar_t>(u + 1) : c;
    if (u == 0x178)
        return static_cast<wchar_t>(0xFF);
    // Vietnamese horned O and U
    if (u == 0x1A0 || u == 0x1AF)
        return static_cast<wchar_t>(u + 1);
    // Greek, final sigma included
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2)
        return static_cast<wchar_t>(u + 32);
    if (u == 0x3C2)
        return static_cast<wchar_t>(0x3C3);
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

} // namespace

void UseTurkishCasing(bool on) {
    turkish = on;
}

std::wstring FoldCase(std::wstring_view text) {
    std::wstring folded(text);
    for (auto& c : folded)
        c = FoldLetter(c);
    return folded;
}
