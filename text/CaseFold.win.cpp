#include "text/CaseFold.h"

#include <windows.h>

std::wstring FoldCase(std::wstring_view text) {
    if (text.empty())
        return {};
    // The locale's own casing rules: final sigma, the micro sign and the Vietnamese horned
    // letters have their capitals here, which the plain file-system table lacks.
    const DWORD flags = LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING;
    const int length = static_cast<int>(text.size());
    std::wstring folded(text.size(), L'\0');
    const int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.data(), length, folded.data(),
                                length, nullptr, nullptr, 0);
    if (n != length)
        return std::wstring(text); // casing that would change the length: compare as it is
    return folded;
}
