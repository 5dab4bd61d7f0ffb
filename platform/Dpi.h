// The dots per inch a window is shown at (96 is the standard scale), for a program that
// declares itself aware of each monitor's own scale.
#pragma once
#include <windows.h>

int WindowDpi(HWND window);

// Messages of Windows 8.1 and later, which Vista's headers lack; such a system sends them
// to a program aware of each monitor's scale: the window moved to a monitor of another
// scale, and (to its child windows) after their parent did.
constexpr UINT DpiChangedMessage = 0x02E0;
constexpr UINT DpiChangedAfterParentMessage = 0x02E3;