#include "platform/WindowClass.h"

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

void RegisterWindowClass(const WindowClassInfo& info) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = info.style;
    windowClass.lpfnWndProc = info.proc;
    windowClass.hInstance = Instance();
    windowClass.hCursor = LoadCursorW(nullptr, info.cursor);
    windowClass.hbrBackground = info.background;
    windowClass.hIcon = info.icon;
    windowClass.hIconSm = info.icon;
    windowClass.lpszClassName = info.name;
    RegisterClassExW(&windowClass); // fails harmlessly when the class exists
}
