// The one place where program text (UTF-16) meets the system's ANSI code page. The
// registry and the files are reached through the narrow (ANSI) forms on purpose, not the
// wide ones: the keys, values and files that older clients wrote and read in the ANSI
// code page must still be found, under the same names and with the same bytes.
#pragma once
#include <string>
#include <string_view>

// Never a best fit: a character without its own form in the code page becomes "?", not a
// look-alike (a full-width backslash must not turn into a real one in a key name).
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);
