// The script string of the Favorites file, both ways: the text an ECMAScript 3 engine (the
// viewer's JScript) reads between a string's quotes, and text written in pure ASCII, every
// other character as the escape \uXXXX (UTF-16 units), so that a page reads the same
// text whatever charset it decodes the file with.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text that is ASCII, as every Append form below writes, into wide text or into bytes.
inline void AppendAscii(std::wstring& out, std::wstring_view ascii) {
    out.append(ascii);
}
inline void AppendAscii(std::string& out, std::wstring_view ascii) {
    for (const wchar_t c : ascii)
        out.push_back(static_cast<char>(c));
}

// Text as a comment of the file holds it: every character outside ASCII as \uXXXX, a
// character beyond U+FFFF as its two surrogate units.
std::wstring ScriptText(std::wstring_view text);
// The Append forms write the same ASCII into wide text or into bytes.
void AppendScriptText(std::wstring& out, std::wstring_view text);
void AppendScriptText(std::string& out, std::wstring_view text);

// Whether a character stands between a string's quotes as it is: printable ASCII but the
// quote and the backslash, which would end the string or begin an escape. Inline and without
// a branch: the rewrite asks it of nearly every character of a file.
inline bool IsPlainInString(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    return (u - 0x20 < 0x5F) & (u != L'"') & (u != L'\\');
}
// Text as it stands between a string's quotes: every other character as \uXXXX.
void AppendScriptString(std::wstring& out, std::wstring_view text);
void AppendScriptString(std::string& out, std::wstring_view text);

// The text of a string as the viewer's script engine (JScript, ECMAScript 3) reads what
// stands between its quotes: \D and \v are "D" and "v", \t a tab, \x41, \u0041 and \101
// "A", \0 U+0000; nothing when the engine refuses it (a raw quote or line break, a broken
// \x or \u escape, a backslash at the end).
std::optional<std::wstring> ReadScriptString(std::wstring_view quoted);
// The same into out (a file's many strings read through one buffer); false when refused.
bool ReadScriptString(std::wstring_view quoted, std::wstring& out);

// A line break of the script: it ends a comment, and a string may not hold it raw.
bool IsScriptLineBreak(wchar_t c);
