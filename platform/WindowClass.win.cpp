#include "platform/WindowClass.h"

#include <utility>

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

namespace {

std::exception_ptr& KeptWindowError() {
    static std::exception_ptr error;
    return error;
}

} // namespace

void KeepWindowError(std::exception_ptr error) {
    if (!KeptWindowError()) // the first one is the cause of the rest
        KeptWindowError() = error;
    PostQuitMessage(1);
}

void RethrowWindowError() {
    if (std::exception_ptr error = std::exchange(KeptWindowError(), nullptr))
        std::rethrow_exception(error);
}
