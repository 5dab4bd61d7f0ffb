// A floor of its own for each command: the system calls that a command must make and
// nothing of the client's own, so that the benchmark can tell the client's cost from the
// system's. Built like Varnholt.exe (static, 32-bit, subsystem windows); what every start
// must do comes first: the foreground window (the viewer's capture) and the registry
// reads of the start-up (the App Paths values and the frame-navigation value, in the
// 64-bit view); it carries the client's manifest. The argument names what the command
// adds:
//   pointer        the window under the pointer and its parents' classes (/stop /exit /jump)
//   keyboard <id>  the installed layouts, the layout loaded by name and the request
//                  posted to the window in front (/keyb)
//   wmi            the WMI connection to root\cimv2 (/title)
//   shell <file>   ShellExecuteEx of the file, as the client calls it (/run)
//   box <caption>  a message box with that caption (an unknown switch)
//   file <path>    the file calls of /bmadd and /bmdel on that Favorites file: the lock
//                  created beside it, the file read whole, the search for leftovers, a
//                  random name, the new file created and written whole beside it, flushed,
//                  marked read-only and hidden and renamed over it
//   (nothing)      nothing more (every other command)
#include "platform/Shell.h"
#include "platform/ComHandles.h"
#include "platform/UniqueBstr.h"
#include "platform/UniqueHandle.h"

#include <windows.h>
#include <ntsecapi.h>
#include <wbemidl.h>

#include <string>

namespace {

// One registry value read as the client reads it: size first, then the data.
void ReadValue(const char* path, const char* name) {
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0,
                      KEY_QUERY_VALUE | (wow64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY),
                      key.put()) != ERROR_SUCCESS) {
        key.release();
        return;
    }
    BYTE probe[2] = {};
    DWORD size = 0;
    RegQueryValueExA(key.get(), name, nullptr, nullptr, probe, &size);
    std::string data(size + 1, '\0');
    RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                     &size);
}

void WindowUnderPointer() {
    POINT cursor{};
    GetCursorPos(&cursor);
    char name[256];
    for (HWND window = WindowFromPoint(cursor); window; window = GetParent(window))
        GetClassNameA(window, name, sizeof name);
}

void ConnectWmi() {
    const ComApartment apartment;
    ComPtr<IWbemLocator> locator;
    ComPtr<IWbemServices> services;
    const std::wstring_view path = L"\\\\.\\root\\cimv2";
    const UniqueBstr space(SysAllocStringLen(path.data(), static_cast<UINT>(path.size())));
    if (SUCCEEDED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWbemLocator, reinterpret_cast<void**>(locator.put()))) &&
        SUCCEEDED(locator->ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr,
                                         nullptr, services.put())))
        CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                          RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

void RewriteFile(const std::string& path) {
    const UniqueFile lock(CreateFileA(
        (path + ".lock").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    std::string bytes;
    {
        const UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        GetFileSizeEx(file.get(), &size);
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    }
    WIN32_FIND_DATAA found;
    const UniqueFind search(FindFirstFileA((path + ".*").c_str(), &found));
    unsigned char random[8] = {};
    RtlGenRandom(random, sizeof random);
    const UniqueFile file(CreateFileA(
        (path + "." + std::to_string(random[0]) + ".tmp").c_str(), GENERIC_WRITE | DELETE, 0,
        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(file.get());
    FILE_BASIC_INFO attributes{};
    attributes.FileAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    SetFileInformationByHandle(file.get(), FileBasicInfo, &attributes, sizeof attributes);
    const std::wstring target(path.begin(), path.end());
    std::string rename(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t), '\0');
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(rename.data());
    info->ReplaceIfExists = TRUE;
    info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    target.copy(info->FileName, target.size());
    SetFileInformationByHandle(file.get(), FileRenameInfo, info, static_cast<DWORD>(rename.size()));
}

void RequestLayout(const std::string& name) {
    const int count = GetKeyboardLayoutList(0, nullptr);
    std::string layouts(static_cast<std::size_t>(count > 0 ? count : 0) * sizeof(HKL), '\0');
    GetKeyboardLayoutList(count, reinterpret_cast<HKL*>(layouts.data()));
    const HKL layout =
        LoadKeyboardLayoutA(name.c_str(), KLF_ACTIVATE | KLF_SUBSTITUTE_OK | KLF_SETFORPROCESS);
    PostMessageA(GetForegroundWindow(), WM_INPUTLANGCHANGEREQUEST, 0,
                 reinterpret_cast<LPARAM>(layout));
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    GetForegroundWindow();
    const char* appPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Varnholt.exe";
    ReadValue(appPath, "");
    ReadValue(appPath, "Path");
    ReadValue("SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\HHRestrictions",
              "EnableFrameNavigationInSafeMode");
    const std::string command = arguments;
    if (command == "pointer")
        WindowUnderPointer();
    else if (command.rfind("keyboard ", 0) == 0)
        RequestLayout(command.substr(9));
    else if (command == "wmi")
        ConnectWmi();
    else if (command.rfind("shell ", 0) == 0)
        OpenWithShell(std::wstring(command.begin() + 6, command.end())); // the client's own call
    else if (command.rfind("file ", 0) == 0)
        RewriteFile(command.substr(5));
    else if (command.rfind("box ", 0) == 0)
        MessageBoxA(nullptr, "Error: Unknown parameter.", command.substr(4).c_str(),
                    MB_OK | MB_ICONERROR);
    return 0;
}
