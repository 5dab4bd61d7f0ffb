// Finding the HTML Help viewer's windows: the viewer in front, the viewer under the
// cursor, the chain of children down to the help control's text box, and the search
// dialog. Class and title matches ignore letter case. Titles are read in the wide form, so
// that one beyond the ANSI code page ("Поиск" on a German Windows) still compares; class
// names, ASCII, through the narrow forms.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// The viewer window the commands act on (0 = none); filled first thing at start-up.
inline HWND CurrentViewer = nullptr;

inline constexpr wchar_t ViewerClass[] = L"HH Parent";
// The read limit of the class checks (terminator included); ReadWindowClass reads 260.
inline constexpr int ClassCheckLimit = 255;

// The foreground window if its class is "HH Parent", else 0.
HWND FindForegroundViewer();

// The innermost window at the cursor's screen position (0 if none).
HWND WindowUnderCursor();

// The start window if it is a viewer, else the nearest viewer above it on the parent
// chain, else the top of that chain; 0 for 0.
HWND FindViewerAncestor(HWND start);

// A direct child of parent (a top-level window when parent is 0) whose class and title
// match (an empty pattern matches anything; both empty find nothing). With skip k > 0
// the (k+1)-th match is returned.
HWND FindChildWindow(HWND parent, const std::wstring& title, const std::wstring& className,
                     std::int16_t skip = 0);

// The class name and the title, each read with a limit of 260 (terminator included); the
// empty text for a window that is gone.
std::wstring ReadWindowClass(HWND window);
std::wstring ReadWindowTitle(HWND window);

// Class name read through GetClassNameA with the given limit (terminator included).
std::wstring ReadClassName(HWND window, int limit);

// The top-level window owned by viewer and titled "Find" or "Поиск"; 0 if none.
HWND FindSearchDialog(HWND viewer);
