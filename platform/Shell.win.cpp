#include "platform/Shell.h"

#include "platform/Ansi.h"

#include <windows.h>
#include <shellapi.h>

void OpenWithShell(const std::wstring& target) {
    ShellExecuteA(nullptr, "open", ToAnsi(target).c_str(), "0", "", SW_HIDE);
}
