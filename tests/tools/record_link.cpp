// Stands in for the web browser: registered in the test prefix as the program that opens
// http addresses, it appends the command line it was started with to opened-links.txt
// beside itself, one line per start.
#include "platform/UniqueHandle.h"

#include <windows.h>

#include <string>

int wmain() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring file(path, n);
    file = file.substr(0, file.rfind(L'\\')) + L"\\opened-links.txt";
    const std::wstring line = std::wstring(GetCommandLineW()) + L"\r\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), size,
                        nullptr, nullptr);
    const UniqueFile out(CreateFileW(file.c_str(), FILE_APPEND_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out)
        return 1;
    DWORD written = 0;
    WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return 0;
}
