// Program entry: one run of StartUp, the message loop while the About window is open,
// and the error report for an error that a handler did not handle.
#include "about/AboutWindow.h"
#include "platform/VersionText.h"
#include "platform/RunError.h"
#include "app/StartUp.h"

#include <windows.h>

#include <new>

namespace {

void ShowErrorReport(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), MessageCaption().c_str(), MB_OK | MB_ICONERROR);
}

int RunMessageLoop() {
    MSG message;
    while (AboutWindowIsOpen() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsAboutWindowMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        StartUp();
        return RunMessageLoop();
    } catch (const RunError& error) {
        ShowErrorReport(ErrorReportText(error));
    } catch (const std::bad_alloc&) {
        ShowErrorReport(L"Run-time error: Out of memory");
    } catch (const std::exception& error) {
        ShowErrorReport(L"Run-time error: " +
                        std::wstring(error.what(), error.what() + strlen(error.what())));
    }
    return 1;
}
