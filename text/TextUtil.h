// Text, number and list routines shared by several parts of the program (splitting text is
// text/TextSplit.h's). GetKeyValue's positions are 1-based (0 restarts the scan); positions
// returned elsewhere in the program (FindNoCase, ...) are 0-based offsets, as
// std::wstring_view gives them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::wstring_view CrLf = L"\r\n";

// The blanks a text may have around it, unless a reader says otherwise.
inline constexpr std::wstring_view SpacesAndTabs = L" \t";
enum class TextEnds { Both, Start, End };
// The text without the blanks at its start, its end or both.
std::wstring_view TrimText(std::wstring_view text, TextEnds ends = TextEnds::Both,
                           std::wstring_view blanks = SpacesAndTabs);

// Text before the first (case-sensitive) occurrence of delimiter; the whole text when
// it does not occur or the delimiter is empty.
std::wstring TextBefore(std::wstring_view text, std::wstring_view delimiter);

enum class CompareMode { Exact, Text };

// Text after the first occurrence of separator: at most length characters (0 = to the
// end). When the separator is absent: empty text if emptyWhenAbsent, else the whole text.
std::wstring TextAfter(std::wstring_view text, std::wstring_view separator, int length = 0,
                       bool emptyWhenAbsent = true, CompareMode mode = CompareMode::Exact);

// The text, or when it is longer than length characters its first length and "…" (a
// pair of surrogates is never split: the cut then comes one character earlier).
std::wstring CutText(std::wstring_view text, std::size_t length);

// The larger of two numbers, as a signed 32-bit value (RunError(Overflow) when it does
// not fit).
std::int32_t MaxOf(std::int64_t a, std::int64_t b);
std::int16_t BoolToInt(bool value);
// The low 16 bits, 0..65535.
std::int32_t LowWord(std::int32_t value);
// Whether value lies between the bounds, given in either order, both included.
bool IsBetween(std::int32_t value, std::int32_t bound1, std::int32_t bound2);
// Index of the first element equal to value; -1 when absent or when there is no list.
std::int32_t IndexOfValue(const std::vector<std::int32_t>* list, std::int32_t value);
// Occurrences of pattern, overlapping ones included ("aa" occurs twice in "aaa").
std::int32_t CountOccurrences(std::wstring_view text, std::wstring_view pattern);

// The tokens of text up to the first empty one; no array when the text is empty or its
// first token is.
std::optional<std::vector<std::wstring>> SplitToArray(std::wstring_view text,
                                                      std::wstring_view delimiter = CrLf);

// The value of the first "key = value" item of text (key found without regard to case,
// followed by "=", outside U+0002 pairs), cut before terminator. position, when given,
// restricts the search to the text from it on and is advanced past the key, or set to -1
// when nothing is found.
std::wstring GetKeyValue(std::wstring_view text, std::wstring_view key,
                         std::wstring_view terminator = CrLf, std::int32_t* position = nullptr);

// 1 when a is the higher dotted version, -1 when b is, 0 when they are equal.
std::int16_t CompareVersions(std::wstring_view a, std::wstring_view b);
