// A library planted beside a program under a system library's name: loaded, it leaves the
// mark "<its file>.<the program's file name>.ran" beside itself, and refuses to load. It
// exports what the setup imports from comctl32, so that a load-time import of it reaches
// its DllMain instead of failing first.
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

extern "C" __declspec(dllexport) void WINAPI InitCommonControls() {}
extern "C" __declspec(dllexport) void* WINAPI ImageList_Create(int, int, UINT, int, int) {
    return nullptr;
}
extern "C" __declspec(dllexport) int WINAPI ImageList_AddMasked(void*, HBITMAP, COLORREF) {
    return -1;
}
extern "C" __declspec(dllexport) BOOL WINAPI ImageList_Destroy(void*) {
    return FALSE;
}
