#include "platform/WindowClass.h"

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

void RegisterWindowClass(const WindowClassSpec& spec) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = spec.style;
    windowClass.lpfnWndProc = spec.proc;
    windowClass.hInstance = Instance();
    windowClass.hCursor = LoadCursorW(nullptr, spec.cursor);
    windowClass.hbrBackground = spec.background;
    windowClass.hIcon = spec.icon;
    windowClass.hIconSm = spec.icon;
    windowClass.lpszClassName = spec.name;
    RegisterClassExW(&windowClass); // fails harmlessly when the class exists
}
