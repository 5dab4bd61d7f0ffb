#include "platform/SystemLibraries.h"

#include "platform/SystemFunction.h"

#include <delayimp.h>

#include <string>

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// Whether the program's manifest binds the library to the side-by-side store: loaded by its
// name, it then comes from there, and never from a search of folders.
bool BoundByManifest(const std::wstring& name) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    name.c_str(), &data) != FALSE;
}

// The library by its full path in the system folder, and what it loads in turn from that
// folder too: for a Windows that does not know LOAD_LIBRARY_SEARCH_SYSTEM32.
HMODULE LoadFromSystemFolderPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The notice hook of the delay-load helper (mingw-w64's __delayLoadHelper2 calls it before
// each library it loads). Left to itself, the helper loads a library with LoadLibraryA and
// its bare name, which searches the program's folder first wherever SetDefaultDllDirectories
// is missing; so the hook loads it from the system folder itself, and a library that is not
// there ends the run as the helper ends it, instead of being looked for elsewhere.
FARPROC WINAPI LoadDelayedLibrary(unsigned notice, PDelayLoadInfo info) {
    if (notice != dliNotePreLoadLibrary)
        return nullptr;
    const HMODULE library = LoadSystemLibrary(info->szDll);
    if (!library) {
        info->dwLastError = GetLastError();
        ULONG_PTR argument = reinterpret_cast<ULONG_PTR>(info);
        RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 1, &argument);
    }
    return reinterpret_cast<FARPROC>(library);
}

} // namespace

// Read by the delay-load helper; defined here, beside the function wWinMain calls, so that
// the linker takes this one and not the runtime's empty one.
PfnDliHook __pfnDliNotifyHook2 = LoadDelayedLibrary;

void LoadLibrariesFromSystemFolderOnly() {
    const auto setDefault = OptionalSystemFunction<SetDefaultDllDirectoriesFunction>(
        L"kernel32.dll", "SetDefaultDllDirectories");
    if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const char* name) {
    const std::wstring wide(name, name + strlen(name)); // library names are ASCII
    if (BoundByManifest(wide))
        return LoadLibraryW(wide.c_str());
    if (const HMODULE library = LoadLibraryExW(wide.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return library;
    return LoadFromSystemFolderPath(wide);
}
