// A library planted beside a program under the name of a system library, as someone who can
// write the program's folder would plant one: loaded, it leaves a mark beside itself,
// "<its file name>.<the program's file name>.ran", and refuses to load.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t mark[MAX_PATH * 2] = {}, program[MAX_PATH] = {};
    GetModuleFileNameW(self, mark, MAX_PATH);
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const wchar_t* programName = wcsrchr(program, L'\\');
    lstrcatW(mark, L".");
    lstrcatW(mark, programName ? programName + 1 : program);
    lstrcatW(mark, L".ran");
    CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return FALSE;
}
