#include "tests/support/TestFiles.h"

#include "platform/UniqueHandle.h"
#include "tests/support/Process.h"
#include "tests/support/ViewerLog.h"

#include <algorithm>
#include <atomic>

void RemoveFolderTree(const std::wstring& folder) {
    for (const std::wstring& name : FolderEntries(folder)) {
        const std::wstring path = folder + name;
        const bool subfolder = FileAttributes(path) & FILE_ATTRIBUTE_DIRECTORY;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (subfolder)
            RemoveFolderTree(path + L"\\");
        else
            DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

TemporaryFolder::TemporaryFolder(const std::wstring& parent) {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    for (;;) {
        path_ = (parent.empty() ? std::wstring(temp) : parent) + L"vh" +
                std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount()) +
                L"_" + std::to_wstring(counter++) + L"\\";
        if (CreateDirectoryW(path_.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
}

TemporaryFolder::~TemporaryFolder() {
    RemoveFolderTree(path_);
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

DWORD FileAttributes(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW((folder + L"*").c_str(), &found));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &found)) {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

std::wstring UnixPath(const std::wstring& path) {
    using Convert = char*(CDECL*)(const wchar_t*);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = convert ? convert(path.c_str()) : nullptr;
    const std::string result = unix ? unix : "";
    HeapFree(GetProcessHeap(), 0, unix);
    return L"'" + std::wstring(result.begin(), result.end()) + L"'";
}

// Wine cannot wait for a Unix process: the command's end is told by a file it makes last.
void RunUnixShell(const std::wstring& command) {
    const TemporaryFolder mark;
    const std::wstring done = mark.Path() + L"done";
    ChildProcess::Start(L"Z:\\bin\\sh", L"-c \"" + command + L"; touch " + UnixPath(done) + L"\"");
    WaitUntil([&] { return FileAttributes(done) != INVALID_FILE_ATTRIBUTES; }, 10000);
}

} // namespace

UnixLink::UnixLink(const std::wstring& link, const std::wstring& target) : path(UnixPath(link)) {
    RunUnixShell(L"ln -s " + UnixPath(target) + L" " + path);
}

UnixLink::~UnixLink() {
    RunUnixShell(L"rm -f " + path);
}

bool AppendUtf8Line(const std::wstring& path, const std::wstring& line) {
    const std::string bytes = ToUtf8(line + L"\r\n");
    const UniqueFile file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
