#include "tests/support/DebugRun.h"

#include "platform/UniqueHandle.h"
#include "tests/support/Process.h"

#include <psapi.h>

#include <algorithm>

namespace {

std::wstring FileNameOf(HANDLE file) {
    wchar_t path[MAX_PATH * 2] = {};
    if (!file || !GetFinalPathNameByHandleW(file, path, MAX_PATH * 2, 0))
        return {};
    const std::wstring full(path);
    return full.substr(full.find_last_of(L"\\/") + 1);
}

// A breakpoint on the way out: the process's last instruction before its exit, where its
// memory is still all there to be measured. The exit is ntdll's in every process, at the
// same address as in this one.
class ExitBreakpoint {
  public:
    void Set(HANDLE process) {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        address_ =
            ntdll ? reinterpret_cast<BYTE*>(GetProcAddress(ntdll, "RtlExitUserProcess")) : nullptr;
        const BYTE breakpoint = 0xCC;
        if (!address_ || !ReadProcessMemory(process, address_, &original_, 1, nullptr) ||
            !WriteProcessMemory(process, address_, &breakpoint, 1, nullptr))
            address_ = nullptr;
        FlushInstructionCache(process, address_, 1);
    }
    bool Hit(const EXCEPTION_RECORD& exception) const {
        return address_ && exception.ExceptionAddress == address_;
    }
    // Puts the instruction back and lets the thread run it.
    void Resume(HANDLE process, DWORD threadId) {
        WriteProcessMemory(process, address_, &original_, 1, nullptr);
        FlushInstructionCache(process, address_, 1);
        const UniqueKernelHandle thread(
            OpenThread(THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE, threadId));
        CONTEXT context{};
        context.ContextFlags = CONTEXT_CONTROL;
        if (thread && GetThreadContext(thread.get(), &context)) {
            context.Eip = reinterpret_cast<DWORD>(address_);
            SetThreadContext(thread.get(), &context);
        }
        address_ = nullptr;
    }

  private:
    BYTE* address_ = nullptr;
    BYTE original_ = 0;
};

std::size_t PeakWorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PeakWorkingSetSize
                                                                     : 0;
}

} // namespace

DebugRun RunUnderDebugger(const std::wstring& program, const std::wstring& arguments,
                          const std::function<void(DWORD)>& whileRunning, DWORD timeoutMs) {
    DebugRun run;
    std::wstring line = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                        DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &info))
        return run;
    const UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    ExitBreakpoint exitBreakpoint;
    bool started = false;
    // Each turn takes the next event, waiting for it a little at a time, so that
    // whileRunning is called while the program runs.
    const auto nextEvent = [&] {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, 100)) {
            if (whileRunning)
                whileRunning(info.dwProcessId);
            return false;
        }
        DWORD status = DBG_CONTINUE;
        if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
            const UniqueKernelHandle file(event.u.LoadDll.hFile);
            (started ? run.dllsLater : run.dllsAtLoad).push_back(FileNameOf(file.get()));
        } else if (event.dwDebugEventCode == OUTPUT_DEBUG_STRING_EVENT) {
            const OUTPUT_DEBUG_STRING_INFO& said = event.u.DebugString;
            std::string text(said.nDebugStringLength, '\0');
            SIZE_T got = 0;
            if (!said.fUnicode && ReadProcessMemory(process.get(), said.lpDebugStringData,
                                                    text.data(), text.size(), &got))
                run.debugOutput += text.substr(0, text.find('\0'));
        } else if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
            const UniqueKernelHandle file(event.u.CreateProcessInfo.hFile);
        } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
            const EXCEPTION_RECORD& exception = event.u.Exception.ExceptionRecord;
            if (exception.ExceptionCode != EXCEPTION_BREAKPOINT) {
                status = DBG_EXCEPTION_NOT_HANDLED;
            } else if (!started) { // the loader's: everything the program imports is there
                started = true;
                exitBreakpoint.Set(process.get());
            } else if (exitBreakpoint.Hit(exception)) {
                run.peakWorkingSet = PeakWorkingSet(process.get());
                exitBreakpoint.Resume(process.get(), event.dwThreadId);
            }
        }
        const bool ended = event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
        if (ended)
            run.exitCode = event.u.ExitProcess.dwExitCode;
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        return ended;
    };
    if (WaitUntil(nextEvent, timeoutMs, 0))
        return run;
    TerminateProcess(process.get(), 1);
    DebugActiveProcessStop(info.dwProcessId);
    return run;
}

bool HasDll(const std::vector<std::wstring>& dlls, const std::wstring& name) {
    return std::any_of(dlls.begin(), dlls.end(), [&](const std::wstring& file) {
        return _wcsicmp(file.c_str(), name.c_str()) == 0;
    });
}
