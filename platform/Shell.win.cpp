#include "platform/Shell.h"

#include "platform/Ansi.h"
#include "platform/ComHandles.h"

#include <windows.h>
#include <shellapi.h>

unsigned long OpenWithShell(const std::wstring& target) {
    const std::string file = ToAnsi(target);
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    // The run may end right after this call: the shell finishes before it returns.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = "open";
    info.lpFile = file.c_str();
    info.lpParameters = "0";
    info.lpDirectory = "";
    info.nShow = SW_HIDE;
    // The shell's handlers may use COM, which must be set up on this thread first; only the
    // commands that open something pay for it.
    const ComApartment apartment;
    if (ShellExecuteExA(&info))
        return 0;
    const DWORD error = GetLastError();
    return error ? error : ERROR_FILE_NOT_FOUND;
}
