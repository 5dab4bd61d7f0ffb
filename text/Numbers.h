// Numbers read from text: the number at the start of a switch argument, a registry value
// or a version part, a number that a stored text holds whole, and its rounding to the
// integer width a caller needs. Every reader of numbers in the program reads through here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The value of a hexadecimal digit (0-9, a-f, A-F); -1 for any other character.
int HexDigitValue(wchar_t c);
// The lowest count hexadecimal digits of value, in capitals, the highest first
// (HexDigits(0x419, 8) is "00000419").
std::wstring HexDigits(std::uint32_t value, std::size_t count);

// How a decimal number may be written where it is read: the sign it may begin with,
// whether a fraction ("2.5", ".5", "5.") and an exponent ("1e+20") may follow its digits,
// and the characters passed over anywhere in it.
enum class NumberSign { None, Minus, Either };
struct NumberForm {
    NumberSign sign = NumberSign::Either;
    bool fraction = true;
    bool exponent = false;
    std::wstring_view passedOver = {};
};

// The decimal number at the start of text, and how many characters of text it takes;
// nothing when text does not begin with one (a sign or a point alone is none).
struct NumberRead {
    double value = 0;
    std::size_t length = 0;
};
std::optional<NumberRead> ReadNumber(std::wstring_view text, const NumberForm& form);
// The decimal number that text holds whole; nothing when it holds anything else.
std::optional<double> ReadWholeNumber(std::wstring_view text, const NumberForm& form);

// The number at the start of text: blanks, tabs and line feeds are skipped anywhere;
// sign, digits and one "." ; or &H hexadecimal / &O octal. No number reads as 0.
double LeadingNumber(std::wstring_view text);
double LeadingNumber(std::string_view text);

// Round to the nearest integer, halves to the even neighbour; a result outside the
// target's range throws RunError(Overflow).
std::int16_t RoundToInt16(double value);
std::int32_t RoundToInt32(double value);
