// A stand-in for the HTML Help viewer, for the tests: a main window of class "HH Parent"
// with the chain of children down to the embedded help control's text box, and a search
// dialog that its HTML view opens on WM_COMMAND 67. Every message of the kinds the client
// sends or posts to a viewer is written to a log (tests/support/ViewerLog.h), with the
// window that got it and whether it came sent or posted.
//
//   StandInViewer.exe --log <file> [options]
//     --class NAME          class of the main window (default "HH Parent")
//     --title TEXT          title of the main window
//     --pos X Y W H         main window rectangle (default 100 100 640 480)
//     --extra-level N       an extra "HH Child" window stands where step N (1..5) of the
//                           chain should be, the rest of the chain inside it
//     --nested              the same as --extra-level 1 (as the viewer of some systems)
//     --no-help-control     the HTML view holds no help control (and no text box)
//     --edit-text TEXT      text of the help control's text box ("alpha beta gamma")
//     --selection A B       selected characters of it (6 10: "beta")
//     --search-title TEXT   title of the search dialog (default "Find")
//     --search-delay MS     the dialog opens MS milliseconds after WM_COMMAND 67
//     --no-search           WM_COMMAND 67 opens nothing
//     --search-open         the dialog is open from the start
//     --slow-close MS       WM_CLOSE waits MS milliseconds before the window closes
//
// When its windows are up it writes a "ready" line naming every window's handle, its
// thread's keyboard layout, its process id and its ANSI code page. The registered message
// "StandInViewer.Mark", posted to the main window with a number as wParam, writes a
// "mark" line with that number: once it is in the log, every message posted before it
// has been handled. It also says whether the window menu still holds the item the
// stand-in adds to it at start. "StandInViewer.StopAnswering", posted the same way,
// writes a "stopped" line and then never again takes a message, as a viewer whose page
// script runs long: Windows counts it hung.
#include "platform/UniqueHandle.h"
#include "tests/support/ViewerLog.h"
#include "viewer/ViewerCommandIds.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT StandInMenuItem = 0x7710;
constexpr UINT_PTR SearchTimer = 1;
constexpr wchar_t SearchDialogClass[] = L"StandInSearchDialog";
constexpr wchar_t ExtraLevelClass[] = L"HH Child";

// The options given, each with the values that followed it.
std::map<std::wstring, std::vector<std::wstring>> given;
UniqueFile logFile;
bool logging = false;
UINT markMessage = 0;
UINT stopMessage = 0;
std::map<HWND, std::wstring> roles;
std::map<HWND, WNDPROC> originalEditProcs;
std::map<std::wstring, HWND> windows;

bool Given(const wchar_t* option) {
    return given.count(option) != 0;
}

// A value of an option (the index-th of those that followed it), or otherwise when the
// option was not given.
std::wstring Text(const wchar_t* option, const std::wstring& otherwise, std::size_t index = 0) {
    return Given(option) ? given[option][index] : otherwise;
}

int Number(const wchar_t* option, int otherwise, std::size_t index = 0) {
    return std::wcstol(Text(option, std::to_wstring(otherwise), index).c_str(), nullptr, 10);
}

std::wstring Hex(std::uintptr_t value) {
    wchar_t text[32];
    std::swprintf(text, 32, L"0x%08lX", static_cast<unsigned long>(value));
    return text;
}

void WriteLog(const std::wstring& event, const LogFields& fields) {
    const std::string line = FormatViewerLogLine(event, fields);
    DWORD written = 0;
    WriteFile(logFile.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// The name of a message of the logged kinds; nullptr for any other.
const wchar_t* NameOf(UINT message) {
    for (const auto& [logged, name] : {std::pair<UINT, const wchar_t*>{WM_COMMAND, L"WM_COMMAND"},
                                       {WM_CLOSE, L"WM_CLOSE"},
                                       {WM_COPY, L"WM_COPY"},
                                       {WM_SETTEXT, L"WM_SETTEXT"},
                                       {WM_INPUTLANGCHANGEREQUEST, L"WM_INPUTLANGCHANGEREQUEST"}})
        if (message == logged)
            return name;
    return nullptr;
}

// Posted messages of the logged kinds still waiting for window when a sent one is handled:
// what the sender posted before it sent.
std::wstring QueuedFor(HWND window) {
    std::wstring queued;
    for (UINT message : {WM_INPUTLANGCHANGEREQUEST, WM_COMMAND, WM_CLOSE}) {
        MSG waiting;
        if (PeekMessageW(&waiting, window, message, message, PM_NOREMOVE | PM_NOYIELD))
            queued += (queued.empty() ? L"" : L",") + std::wstring(NameOf(message));
    }
    return queued;
}

void LogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const wchar_t* name = NameOf(message);
    if (!logging || !name)
        return;
    // The stand-in's own text boxes notify their parents; only commands from outside count.
    if (message == WM_COMMAND && roles.count(reinterpret_cast<HWND>(lParam)))
        return;
    const bool sent = InSendMessage() != FALSE;
    LogFields fields = {{L"window", roles[window]},
                        {L"delivery", sent ? L"sent" : L"posted"},
                        {L"wParam", std::to_wstring(wParam)},
                        {L"lParam", Hex(static_cast<std::uintptr_t>(lParam))},
                        {L"tick", std::to_wstring(GetTickCount())}};
    if (!sent)
        fields.push_back({L"posted", std::to_wstring(GetMessageTime())});
    if (message == WM_SETTEXT)
        fields.push_back({L"text", lParam ? reinterpret_cast<const wchar_t*>(lParam) : L""});
    if (sent)
        fields.push_back({L"queued", QueuedFor(window)});
    WriteLog(name, fields);
}

HWND Create(const std::wstring& role, const wchar_t* className, const std::wstring& title,
            DWORD style, const RECT& rect, HWND parent) {
    const HWND window = CreateWindowExW(0, className, title.c_str(), style, rect.left, rect.top,
                                        rect.right - rect.left, rect.bottom - rect.top, parent,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    roles[window] = role;
    windows[role] = window;
    return window;
}

RECT FillOf(HWND parent) {
    RECT client{};
    GetClientRect(parent, &client);
    return client;
}

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LogMessage(window, message, wParam, lParam);
    return CallWindowProcW(originalEditProcs[window], window, message, wParam, lParam);
}

HWND CreateLoggedEdit(const std::wstring& role, HWND parent, const RECT& rect,
                      const std::wstring& text) {
    const HWND edit =
        Create(role, L"Edit", text,
               WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_NOHIDESEL, rect, parent);
    originalEditProcs[edit] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    return edit;
}

void OpenSearchDialog() {
    if (windows.count(L"search"))
        return;
    RECT main{};
    GetWindowRect(windows[L"main"], &main);
    const RECT rect{main.right + 10, main.top, main.right + 330, main.top + 120};
    // The title comes last: a client looking for the dialog meanwhile must not find it
    // before its text box is there.
    const HWND dialog =
        Create(L"search", SearchDialogClass, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
               rect, windows[L"main"]);
    const HWND edit = CreateLoggedEdit(L"searchedit", dialog, RECT{10, 10, 290, 34}, L"");
    const bool wasLogging = std::exchange(logging, false);
    SetWindowTextW(dialog, Text(L"--search-title", L"Find").c_str());
    logging = wasLogging;
    if (logging)
        WriteLog(L"opened", {{L"search", Hex(reinterpret_cast<std::uintptr_t>(dialog))},
                             {L"searchedit", Hex(reinterpret_cast<std::uintptr_t>(edit))}});
}

bool WindowMenuHasOurItem() {
    return GetMenuState(GetSystemMenu(windows[L"main"], FALSE), StandInMenuItem, MF_BYCOMMAND) !=
           static_cast<UINT>(-1);
}

LRESULT OnCommand(HWND window, WPARAM wParam) {
    if (roles[window] == L"html" && LOWORD(wParam) == OpenFindCommand && !Given(L"--no-search")) {
        if (const int delay = Number(L"--search-delay", 0); delay > 0)
            SetTimer(window, SearchTimer, static_cast<UINT>(delay), nullptr);
        else
            OpenSearchDialog();
    }
    return 0;
}

LRESULT OnClose(HWND window) {
    if (const int wait = Number(L"--slow-close", 0); wait > 0)
        Sleep(static_cast<DWORD>(wait));
    DestroyWindow(window);
    return 0;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LogMessage(window, message, wParam, lParam);
    if (message == markMessage && markMessage != 0) {
        WriteLog(L"mark", {{L"number", std::to_wstring(wParam)},
                           {L"menuitem", WindowMenuHasOurItem() ? L"yes" : L"no"}});
        return 0;
    }
    if (message == stopMessage && stopMessage != 0) {
        WriteLog(L"stopped", {});
        Sleep(INFINITE);
    }
    switch (message) {
    case WM_COMMAND:
        return OnCommand(window, wParam);
    case WM_TIMER:
        KillTimer(window, wParam);
        OpenSearchDialog();
        return 0;
    case WM_CLOSE:
        if (window == windows[L"main"])
            return OnClose(window);
        break;
    case WM_DESTROY:
        if (window == windows[L"main"])
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterWindowClass(const std::wstring& name) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name.c_str();
    RegisterClassW(&windowClass);
}

// The windows of the chain below the main window down to the help control: role and class.
constexpr std::pair<const wchar_t*, const wchar_t*> ChainSteps[] = {
    {L"host", L"Shell Embedding"},
    {L"docview", L"Shell DocObject View"},
    {L"html", L"Internet Explorer_Server"},
    {L"control", L"HHCtrlWndClass"}};

// The chain below the main window, one step at a time; the extra level, when asked for,
// takes the place of its step and the rest of the chain goes on inside it.
void CreateChain(HWND main) {
    const DWORD childStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    const int extraLevel = Given(L"--nested") ? 1 : Number(L"--extra-level", 0);
    HWND parent = main;
    for (int step = 1; step <= 5; ++step) {
        if (step == extraLevel)
            parent = Create(L"extra", ExtraLevelClass, L"", childStyle, FillOf(parent), parent);
        if (step == 4 && Given(L"--no-help-control"))
            return;
        if (step == 5) {
            CreateLoggedEdit(L"edit", parent, FillOf(parent),
                             Text(L"--edit-text", L"alpha beta gamma"));
            SendMessageW(windows[L"edit"], EM_SETSEL,
                         static_cast<WPARAM>(Number(L"--selection", 6)),
                         Number(L"--selection", 10, 1));
            return;
        }
        // The help control sits in a corner of the page, leaving the page around it free.
        const RECT rect = step == 4 ? RECT{20, 20, 320, 60} : FillOf(parent);
        const auto& [role, className] = ChainSteps[step - 1];
        parent = Create(role, className, L"", childStyle, rect, parent);
    }
}

bool ReadOptions(int argc, wchar_t** argv) {
    // The options by how many values follow them: none, one, two, three and four.
    static const std::vector<std::wstring> taking[] = {
        {L"--nested", L"--no-help-control", L"--no-search", L"--search-open"},
        {L"--log", L"--class", L"--title", L"--extra-level", L"--edit-text", L"--search-title",
         L"--search-delay", L"--slow-close"},
        {L"--selection"},
        {},
        {L"--pos"}};
    for (int i = 1; i < argc; ++i) {
        int values = -1;
        for (int n = 0; n < 5; ++n) {
            if (std::find(taking[n].begin(), taking[n].end(), argv[i]) != taking[n].end())
                values = n;
        }
        if (values < 0 || argc - i - 1 < values) {
            std::fwprintf(stderr, L"StandInViewer: unknown or incomplete option %ls\n", argv[i]);
            return false;
        }
        given[argv[i]].assign(argv + i + 1, argv + i + 1 + values);
        i += values;
    }
    return !Text(L"--log", L"").empty();
}

void WriteReadyLine() {
    LogFields fields;
    for (const auto& [role, window] : windows)
        fields.push_back({role, Hex(reinterpret_cast<std::uintptr_t>(window))});
    fields.push_back({L"layout", Hex(reinterpret_cast<std::uintptr_t>(GetKeyboardLayout(0)))});
    fields.push_back({L"process", std::to_wstring(GetCurrentProcessId())});
    fields.push_back({L"codepage", std::to_wstring(GetACP())});
    WriteLog(L"ready", fields);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (!ReadOptions(argc, argv))
        return 2;
    logFile.reset(CreateFileW(Text(L"--log", L"").c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!logFile)
        return 3;
    markMessage = RegisterWindowMessageW(L"StandInViewer.Mark");
    stopMessage = RegisterWindowMessageW(L"StandInViewer.StopAnswering");
    const std::wstring mainClass = Text(L"--class", L"HH Parent");
    for (const wchar_t* name : {mainClass.c_str(), ExtraLevelClass, SearchDialogClass})
        RegisterWindowClass(name);
    for (const auto& [role, className] : ChainSteps)
        RegisterWindowClass(className);

    const int x = Number(L"--pos", 100), y = Number(L"--pos", 100, 1);
    const RECT rect{x, y, x + Number(L"--pos", 640, 2), y + Number(L"--pos", 480, 3)};
    const HWND main = Create(L"main", mainClass.c_str(), Text(L"--title", L"Stand-in Viewer"),
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect, nullptr);
    AppendMenuW(GetSystemMenu(main, FALSE), MF_STRING, StandInMenuItem, L"Stand-in item");
    CreateChain(main);
    if (Given(L"--search-open"))
        OpenSearchDialog();
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);

    logging = true;
    WriteReadyLine();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    WriteLog(L"closed", {});
    return 0;
}
