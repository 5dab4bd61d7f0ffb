// A library an attacker leaves beside a program, copied there under the name of a library
// the program loads: when Windows (or Wine, told to prefer it) loads it, it leaves
// "<its own path>.ran" beside itself. It exports what the setup imports from comctl32, so
// that it can stand in for that library too.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    wchar_t path[MAX_PATH + 4] = {};
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameW(self, path, MAX_PATH) < MAX_PATH)
        CloseHandle(CreateFileW(lstrcatW(path, L".ran"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                0, nullptr));
    return TRUE;
}

extern "C" {
__declspec(dllexport) void WINAPI InitCommonControls() {}
__declspec(dllexport) void* WINAPI ImageList_Create(int, int, UINT, int, int) {
    return nullptr;
}
__declspec(dllexport) int WINAPI ImageList_AddMasked(void*, HBITMAP, COLORREF) {
    return -1;
}
__declspec(dllexport) BOOL WINAPI ImageList_Destroy(void*) {
    return FALSE;
}
}
