// A library that someone leaves beside a program under the name of one the program loads:
// loaded, it leaves "<its own path>.ran" beside itself. It exports what the setup imports
// from comctl32, so that it can stand in for that library too.
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
