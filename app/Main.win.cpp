// Program entry: one run of StartUp, the message loop while the About window is open,
// and the error report for an error that a handler or a window did not handle.
#include "about/AboutWindow.h"
#include "app/StartUp.h"
#include "platform/RunError.h"
#include "platform/SystemLibraries.h"
#include "platform/VersionText.h"
#include "platform/WindowClass.h"

#include <windows.h>

#include <new>

namespace {

// The report comes once the program's window is gone.
void ShowErrorReport(const std::wstring& text) {
    CloseAboutWindow();
    MessageBoxW(nullptr, text.c_str(), MessageCaption().c_str(), MB_OK | MB_ICONERROR);
}

void RunMessageLoop() {
    MSG message;
    while (AboutWindowIsOpen() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsAboutWindowMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadLibrariesFromSystemFolderOnly(); // before any window, message box or command
    try {
        StartUp();
        RunMessageLoop();
        RethrowWindowError(); // reported like any other
        return 0;
    } catch (const RunError& error) {
        ShowErrorReport(ErrorReportText(error));
    } catch (const std::bad_alloc&) {
        ShowErrorReport(L"Run-time error: Out of memory");
    } catch (const std::exception& error) {
        ShowErrorReport(L"Run-time error: " +
                        std::wstring(error.what(), error.what() + strlen(error.what())));
    } catch (...) {
        ShowErrorReport(L"Run-time error: Unknown error");
    }
    return 1;
}
