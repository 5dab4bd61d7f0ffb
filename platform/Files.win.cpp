#include "platform/Files.h"

#include "platform/RunError.h"
#include "platform/UniqueHandle.h"

#include <windows.h>

bool FileExists(const std::wstring& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveFile(const std::wstring& path) {
    if (!FileExists(path))
        return;
    if (!SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL))
        ThrowFileError(path, GetLastError());
    if (!DeleteFileW(path.c_str()))
        ThrowFileError(path, GetLastError());
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring SystemErrorText(unsigned long errorCode) {
    UniqueLocalMemory text;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
    std::wstring reason =
        length ? std::wstring(static_cast<const wchar_t*>(text.get()), length) : L"";
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r'))
        reason.pop_back();
    if (reason.empty())
        reason = L"Error " + std::to_wstring(errorCode);
    return reason;
}

void ThrowFileError(const std::wstring& path, unsigned long errorCode) {
    throw RunError(ErrorKind::FileAccess, path + L"\r\n" + SystemErrorText(errorCode));
}
