// The argument of a switch is all the text after the switch name; numeric switches read
// the number at its start.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

enum class CompareMode { Exact, Text };

// Text after the first occurrence of separator: at most length characters (0 = to the
// end). When the separator is absent: empty text if emptyWhenAbsent, else the whole text.
std::wstring TextAfter(std::wstring_view text, std::wstring_view separator, int length = 0,
                       bool emptyWhenAbsent = true, CompareMode mode = CompareMode::Exact);

// Everything after the first exact (case-sensitive) occurrence of the switch name,
// untrimmed; empty when the exact name does not occur.
std::wstring SwitchArgument(std::wstring_view commandLine, std::wstring_view switchName);

// The number at the start of text: blanks, tabs and line feeds are skipped anywhere;
// sign, digits and one "." ; or &H hexadecimal / &O octal. No number reads as 0.
double LeadingNumber(std::wstring_view text);
double LeadingNumber(std::string_view text);

// Round to the nearest integer, halves to the even neighbour; a result outside the
// target's range throws RunError(Overflow).
std::int16_t RoundToInt16(double value);
std::int32_t RoundToInt32(double value);
