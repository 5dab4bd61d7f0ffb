#include "platform/ProgramInfo.h"

#include "platform/PathText.h"

#include <windows.h>

#include <vector>

unsigned MsSinceProgramStart() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    const ULONGLONG from = ticks(created), to = ticks(now);
    return to > from ? static_cast<unsigned>((to - from) / 10000) : 0;
}

namespace {

std::wstring ProgramFilePath() {
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

} // namespace

std::wstring ProgramFolder() {
    return FolderOfPath(ProgramFilePath());
}

std::wstring ProgramName() {
    return FileNameWithoutExtension(ProgramFilePath());
}

std::wstring ProgramPath() {
    return ProgramFolder() + L"\\" + ProgramName() + L".exe";
}

namespace {

// The program's own version resource, from its image in memory: GetFileVersionInfo would
// open and map the program file again for every field asked. VerQueryValue is handed a
// copy, as it may write beside the data it reads.
std::vector<unsigned char> OwnVersionResource() {
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes)
        return {};
    return std::vector<unsigned char>(bytes, bytes + SizeofResource(nullptr, found));
}

} // namespace

std::wstring VersionResourceString(const std::wstring& field) {
    std::vector<unsigned char> data = OwnVersionResource();
    if (data.empty())
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
