// A library left beside a program under the name of one it loads: loaded, it leaves
// "<its own path>.ran". It exports what the setup imports from comctl32, to stand in for it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    wchar_t path[MAX_PATH + 4] = {};
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameW(self, path, MAX_PATH) < MAX_PATH)
        CloseHandle(CreateFileW(lstrcatW(path, L".ran"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                0, nullptr));
    return TRUE;
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
