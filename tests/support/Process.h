// Starting the real Varnholt.exe (and the other test programs) from a test, as a page
// of the dictionary would, and collecting its exit code.
#pragma once
#include "platform/UniqueHandle.h"

#include <functional>
#include <string>

// The folder that holds the test programs and Varnholt.exe (they are built side by side).
std::wstring TestBinFolder();
std::wstring VarnholtPath();
// What the release build ships, gathered beside the test programs (build/mingw/dist):
// Varnholt.exe, Varnholt_Setup.exe, Varnholt.js and Sample.chm.
std::wstring DistFolder();
std::wstring ReleaseVarnholtPath();

class ChildProcess {
  public:
    // commandLine is the whole line; the program path is quoted in front of the arguments.
    static ChildProcess Start(const std::wstring& program, const std::wstring& arguments,
                              const std::wstring& workingFolder = L"");
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }
    HANDLE MainThread() const { return thread_.get(); }
    // Waits up to timeoutMs; true when the process ended.
    bool WaitForExit(DWORD timeoutMs) const;
    // Exit code; STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    // Waits up to timeoutMs for the end and returns the exit code; 0xFFFFFFFF when it did not
    // end in time (it is then killed).
    DWORD Finish(DWORD timeoutMs);
    void Kill();
    // A running process: the one of that id, or one that parent started from a file of that
    // name (Handle() is null when there is none).
    static ChildProcess Open(DWORD id);
    static ChildProcess StartedBy(DWORD parent, const std::wstring& fileName);

  private:
    UniqueKernelHandle process_;
    UniqueKernelHandle thread_;
    DWORD id_ = 0;
};

// A child that is killed when it goes out of scope, whichever way the test leaves.
class ScopedProcess : public ChildProcess {
  public:
    ScopedProcess() = default;
    ScopedProcess(ChildProcess&& process) : ChildProcess(std::move(process)) {}
    ScopedProcess(ScopedProcess&&) = default;
    ScopedProcess& operator=(ScopedProcess&&) = default;
    ~ScopedProcess() { Kill(); }
};

// Runs a program with arguments, waits for its end and returns its exit code
// (0xFFFFFFFF when it did not end within timeoutMs; it is then killed).
DWORD RunProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs,
                 const std::wstring& workingFolder = L"");
// The same for Varnholt.exe.
DWORD RunVarnholt(const std::wstring& arguments, DWORD timeoutMs = 20000);

// Whether this test runs under Wine (which, where it differs from Windows, some tests allow).
bool RunningUnderWine();

// Checks done() every everyMs (50 unless given) until it holds (true) or timeoutMs pass
// (false). Every wait of the tests goes through it.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD everyMs = 50);
