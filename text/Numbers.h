// Numbers read from text: the number at the start of a switch argument, a registry value
// or a version part, and its rounding to the integer width a caller needs.
#pragma once
#include <cstdint>
#include <string_view>

// The number at the start of text: blanks, tabs and line feeds are skipped anywhere;
// sign, digits and one "." ; or &H hexadecimal / &O octal. No number reads as 0.
double LeadingNumber(std::wstring_view text);
double LeadingNumber(std::string_view text);

// Round to the nearest integer, halves to the even neighbour; a result outside the
// target's range throws RunError(Overflow).
std::int16_t RoundToInt16(double value);
std::int32_t RoundToInt32(double value);
