// A TitleTestWindow process started by a test: a top-level window of a chosen class and
// title that logs the messages it receives (WM_CLOSE, WM_SETTEXT,
// WM_INPUTLANGCHANGEREQUEST).
#pragma once
#include "tests/support/Process.h"

#include <windows.h>

#include <string>
#include <vector>

struct TestWindowOptions {
    std::wstring className = L"HH Parent";
    std::wstring title;
    RECT rect{100, 100, 500, 400};
    bool foreground = false;
    std::wstring trailingArguments; // put at the end of its command line, unread
};

class TestWindowProcess {
  public:
    // Starts the window and waits until it is up; Window() is 0 when it did not come up.
    static TestWindowProcess Start(const TestWindowOptions& options);
    TestWindowProcess(TestWindowProcess&&) = default;
    ~TestWindowProcess();

    HWND Window() const { return window_; }
    DWORD ProcessId() const { return process_.Id(); }
    std::wstring Title() const;
    // Waits until every message posted to the window so far has been handled, then
    // returns the log.
    std::vector<std::wstring> Log();
    // The log lines that start with prefix (after a Log()).
    std::vector<std::wstring> LogLines(const std::wstring& prefix);
    bool WaitForExit(DWORD timeoutMs) { return process_.WaitForExit(timeoutMs); }

  private:
    TestWindowProcess() = default;
    ChildProcess process_;
    HWND window_ = nullptr;
    std::wstring logPath_;
};

// A window of that class and title, in front or not, at rect.
TestWindowProcess StartTestWindow(const std::wstring& className, const std::wstring& title,
                                  bool foreground, RECT rect = {100, 100, 500, 400});
// A window of another class in front, so that the client finds no viewer there.
TestWindowProcess StartBystander(const std::wstring& title);

// A unique path in the temporary folder, for logs and records of one test.
std::wstring TemporaryFilePath(const std::wstring& stem);
// Lines of a UTF-8 text file (CR LF or LF), empty when it does not exist.
std::vector<std::wstring> ReadLogFile(const std::wstring& path);
// Waits until the window with that title of that class is gone (or timeoutMs passes).
bool WaitUntilGone(HWND window, DWORD timeoutMs);
