#include "platform/ProgramInfo.h"

#include "text/PathText.h"

#include <windows.h>

#include <vector>

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramFolder() {
    return FolderOfPath(ProgramPath());
}

std::wstring ProgramName() {
    return FileNameWithoutExtension(ProgramPath());
}

std::wstring VersionResourceString(const std::wstring& field) {
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return {};
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation))
        return {};
    wchar_t block[64];
    wsprintfW(block, L"\\StringFileInfo\\%04x%04x\\", translations[0].language,
              translations[0].codePage);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(data.data(), (block + field).c_str(), reinterpret_cast<void**>(&value),
                        &length) ||
        length == 0)
        return {};
    return std::wstring(value, wcsnlen(value, length));
}
