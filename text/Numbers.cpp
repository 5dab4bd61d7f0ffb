#include "text/Numbers.h"

#include "platform/RunError.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

bool IsSkipped(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n';
}

int DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return 99;
}

// Reads the digits of a &H or &O number (the skipped characters may stand between them).
// Up to 16 bits (four hex digits) the value is a signed 16-bit number, up to 32 bits a
// signed 32-bit one; a longer number keeps its full value, which no integer target takes.
double ReadRadixNumber(std::wstring_view text, std::size_t i, int radix) {
    double value = 0;
    int digits = 0;
    for (; i < text.size(); ++i) {
        if (IsSkipped(text[i]))
            continue;
        const int d = DigitValue(text[i]);
        if (d >= radix)
            break;
        value = value * radix + d;
        ++digits;
    }
    if (value > 4294967295.0)
        return value;
    const auto bits = static_cast<std::uint32_t>(value);
    const bool sixteenBit = radix == 16 ? digits <= 4 : bits <= 0xFFFF;
    if (sixteenBit)
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(bits)));
    return static_cast<double>(static_cast<std::int32_t>(bits));
}

} // namespace

double LeadingNumber(std::wstring_view text) {
    std::size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && IsSkipped(text[i]))
            ++i;
    };
    skip();
    if (i < text.size() && text[i] == L'&') {
        std::size_t j = i + 1;
        while (j < text.size() && IsSkipped(text[j]))
            ++j;
        if (j < text.size() && (text[j] == L'H' || text[j] == L'h'))
            return ReadRadixNumber(text, j + 1, 16);
        if (j < text.size() && (text[j] == L'O' || text[j] == L'o'))
            return ReadRadixNumber(text, j + 1, 8);
        return 0.0;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::string digits;
    bool point = false;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (IsSkipped(c))
            continue;
        if (c >= L'0' && c <= L'9')
            digits += static_cast<char>(c);
        else if (c == L'.' && !point) {
            point = true;
            digits += '.';
        } else
            break;
    }
    if (digits.empty() || digits == ".")
        return 0.0;
    if (digits.front() == '.')
        digits.insert(digits.begin(), '0');
    const double value = std::strtod(digits.c_str(), nullptr);
    return negative ? -value : value;
}

double LeadingNumber(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (char c : text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return LeadingNumber(std::wstring_view(wide));
}

namespace {

double RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1.0;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::wstring NumberText(double value) {
    std::wstring text = std::to_wstring(value);
    while (!text.empty() && text.find(L'.') != std::wstring::npos &&
           (text.back() == L'0' || text.back() == L'.')) {
        const bool wasPoint = text.back() == L'.';
        text.pop_back();
        if (wasPoint)
            break;
    }
    return text;
}

} // namespace

std::int16_t RoundToInt16(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw RunError(ErrorKind::Overflow, NumberText(value));
    return static_cast<std::int16_t>(r);
}

std::int32_t RoundToInt32(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw RunError(ErrorKind::Overflow, NumberText(value));
    return static_cast<std::int32_t>(r);
}
