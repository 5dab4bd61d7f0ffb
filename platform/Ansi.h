// The one place where program text (UTF-16) meets the system's ANSI code page.
#pragma once
#include <string>
#include <string_view>

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);
