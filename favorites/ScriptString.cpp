#include "favorites/ScriptString.h"

#include "text/Numbers.h"

#include <cstdint>
#include <utility>

namespace {

bool IsSurrogate(std::uint32_t unit, std::uint32_t first) {
    return unit >= first && unit <= first + 0x3FF;
}

template <typename Out> void AppendUnitEscape(Out& out, std::uint32_t unit) {
    AppendAscii(out, L"\\u");
    AppendAscii(out, HexDigits(unit, 4));
}

template <typename Out> void AppendCharacterEscape(Out& out, std::uint32_t c) {
    if (c > 0xFFFF) { // a 32-bit wchar_t holds what UTF-16 splits in two
        AppendUnitEscape(out, 0xD800 + ((c - 0x10000) >> 10));
        AppendUnitEscape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        AppendUnitEscape(out, c);
    }
}

// Appends text with every character for which escape(c) holds written as \uXXXX. Runs of
// characters that need none (most of a file) go in whole.
template <typename Out, typename NeedsEscape>
void AppendEscaped(Out& out, std::wstring_view text, NeedsEscape escape) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint32_t>(text[i]);
        if (!escape(c))
            continue;
        AppendAscii(out, text.substr(start, i - start));
        start = i + 1;
        AppendCharacterEscape(out, c);
    }
    AppendAscii(out, text.substr(start));
}

bool OutsideAscii(std::uint32_t c) {
    return c >= 0x80;
}

bool NotPlainInString(std::uint32_t c) {
    return !IsPlainInString(static_cast<wchar_t>(c));
}

// The value of count hexadecimal digits at text[at], or nothing.
std::optional<std::uint32_t> HexValue(std::wstring_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size())
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

bool IsOctalDigit(wchar_t c) {
    return c >= L'0' && c <= L'7';
}

// What one escape stands for, and how many characters of the string it takes.
struct Escape {
    std::uint32_t unit = 0;
    std::size_t length = 0;
};

// The escape at text[at] (a backslash); nothing where a script engine refuses it. As
// ECMAScript 3 engines read it, the octal escapes of every engine included (\101 is "A",
// \0 U+0000), and a backslash before any other character standing for that character (\D
// is "D", \8 is "8"). "\v" too is "v": the viewer's JScript has no vertical-tab escape,
// so an older client's raw "C:\vocab" is the favourite "C:vocab" on the page, and must
// stay so.
std::optional<Escape> ReadEscape(std::wstring_view text, std::size_t at) {
    if (at + 1 >= text.size())
        return std::nullopt;
    const wchar_t c = text[at + 1];
    static constexpr std::wstring_view Letters = L"btnfr";
    static constexpr std::wstring_view Controls = L"\b\t\n\f\r";
    if (const std::size_t letter = Letters.find(c); letter != std::wstring_view::npos)
        return Escape{static_cast<std::uint32_t>(Controls[letter]), 2};
    if (c == L'x' || c == L'u') {
        const std::size_t digits = c == L'x' ? 2 : 4;
        const auto value = HexValue(text, at + 2, digits);
        if (!value)
            return std::nullopt;
        return Escape{*value, 2 + digits};
    }
    if (IsOctalDigit(c)) {
        // Three digits at most, and the value stays below 256: \377, \47, \7.
        const std::size_t most = c <= L'3' ? 3 : 2;
        std::uint32_t value = 0;
        std::size_t n = 0;
        while (n < most && at + 1 + n < text.size() && IsOctalDigit(text[at + 1 + n]))
            value = value * 8 + static_cast<std::uint32_t>(text[at + 1 + n++] - L'0');
        return Escape{value, 1 + n};
    }
    if (IsScriptLineBreak(c))
        return std::nullopt;
    return Escape{static_cast<std::uint32_t>(c), 2};
}

} // namespace

bool IsScriptLineBreak(wchar_t c) {
    return c == L'\r' || c == L'\n' || c == L'\u2028' || c == L'\u2029';
}

std::wstring ScriptText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    AppendScriptText(out, text);
    return out;
}

void AppendScriptText(std::wstring& out, std::wstring_view text) {
    AppendEscaped(out, text, OutsideAscii);
}

void AppendScriptText(std::string& out, std::wstring_view text) {
    AppendEscaped(out, text, OutsideAscii);
}

void AppendScriptString(std::wstring& out, std::wstring_view text) {
    AppendEscaped(out, text, NotPlainInString);
}

void AppendScriptString(std::string& out, std::wstring_view text) {
    AppendEscaped(out, text, NotPlainInString);
}

bool ReadScriptString(std::wstring_view quoted, std::wstring& out) {
    out.clear();
    for (std::size_t i = 0; i < quoted.size();) {
        const wchar_t c = quoted[i];
        if (c == L'"' || IsScriptLineBreak(c))
            return false;
        if (c != L'\\') {
            out += c;
            ++i;
            continue;
        }
        const auto escape = ReadEscape(quoted, i);
        if (!escape)
            return false;
        i += escape->length;
        std::uint32_t unit = escape->unit;
        // A 32-bit wchar_t holds an escaped surrogate pair as one character.
        if (sizeof(wchar_t) > 2 && IsSurrogate(unit, 0xD800) && i < quoted.size() &&
            quoted[i] == L'\\') {
            const auto low = ReadEscape(quoted, i);
            if (low && IsSurrogate(low->unit, 0xDC00)) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low->unit - 0xDC00);
                i += low->length;
            }
        }
        out += static_cast<wchar_t>(unit);
    }
    return true;
}

std::optional<std::wstring> ReadScriptString(std::wstring_view quoted) {
    std::wstring out;
    if (!ReadScriptString(quoted, out))
        return std::nullopt;
    return out;
}
