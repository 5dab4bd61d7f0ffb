// A top-level window for the /title, /keyb, /run and /move tests, standing in for the
// viewer, a rival window or an HTML Application window. It logs what it receives, one
// line each, to a UTF-8 file:
//   WM_CLOSE | WM_SETTEXT <text> | WM_INPUTLANGCHANGEREQUEST <wParam> <lParam, 8 hex digits>
//   | SYNC (for WM_APP)
// Options: --class C (default "HH Parent") --title T --rect l,t,r,b --log PATH
//          --ready EVENT (set once the window is up) --foreground
// With --record PATH it opens no window: it appends "OPEN <its command line>" to PATH
// and ends (a stand-in for the program the shell starts for a file).
#include "platform/UniqueHandle.h"
#include "tests/support/TestFiles.h"

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::wstring logPath;

void AppendLine(const std::wstring& path, const std::wstring& line) {
    if (!path.empty())
        AppendUtf8Line(path, line);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        AppendLine(logPath, L"WM_CLOSE");
        break;
    case WM_SETTEXT:
        AppendLine(logPath, L"WM_SETTEXT " + std::wstring(reinterpret_cast<LPCWSTR>(lParam)));
        break;
    case WM_INPUTLANGCHANGEREQUEST: {
        wchar_t line[80];
        swprintf(line, 80, L"WM_INPUTLANGCHANGEREQUEST %u %08X", static_cast<unsigned>(wParam),
                 static_cast<unsigned>(lParam));
        AppendLine(logPath, line);
        return 0; // the layout itself stays as it is
    }
    case WM_APP: // posted by a test: everything posted before it has been handled
        AppendLine(logPath, L"SYNC");
        return 0;
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring className = L"HH Parent", title, readyEvent;
    RECT rect{100, 100, 500, 400};
    bool foreground = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        const std::wstring value = i + 1 < argc ? argv[i + 1] : L"";
        if (option == L"--record") {
            AppendLine(value, L"OPEN " + std::wstring(GetCommandLineW()));
            return 0;
        }
        if (option == L"--foreground") {
            foreground = true;
            continue;
        }
        ++i;
        if (option == L"--class")
            className = value;
        else if (option == L"--title")
            title = value;
        else if (option == L"--log")
            logPath = value;
        else if (option == L"--ready")
            readyEvent = value;
        else if (option == L"--rect")
            swscanf(value.c_str(), L"%ld,%ld,%ld,%ld", &rect.left, &rect.top, &rect.right,
                    &rect.bottom);
    }
    LocalFree(argv);

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className.c_str();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(
        0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOWNORMAL);
    if (foreground)
        SetForegroundWindow(window);
    if (!readyEvent.empty()) {
        const UniqueKernelHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEvent.c_str()));
        if (ready)
            SetEvent(ready.get());
    }
    // A window left behind by a failed test goes away on its own.
    SetTimer(window, 1, 180000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
