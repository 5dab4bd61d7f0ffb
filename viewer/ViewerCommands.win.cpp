#include "viewer/ViewerCommands.h"

#include "platform/MessagePump.h"
#include "viewer/BoundedSend.h"
#include "viewer/SearchPoll.h"
#include "viewer/ViewerCommandIds.h"
#include "viewer/ShellWindows.h"
#include "viewer/ViewerWindows.h"

#include <array>

namespace {

// From the viewer main window down to the embedded help control's text box.
constexpr std::array<const wchar_t*, 5> HelpControlTextBoxPath = {
    L"Shell Embedding", L"Shell DocObject View", L"Internet Explorer_Server", L"HHCtrlWndClass",
    L"Edit"};

// Posting to window 0 would land in our own queue; for a window that is not there nothing
// should happen at all.
void PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window)
        PostMessageA(window, message, wParam, lParam);
}

// The desktop or a taskbar: a close posted there would ask to shut Windows down.
bool IsShellWindow(HWND window) {
    return window == GetDesktopWindow() ||
           IsShellWindowClass(ReadClassName(window, ClassCheckLimit));
}

// The viewer (or other top-level window) under the cursor becomes the one acted on; the
// target is that window, or 0 when it is the shell's.
HWND TakeViewerUnderCursor() {
    CurrentViewer = FindViewerAncestor(WindowUnderCursor());
    return CurrentViewer && IsShellWindow(CurrentViewer) ? nullptr : CurrentViewer;
}

} // namespace

void PaneCommand(std::int16_t n) {
    if (!CurrentViewer)
        return;
    SendWithinBound(CurrentViewer, WM_COMMAND, n > 0 ? ExpandPaneCommand : ContractPaneCommand, 0);
}

void StopCommand() {
    PostToWindow(TakeViewerUnderCursor(), WM_COMMAND, StopLoadingCommand, 0);
}

void ExitCommand() {
    PostToWindow(TakeViewerUnderCursor(), WM_CLOSE, 0, 0);
}

void JumpCommand() {
    if (const HWND target = TakeViewerUnderCursor())
        GetSystemMenu(target, TRUE);
}

void CopyCommand() {
    if (!CurrentViewer)
        return;
    HWND window = CurrentViewer;
    for (const wchar_t* className : HelpControlTextBoxPath) {
        window = FindChildWindow(window, L"", className, 0);
        if (!window)
            return;
    }
    SendWithinBound(window, WM_COPY, 0, 0);
}

void FindCommand(const std::wstring& searchText) {
    const HWND underCursor = WindowUnderCursor();
    CurrentViewer = FindViewerAncestor(underCursor);
    PostToWindow(underCursor, WM_COMMAND, OpenFindCommand, 0);
    PostToWindow(underCursor, WM_COMMAND, OpenFindFollowUpCommand, 0);
    for (std::uint32_t counter = 0; counter <= SearchPollLimitMs; counter += SearchPollStepMs) {
        if (const HWND dialog = FindSearchDialog(CurrentViewer)) {
            FillSearchBox(dialog, searchText);
            return;
        }
        WaitDispatchingMessages(SearchPollStepMs);
    }
}

void FillSearchBox(HWND dialog, const std::wstring& searchText) {
    const HWND textBox = FindChildWindow(dialog, L"", L"Edit", 0);
    if (!textBox)
        return;
    const DWORD viewerThread = GetWindowThreadProcessId(CurrentViewer, nullptr);
    const HKL viewerLayout = GetKeyboardLayout(viewerThread);
    PostMessageA(textBox, WM_INPUTLANGCHANGEREQUEST, 0, reinterpret_cast<LPARAM>(viewerLayout));
    if (searchText.empty())
        return;
    SetTextWithinBound(textBox, searchText);
}
