// Stands in for Windows' lock on a running program's file, which Wine does not have: holds
// the file open, sharing only reading and deleting (renaming), as Windows holds the file of
// a running program, for as long as the given process lives, then ends.
//   HoldFile.exe <process id> <file> [--deny-delete]
// --deny-delete shares reading only: a holder that even a rename cannot get past (a scanner
// or a backup that opened the file without sharing).
// Exit code 0 once the process has ended, 1 when the process or the file could not be
// opened.
#include "platform/UniqueHandle.h"

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 1;
    const bool denyDelete = argc > 3 && std::wstring(argv[3]) == L"--deny-delete";
    const UniqueKernelHandle process(
        OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(_wtoi(argv[1]))));
    const UniqueFile file(CreateFileW(argv[2], GENERIC_READ,
                                      FILE_SHARE_READ | (denyDelete ? 0 : FILE_SHARE_DELETE),
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!process || !file)
        return 1;
    WaitForSingleObject(process.get(), INFINITE);
    return 0;
}
