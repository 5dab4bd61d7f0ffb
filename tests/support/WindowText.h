// Reading the class and text of any window, also one of another process, and finding the
// client's About window.
#pragma once
#include <windows.h>

#include <string>

std::wstring ClassOf(HWND window);
// GetWindowText: a window's title (for another process's control it may stay empty).
std::wstring TitleOf(HWND window);
// WM_GETTEXT, answered by the control itself, also across processes.
std::wstring TextOf(HWND window);
// Its rectangle in screen coordinates.
RECT WindowRect(HWND window);
// The visible About window (class "VarnholtAbout") of that process; 0 while it has none.
HWND FindAboutWindow(DWORD processId);
