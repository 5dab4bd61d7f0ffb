// Registering the program's own window classes.
#pragma once
#include <windows.h>

HINSTANCE Instance();

struct WindowClassInfo {
    const wchar_t* name = nullptr;
    WNDPROC proc = nullptr;
    const wchar_t* cursor = IDC_ARROW; // a system cursor
    HBRUSH background = nullptr;
    HICON icon = nullptr; // large and small
    UINT style = 0;
};

// Registers the class; registering the same class again has no effect.
void RegisterWindowClass(const WindowClassInfo& info);
