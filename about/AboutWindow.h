// The About window (/ver and the empty command line).
#pragma once
#include <string>

void AboutCommand(const std::wstring& argument);
// True while the About window is open; the program runs its message loop until then.
bool AboutWindowIsOpen();
