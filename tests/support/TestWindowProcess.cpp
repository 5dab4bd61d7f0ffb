#include "tests/support/TestWindowProcess.h"

#include "platform/UniqueHandle.h"
#include "tests/support/ViewerLog.h"

#include <algorithm>

namespace {

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

std::wstring TemporaryFilePath(const std::wstring& stem) {
    static int counter = 0;
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + stem + L"-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++counter) + L".log";
    DeleteFileW(path.c_str());
    return path;
}

std::vector<std::wstring> ReadLogFile(const std::wstring& path) {
    std::vector<std::wstring> lines;
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return lines;
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    const std::wstring text = FromUtf8(bytes);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

TestWindowProcess TestWindowProcess::Start(const TestWindowOptions& options) {
    TestWindowProcess result;
    result.logPath_ = TemporaryFilePath(L"TitleTestWindow");
    static int counter = 0;
    const std::wstring eventName = L"TitleTestWindowReady-" +
                                   std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(++counter);
    const UniqueKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    std::wstring arguments =
        L"--class " + Quoted(options.className) + L" --title " + Quoted(options.title) +
        L" --log " + Quoted(result.logPath_) + L" --ready " + eventName + L" --rect " +
        std::to_wstring(options.rect.left) + L"," + std::to_wstring(options.rect.top) + L"," +
        std::to_wstring(options.rect.right) + L"," + std::to_wstring(options.rect.bottom);
    if (options.foreground)
        arguments += L" --foreground";
    if (!options.trailingArguments.empty())
        arguments += L" " + options.trailingArguments;
    result.process_ = ChildProcess::Start(TestBinFolder() + L"\\TitleTestWindow.exe", arguments);
    if (WaitForSingleObject(ready.get(), 15000) != WAIT_OBJECT_0)
        return result;
    WindowSearch search{result.process_.Id(), nullptr};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    result.window_ = search.found;
    if (options.foreground && result.window_) {
        // The window asked for the front itself; make sure no other window took it since.
        SetForegroundWindow(result.window_);
    }
    return result;
}

TestWindowProcess::~TestWindowProcess() {
    process_.Kill();
    if (!logPath_.empty())
        DeleteFileW(logPath_.c_str());
}

std::wstring TestWindowProcess::Title() const {
    wchar_t text[512] = {};
    GetWindowTextW(window_, text, 512);
    return text;
}

std::vector<std::wstring> TestWindowProcess::Log() {
    const auto syncs = [this] {
        const auto lines = ReadLogFile(logPath_);
        return std::count(lines.begin(), lines.end(), L"SYNC");
    };
    const auto before = syncs();
    if (IsWindow(window_) && PostMessageW(window_, WM_APP, 0, 0))
        WaitUntil([&] { return syncs() > before; }, 10000, 20);
    std::vector<std::wstring> lines;
    for (auto& line : ReadLogFile(logPath_))
        if (line != L"SYNC")
            lines.push_back(line);
    return lines;
}

std::vector<std::wstring> TestWindowProcess::LogLines(const std::wstring& prefix) {
    std::vector<std::wstring> found;
    for (auto& line : Log())
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

TestWindowProcess StartTestWindow(const std::wstring& className, const std::wstring& title,
                                  bool foreground, RECT rect) {
    return TestWindowProcess::Start({className, title, rect, foreground, L""});
}

TestWindowProcess StartBystander(const std::wstring& title) {
    return StartTestWindow(L"Bystander", title, true);
}
