// Fuzz target of numbers and versions read from text: LeadingNumber and the rounding to 16
// and 32 bits (text/Numbers.h), the Rect text of a remembered window
// (registry/HelpFileText.h) and CompareVersions (text/TextUtil.h).
//
// Input (tests/fuzz/FuzzInput.h): three texts, each ended by a 0 byte; the number, the
// Rect and the first version are the first text. The first eight bytes are also a double
// to round.
#include "platform/RunError.h"
#include "registry/HelpFileText.h"
#include "tests/fuzz/FuzzInput.h"
#include "text/Numbers.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// LeadingNumber skips blanks, tabs and line feeds anywhere; "no number reads as 0".
void CheckLeadingNumber(const std::wstring& text) {
    const double value = LeadingNumber(text);
    std::wstring packed = text;
    std::erase_if(packed, [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n'; });
    if (std::isnan(value) || LeadingNumber(packed) != value)
        Broken("not a number, or a blank changed the number", text);
    // No number written in so few characters overflows a double (&H with 255 digits would).
    if (text.size() < 256 && !std::isfinite(value))
        Broken("a short text reads as an infinite number", text);
    const wchar_t first = packed.empty() ? L'\0' : packed.front();
    const bool decimal = (first >= L'0' && first <= L'9') || first == L'.';
    if (!decimal && std::wstring_view(L"+-&").find(first) == std::wstring_view::npos && value != 0)
        Broken("a text without a number reads as a number", text);
    if (decimal && (LeadingNumber(L"-" + text) != -value || LeadingNumber(L"+" + text) != value))
        Broken("a sign does not change the number as it should", text);
    // The narrow form reads bytes as the characters of the same codes.
    if (std::all_of(text.begin(), text.end(), [](wchar_t c) { return c <= 0xFF; })) {
        const std::string bytes(text.begin(), text.end());
        if (LeadingNumber(std::string_view(bytes)) != value)
            Broken("the narrow form reads another number", text);
    }
}

// Rounded to the nearest integer, halves to the even one; an overflow exactly when that
// lies outside the target (between low, included, and high, not included, it does not).
template <typename Round>
void CheckRounding(double value, Round round, double low, double high, const std::wstring& text) {
    const bool fits = value >= low && value < high;
    double rounded = 0;
    try {
        rounded = round(value);
    } catch (const RunError& error) {
        if (error.Kind() != ErrorKind::Overflow || fits)
            Broken("the rounding fails for a number that fits", text);
        return;
    }
    const double off = std::fabs(rounded - value);
    if (!fits || off > 0.5 || (off == 0.5 && std::fmod(rounded, 2.0) != 0))
        Broken("not the nearest integer (halves to even) within the target", text);
}

void CheckRounding(double value, const std::wstring& text) {
    CheckRounding(value, RoundToInt16, -32768.5, 32767.5, text);
    CheckRounding(value, RoundToInt32, -2147483648.5, 2147483647.5, text);
}

// A rectangle only from exactly four fields, each a number (blanks around it); its values
// those numbers, rounded; RectText writes it back.
void CheckRect(const std::wstring& text) {
    std::vector<std::wstring> fields{{}};
    for (wchar_t c : text) {
        if (c == L',')
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    std::optional<Box> rect;
    try {
        rect = ParseRectText(text);
    } catch (const RunError& error) {
        if (fields.size() != 4 ||
            (error.Kind() != ErrorKind::InvalidArgument && error.Kind() != ErrorKind::Overflow))
            Broken("a Rect text raises another error", text);
        return;
    }
    if (rect.has_value() != (fields.size() == 4))
        Broken("a rectangle from other than four fields", text);
    if (!rect)
        return;
    const std::int32_t values[] = {rect->left, rect->top, rect->width, rect->height};
    for (int i = 0; i < 4; ++i) {
        if (fields[i].find_first_not_of(L" \t0123456789+-.") != std::wstring::npos ||
            std::fabs(values[i] - std::wcstod(fields[i].c_str(), nullptr)) > 0.5)
            Broken("a field is no number, or read as another one", text);
    }
    const std::int64_t left = rect->left;
    const std::int64_t top = rect->top;
    if (ParseRectText(RectText(left, top, left + rect->width, top + rect->height)) != rect)
        Broken("RectText does not read back as the rectangle", text);
}

// -1, 0 or 1, as an order of versions: each the same as itself, antisymmetric, transitive.
void CheckVersions(const std::wstring& a, const std::wstring& b, const std::wstring& c) {
    const int ab = CompareVersions(a, b);
    const int bc = CompareVersions(b, c);
    const int ac = CompareVersions(a, c);
    if (ab < -1 || ab > 1 || CompareVersions(b, a) != -ab || CompareVersions(a, a) != 0)
        Broken("CompareVersions is no order", a + L" | " + b);
    if ((ab >= 0 && bc >= 0 && ac < 0) || (ab <= 0 && bc <= 0 && ac > 0))
        Broken("CompareVersions is not transitive", a + L" | " + b + L" | " + c);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::wstring text = input.Field();
    const std::wstring second = input.Field();
    const std::wstring third = input.Field();
    CheckLeadingNumber(text);
    CheckRounding(LeadingNumber(text), text);
    double raw = 0;
    if (size > 0)
        std::memcpy(&raw, data, std::min(size, sizeof raw));
    CheckRounding(raw, L"the input's first eight bytes: " + std::to_wstring(raw));
    CheckRect(text);
    CheckVersions(text, second, third);
    return 0;
}
