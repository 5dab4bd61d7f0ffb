// What the client sends to another program's windows, each with a bound: a viewer whose
// window thread stops answering (a page's script running long, a help file on a share
// that stalls) must not keep the client waiting, nor one more client with every click.
// When the window does not answer in time, the command goes on as if it were not there.
#pragma once
#include <windows.h>

#include <string>

// The longest wait for a window that is busy; one that Windows counts as hung is not
// waited for at all.
inline constexpr UINT SendBoundMs = 5000;

// Sends the message, synchronously, for at most SendBoundMs.
void SendWithinBound(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sets the window's text with a bounded WM_SETTEXT: in the wide form to a Unicode window,
// so that text beyond the ANSI code page arrives whole, in the ANSI form to any other.
void SetTextWithinBound(HWND window, const std::wstring& text);

// Moves and sizes the window, its Z-order kept; another thread's window is asked to, and
// not waited for.
void PlaceWithoutWaiting(HWND window, int x, int y, int width, int height);
