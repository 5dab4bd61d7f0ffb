// A library planted beside a program under a system library's name: loaded, it leaves the
// mark "<its file>.<the program's file name>.ran" beside itself, and refuses to load.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
    wchar_t mark[MAX_PATH * 2] = {}, program[MAX_PATH] = {};
    GetModuleFileNameW(self, mark, MAX_PATH);
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    lstrcatW(lstrcatW(mark, L"."), wcsrchr(program, L'\\') + 1);
    CloseHandle(
        CreateFileW(lstrcatW(mark, L".ran"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return reason != DLL_PROCESS_ATTACH;
}
