// Stands in for the web browser: registered in the test prefix as the program that opens
// http addresses, it appends the command line it was started with to opened-links.txt
// beside itself, one line per start.
#include "tests/support/TestFiles.h"

#include <windows.h>

#include <string>

int wmain() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring file(path, n);
    file = file.substr(0, file.rfind(L'\\')) + L"\\opened-links.txt";
    return AppendUtf8Line(file, GetCommandLineW()) ? 0 : 1;
}
