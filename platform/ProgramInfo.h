// What the program knows of itself: where it runs from and its version resource.
#pragma once
#include <string>

std::wstring ProgramPath();   // full path of the running program file
std::wstring ProgramFolder(); // its folder, without a trailing "\"
std::wstring ProgramName();   // its file name without extension ("Varnholt")
// Milliseconds since this process was created: how long the reader has waited so far.
unsigned MsSinceProgramStart();

// A string field of the program's version resource ("CompanyName", "Comments", ...);
// empty when absent.
std::wstring VersionResourceString(const std::wstring& field);
