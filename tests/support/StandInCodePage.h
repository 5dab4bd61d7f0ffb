// A stand-in for a double-byte ANSI code page, for the rewrite of a file's bytes: ASCII as
// it is, U+0080 to U+7F7F as a lead byte (outside ASCII) and the byte after it. Read back, a
// lead byte takes the byte after it whatever it is, a line end too; the byte FF alone and
// a lead byte at the end make "?", as a code page's default character.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline std::optional<std::string> ToStandInPage(std::wstring_view text) {
    std::string bytes;
    for (const wchar_t c : text) {
        const auto u = static_cast<std::uint32_t>(c);
        if (u >= 0x7F80)
            return std::nullopt;
        if (u >= 0x80)
            bytes += static_cast<char>(0x80 | (u - 0x80) >> 8);
        bytes += static_cast<char>(u < 0x80 ? u : (u - 0x80) & 0xFF);
    }
    return bytes;
}

inline std::wstring FromStandInPage(std::string_view bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint32_t u = static_cast<unsigned char>(bytes[i]);
        if (u < 0x80)
            text += static_cast<wchar_t>(u);
        else if (u != 0xFF && ++i < bytes.size())
            text += static_cast<wchar_t>(0x80 +
                                         ((u & 0x7F) << 8 | static_cast<unsigned char>(bytes[i])));
        else
            text += L'?';
    }
    return text;
}
