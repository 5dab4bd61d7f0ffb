// Finding the HTML Help viewer's windows.
#pragma once
#include <windows.h>

// The viewer window the commands act on (0 = none); filled first thing at start-up.
inline HWND CurrentViewer = nullptr;

inline constexpr wchar_t ViewerClass[] = L"HH Parent";

// The foreground window if its class is "HH Parent", else 0.
HWND FindForegroundViewer();
