#include "platform/MessagePump.h"

#include "platform/Ticks.h"

namespace {

// False when a quit request was met (and put back).
bool DispatchUntilQuit() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

} // namespace

void DispatchPendingMessages() {
    DispatchUntilQuit();
}

void WaitDispatchingMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    bool dispatching = true;
    for (;;) {
        if (dispatching)
            dispatching = DispatchUntilQuit();
        const DWORD left = RemainingWait(start, GetTickCount(), milliseconds);
        if (left == 0)
            return;
        if (dispatching)
            MsgWaitForMultipleObjectsEx(0, nullptr, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        else
            Sleep(left); // the pending quit would wake a message wait at once
    }
}
