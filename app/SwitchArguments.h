// The argument of a switch is all the text after the switch name; numeric switches read
// the number at its start (text/Numbers.h).
#pragma once
#include <string>
#include <string_view>

// Everything after the first exact (case-sensitive) occurrence of the switch name,
// untrimmed; empty when the exact name does not occur.
std::wstring SwitchArgument(std::wstring_view commandLine, std::wstring_view switchName);
