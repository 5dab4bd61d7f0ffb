// Test builds only (VARNHOLT_FAULT_INJECTION): the process ends abruptly at a named step
// of the Favorites rewrite when the environment variable VARNHOLT_CRASH_AT names that
// step, the way a crash or a killed process would end it. Product builds compile it out.
#pragma once

inline constexpr unsigned CrashExitCode = 77;

#ifdef VARNHOLT_FAULT_INJECTION
#include <windows.h>

#include <string_view>

inline void CrashPoint(const wchar_t* step) {
    wchar_t wanted[64] = {};
    const DWORD n = GetEnvironmentVariableW(L"VARNHOLT_CRASH_AT", wanted, 64);
    if (n > 0 && n < 64 && std::wstring_view(wanted) == step)
        TerminateProcess(GetCurrentProcess(), CrashExitCode);
}
#else
inline void CrashPoint(const wchar_t*) {}
#endif
