// What the program knows of itself: where it runs from and its version resource.
#pragma once
#include <string>

std::wstring ProgramFolder(); // the running program file's folder, without a trailing "\"
std::wstring ProgramName();   // its file name without extension ("Varnholt")
// The program's path as it registers, shows and recognizes itself: its folder, "\", its
// name and ".exe", whatever the file's real extension.
std::wstring ProgramPath();
// Milliseconds since this process was created: how long the reader has waited so far.
unsigned MsSinceProgramStart();

// A string field of the program's version resource ("CompanyName", "Comments", ...);
// empty when absent.
std::wstring VersionResourceString(const std::wstring& field);
