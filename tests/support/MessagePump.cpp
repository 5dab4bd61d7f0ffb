#include "tests/support/MessagePump.h"

#include "tests/support/Process.h"

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
            PumpMessages();
            return done();
        },
        timeoutMs, 10);
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

UniqueWindow CreateHostWindow() {
    static const bool registered = [] {
        WNDCLASSEXW host{};
        host.cbSize = sizeof host;
        host.lpfnWndProc = DefWindowProcW;
        host.hInstance = GetModuleHandleW(nullptr);
        host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        host.lpszClassName = L"TestHostWindow";
        return RegisterClassExW(&host) != 0;
    }();
    (void)registered;
    UniqueWindow window(CreateWindowExW(0, L"TestHostWindow", L"Test host",
                                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100, 100, 400, 200,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ShowWindow(window.get(), SW_SHOW);
    SetForegroundWindow(window.get());
    PumpFor(100);
    return window;
}
