#include "viewer/BoundedSend.h"

#include "platform/Ansi.h"

namespace {

constexpr UINT BoundedSendFlags = SMTO_NORMAL | SMTO_ABORTIFHUNG;

} // namespace

void SendWithinBound(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, BoundedSendFlags, SendBoundMs, &result);
}

void SetTextWithinBound(HWND window, const std::wstring& text) {
    DWORD_PTR result = 0;
    if (IsWindowUnicode(window)) {
        SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            BoundedSendFlags, SendBoundMs, &result);
        return;
    }
    const std::string ansiText = ToAnsi(text);
    SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansiText.c_str()),
                        BoundedSendFlags, SendBoundMs, &result);
}

void PlaceWithoutWaiting(HWND window, int x, int y, int width, int height) {
    const bool ownThread = GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
    SetWindowPos(window, nullptr, x, y, width, height,
                 SWP_NOZORDER | (ownThread ? 0 : SWP_ASYNCWINDOWPOS));
}
