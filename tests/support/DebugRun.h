// Runs a program as its debugger, to see what a run maps: the DLLs it loads with the
// program (before its first instruction) and later, while its command runs, and its
// peak working set just before it exits; and what it says to a debugger.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct DebugRun {
    std::vector<std::wstring> dllsAtLoad; // file names, in load order
    std::vector<std::wstring> dllsLater;
    std::size_t peakWorkingSet = 0; // bytes; 0 when it could not be read
    DWORD exitCode = 0xFFFFFFFF;    // 0xFFFFFFFF when it did not end in time (it is killed)
    std::string debugOutput;        // what it wrote with OutputDebugString, in order
};

// whileRunning is called with the process id whenever the program has been quiet for a
// moment (to answer its message box, for example).
DebugRun RunUnderDebugger(const std::wstring& program, const std::wstring& arguments,
                          const std::function<void(DWORD)>& whileRunning = {},
                          DWORD timeoutMs = 20000);

// Whether one of the file names is name, ignoring case ("wininet.dll").
bool HasDll(const std::vector<std::wstring>& dlls, const std::wstring& name);
