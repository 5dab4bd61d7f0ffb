// The About window (/ver and the empty command line).
#pragma once
#include <string>

#include <windows.h>

// Opens the About window and returns at once; the window runs on the program's message
// loop. An argument that is a version number (blanks around it aside) is taken as the
// newest version known, so no download is made.
void AboutCommand(const std::wstring& argument);
// True while the About window is open; the program runs its message loop until then.
bool AboutWindowIsOpen();
// Closes the window without ending the program's run (the error report may follow).
void CloseAboutWindow();
// The window's keyboard interface (Enter and Esc close it, Tab moves between its
// controls); true when message was handled and must not be dispatched.
bool IsAboutWindowMessage(MSG& message);
