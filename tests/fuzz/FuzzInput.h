// A fuzz input as the targets read it: a few fields of wide text, each ended by a 0 byte.
// A byte below 0x80 is that ASCII character, so a seed typed as text reads as it stands
// and most inputs are mostly ASCII; a byte from 0x80 on is followed by two bytes, a UTF-16
// unit high byte first. Two units of a surrogate pair become one character, as a 32-bit
// wchar_t holds text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // The next byte; 0 at the end.
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

    // The text up to the next 0 byte (or the end).
    std::wstring Field() { return Read(true); }
    // All the text left, where a 0 byte is U+0000.
    std::wstring Rest() { return Read(false); }

  private:
    std::wstring Read(bool toZero) {
        std::wstring text;
        while (at_ < size_) {
            std::uint32_t unit = Byte();
            if (unit == 0 && toZero)
                break;
            if (unit >= 0x80)
                unit = static_cast<std::uint32_t>(Byte()) << 8 | Byte();
            const std::uint32_t high = text.empty() ? 0 : static_cast<std::uint32_t>(text.back());
            if (unit - 0xDC00 < 0x400 && high - 0xD800 < 0x400)
                text.back() =
                    static_cast<wchar_t>(0x10000 + ((high - 0xD800) << 10) + unit - 0xDC00);
            else
                text += static_cast<wchar_t>(unit);
        }
        return text;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A property broken: says which and on what text (other characters than printable ASCII
// as "?"), and aborts, which the fuzzer and the replay both report.
[[noreturn]] inline void Broken(const char* property, std::wstring_view text) {
    std::string shown;
    for (wchar_t c : text)
        shown += c == L'\n' || (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
    std::fprintf(stderr, "%s\n---\n%s\n", property, shown.c_str());
    std::abort();
}
