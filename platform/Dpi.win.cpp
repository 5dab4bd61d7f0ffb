#include "platform/Dpi.h"

#include "platform/SystemFunction.h"
#include "platform/WindowHandles.h"

int WindowDpi(HWND window) {
    // GetDpiForWindow exists from Windows 10 on; older systems have one DPI for all.
    static const auto getDpiForWindow =
        OptionalSystemFunction<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    const WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}
