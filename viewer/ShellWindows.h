// The shell's own top-level windows: the desktop and the taskbars. /stop, /exit and
// /jump act on the window under the pointer, and a close sent to one of these opens the
// shut-down dialog: the commands leave them alone.
#pragma once
#include <string_view>

// "Progman", "WorkerW" (the desktop's), "Shell_TrayWnd", "Shell_SecondaryTrayWnd" (the
// taskbars'), in any letter case.
bool IsShellWindowClass(std::wstring_view className);
