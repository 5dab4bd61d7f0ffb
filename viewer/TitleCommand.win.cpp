#include "viewer/TitleCommand.h"

#include "platform/VersionText.h"
#include "platform/ProgramInfo.h"
#include "platform/Files.h"
#include "viewer/BoundedSend.h"
#include "viewer/ProcessQuery.h"
#include "viewer/TitleRules.h"
#include "viewer/ViewerWindows.h"

#include <windows.h>

#include <vector>

namespace {

const std::wstring PromptText =
    L"You have started the second instance of the dictionary.\r\n"
    L"\u2022 Click YES if you wish to close the previous instance.\r\n"
    L"\u2022 Click NO if you wish to close the newly opened instance.\r\n"
    L"\u2022 Click CANCEL if you wish to keep more than one instance.";

std::uintptr_t Id(HWND window) {
    return reinterpret_cast<std::uintptr_t>(window);
}

HWND WindowOf(std::uintptr_t id) {
    return reinterpret_cast<HWND>(id);
}

std::vector<TopWindow> TopWindowsInZOrder() {
    std::vector<TopWindow> windows;
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window;
         window = GetWindow(window, GW_HWNDNEXT))
        windows.push_back({Id(window), ReadWindowTitle(window)});
    return windows;
}

// Whether the window belongs to another copy of this client started with the same
// argument. A process that has gone, or a WMI that cannot be reached, is not one.
bool IsPendingCopy(HWND window, const std::wstring& argument, ProcessQuery& processes) {
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    if (threadId == GetCurrentThreadId() || processId == 0)
        return false;
    const auto facts = processes.Fetch(processId);
    if (!facts || facts->executablePath.empty() || !SamePath(facts->executablePath, ProgramPath()))
        return false;
    return IsSameTitleRun(facts->commandLine, argument);
}

void Retitle(HWND viewer, const std::wstring& title) {
    SetTextWithinBound(viewer, title);
    GetSystemMenu(viewer, TRUE);
}

} // namespace

void TitleCommand(const std::wstring& argument) {
    if (argument.empty())
        return;
    const TitlePair titles = SplitTitleArgument(argument);
    if (!titles.oldTitle.empty() && !CurrentViewer)
        CurrentViewer = FindWindowW(ViewerClass, titles.oldTitle.c_str());
    ProcessQuery processes;
    const std::wstring caption = MessageCaption();
    const TitleVisit visit = VisitTopWindows(
        TopWindowsInZOrder(), Id(CurrentViewer), titles, caption, [&](std::uintptr_t window) {
            return IsPendingCopy(WindowOf(window), argument, processes);
        });
    const HWND rival = WindowOf(visit.rival);
    if (rival && CurrentViewer && !visit.pending) {
        switch (MessageBoxW(nullptr, PromptText.c_str(), caption.c_str(),
                            MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            PostMessageA(rival, WM_CLOSE, 0, 0);
            break;
        case IDNO:
            PostMessageA(CurrentViewer, WM_CLOSE, 0, 0);
            SetForegroundWindow(rival);
            return;
        default:
            break;
        }
    }
    if (CurrentViewer)
        Retitle(CurrentViewer, titles.newTitle);
}
