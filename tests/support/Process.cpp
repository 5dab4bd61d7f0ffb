#include "tests/support/Process.h"

#include <tlhelp32.h>

#include <vector>

std::wstring TestBinFolder() {
    std::vector<wchar_t> path(MAX_PATH * 4);
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring full(path.data(), n);
    return full.substr(0, full.rfind(L'\\'));
}

std::wstring VarnholtPath() {
    return TestBinFolder() + L"\\Varnholt.exe";
}

std::wstring DistFolder() {
    const std::wstring bin = TestBinFolder();
    return bin.substr(0, bin.rfind(L'\\')) + L"\\dist";
}

std::wstring ReleaseVarnholtPath() {
    return DistFolder() + L"\\Varnholt.exe";
}

ChildProcess ChildProcess::Start(const std::wstring& program, const std::wstring& arguments,
                                 const std::wstring& workingFolder) {
    std::wstring line = L"\"" + program + L"\"";
    if (!arguments.empty())
        line += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ChildProcess child;
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
        child.thread_.reset(info.hThread);
        child.process_.reset(info.hProcess);
        child.id_ = info.dwProcessId;
    }
    return child;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) const {
    return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_.get(), &code);
    return code;
}

DWORD ChildProcess::Finish(DWORD timeoutMs) {
    if (WaitForExit(timeoutMs))
        return ExitCode();
    Kill();
    return 0xFFFFFFFF;
}

ChildProcess ChildProcess::Open(DWORD id) {
    ChildProcess process;
    process.process_.reset(OpenProcess(
        PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id));
    process.id_ = id;
    return process;
}

ChildProcess ChildProcess::StartedBy(DWORD parent, const std::wstring& fileName) {
    const UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ParentProcessID == parent && _wcsicmp(entry.szExeFile, fileName.c_str()) == 0)
            return Open(entry.th32ProcessID);
    return ChildProcess();
}

void ChildProcess::Kill() {
    if (process_ && ExitCode() == STILL_ACTIVE) {
        TerminateProcess(process_.get(), 0xDEAD);
        WaitForSingleObject(process_.get(), 5000);
    }
}

DWORD RunProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs,
                 const std::wstring& workingFolder) {
    return ChildProcess::Start(program, arguments, workingFolder).Finish(timeoutMs);
}

DWORD RunVarnholt(const std::wstring& arguments, DWORD timeoutMs) {
    return RunProgram(VarnholtPath(), arguments, timeoutMs);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD everyMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(everyMs);
    }
    return true;
}

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
