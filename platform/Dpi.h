// The dots per inch a window is shown at (96 is the standard scale), for a program that
// declares itself aware of each monitor's own scale.
#pragma once
#include <windows.h>

int WindowDpi(HWND window);