#include "tests/support/StandIn.h"

#include "tests/support/TestWindowProcess.h"
#include "tests/support/WindowText.h"

#include <cstdio>

namespace {

double FileTimeMs(const FILETIME& time) {
    const ULONGLONG ticks =
        (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<double>(ticks) / 10000.0;
}

HWND HandleOf(const std::wstring& text) {
    return reinterpret_cast<HWND>(
        static_cast<std::uintptr_t>(std::wcstoul(text.c_str(), nullptr, 0)));
}

} // namespace

StandIn::StandIn(const std::wstring& options) : logPath_(TemporaryFilePath(L"standin")) {
    const std::wstring program = TestBinFolder() + L"\\StandInViewer.exe";
    process_ = ChildProcess::Start(program, L"--log \"" + logPath_ + L"\" " + options);
    ready_ = WaitFor([](const ViewerLogEntry& entry) { return entry.event == L"ready"; }, 15000);
    if (!ready_)
        std::fprintf(stderr, "StandIn: not ready within 15 s (options: %ls)\n", options.c_str());
}

StandIn::~StandIn() {
    process_.Kill();
    DeleteFileW(logPath_.c_str());
}

HWND StandIn::Window(const std::wstring& role) const {
    if (ready_ && ready_->Has(role))
        return HandleOf(ready_->Field(role));
    for (const ViewerLogEntry& entry : Log()) {
        if (entry.event == L"opened" && entry.Has(role))
            return HandleOf(entry.Field(role));
    }
    return nullptr;
}

std::vector<ViewerLogEntry> StandIn::Messages() const {
    std::vector<ViewerLogEntry> messages = Log();
    std::erase_if(messages, [](const ViewerLogEntry& entry) { return !entry.IsMessage(); });
    return messages;
}

std::optional<ViewerLogEntry>
StandIn::WaitFor(const std::function<bool(const ViewerLogEntry&)>& match, DWORD timeoutMs) const {
    std::optional<ViewerLogEntry> found;
    WaitUntil(
        [&] {
            for (const ViewerLogEntry& entry : Log()) {
                if (match(entry)) {
                    found = entry;
                    return true;
                }
            }
            return process_.ExitCode() != STILL_ACTIVE; // it will write nothing more
        },
        timeoutMs, 20);
    return found;
}

std::optional<ViewerLogEntry> StandIn::Settle(DWORD timeoutMs) {
    static const UINT mark = RegisterWindowMessageW(L"StandInViewer.Mark");
    const std::wstring number = std::to_wstring(++marks_);
    if (!PostMessageW(Main(), mark, marks_, 0))
        return std::nullopt;
    return WaitFor(
        [&](const ViewerLogEntry& entry) {
            return entry.event == L"mark" && entry.Field(L"number") == number;
        },
        timeoutMs);
}

bool StandIn::StopAnswering() {
    static const UINT stop = RegisterWindowMessageW(L"StandInViewer.StopAnswering");
    return PostMessageW(Main(), stop, 0, 0) &&
           WaitFor([](const ViewerLogEntry& entry) { return entry.event == L"stopped"; });
}

bool StandIn::BringToFront() const {
    return ::BringToFront(Main());
}

bool StandIn::UnderPointer(const std::wstring& role, int dx, int dy) const {
    return Ready() && PutCursorOver(Window(role), dx, dy);
}

namespace {

// How long the screen may take to show what a test asked for (a window in front, under
// the pointer) on a busy machine.
constexpr DWORD ScreenSettleMs = 10000;

void SayWhatWasSeen(const char* helper, HWND wanted, HWND seen) {
    std::fprintf(stderr, "%s: after %lu ms the window there is %p (class \"%ls\"), not %p\n",
                 helper, ScreenSettleMs, static_cast<void*>(seen), ClassOf(seen).c_str(),
                 static_cast<void*>(wanted));
}

} // namespace

bool BringToFront(HWND window) {
    HWND front = nullptr;
    const bool done = WaitUntil(
        [&] {
            if ((front = GetForegroundWindow()) == window)
                return true;
            SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetForegroundWindow(window);
            return (front = GetForegroundWindow()) == window;
        },
        ScreenSettleMs);
    if (!done)
        SayWhatWasSeen("BringToFront", window, front);
    return done;
}

bool PutCursorOver(HWND window, int dx, int dy) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) {
        std::fprintf(stderr, "PutCursorOver: %p is no window\n", static_cast<void*>(window));
        return false;
    }
    const int x = dx >= 0 ? rect.left + dx : rect.right + dx;
    const int y = dy >= 0 ? rect.top + dy : rect.bottom + dy;
    HWND seen = nullptr;
    // The window may still be coming up, or another one still going.
    const bool over = WaitUntil(
        [&] {
            SetCursorPos(x, y);
            POINT cursor{};
            GetCursorPos(&cursor);
            return (seen = WindowFromPoint(cursor)) == window;
        },
        ScreenSettleMs);
    if (!over)
        SayWhatWasSeen("PutCursorOver", window, seen);
    return over;
}

double ProcessorTimeMs(const ChildProcess& child) {
    FILETIME created{}, ended{}, kernel{}, user{};
    // Wine answers for another process with the caller's own processor time, but it does
    // count another process's threads; the client has one thread.
    const bool threadOnly = RunningUnderWine();
    if (threadOnly ? !GetThreadTimes(child.MainThread(), &created, &ended, &kernel, &user)
                   : !GetProcessTimes(child.Handle(), &created, &ended, &kernel, &user))
        return 0;
    return FileTimeMs(kernel) + FileTimeMs(user);
}

double WallTimeMs(const ChildProcess& child) {
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!GetProcessTimes(child.Handle(), &created, &ended, &kernel, &user))
        return 0;
    if (child.ExitCode() == STILL_ACTIVE)
        GetSystemTimeAsFileTime(&ended);
    return FileTimeMs(ended) - FileTimeMs(created);
}
