#include "tests/support/LinkRecorder.h"

#include "tests/support/Process.h"
#include "tests/support/TestFiles.h"

#include <windows.h>

namespace {

const std::wstring CommandKey = L"SOFTWARE\\Classes\\http\\shell\\open\\command";

std::wstring RecordFile() {
    return TestBinFolder() + L"\\opened-links.txt";
}

void Restore(const std::optional<RawValue>& value, View view) {
    if (value)
        SetRawValue(HKEY_LOCAL_MACHINE, CommandKey, L"", value->type, value->bytes, view);
    else
        DeleteValue(HKEY_LOCAL_MACHINE, CommandKey, L"", view);
}

} // namespace

LinkRecorder::LinkRecorder()
    : previous64_(ReadRawValue(HKEY_LOCAL_MACHINE, CommandKey, L"", View::Bits64)),
      previous32_(ReadRawValue(HKEY_LOCAL_MACHINE, CommandKey, L"", View::Bits32)) {
    DeleteFileW(RecordFile().c_str());
    const std::wstring tool = TestBinFolder() + L"\\record_link.exe";
    std::string command(1, '"');
    command.append(tool.begin(), tool.end());
    command.append("\" \"%1\" %*");
    for (View view : {View::Bits64, View::Bits32})
        SetRawValue(HKEY_LOCAL_MACHINE, CommandKey, L"", REG_SZ, StringBytes(command), view);
}

LinkRecorder::~LinkRecorder() {
    Restore(previous64_, View::Bits64);
    Restore(previous32_, View::Bits32);
}

std::vector<std::string> LinkRecorder::OpenedLinks() const {
    const std::string text = ReadFileBytes(RecordFile()).value_or("");
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::vector<std::string> LinkRecorder::WaitForLinks(std::size_t count, unsigned timeoutMs) const {
    std::vector<std::string> links;
    WaitUntil([&] { return (links = OpenedLinks()).size() >= count; }, timeoutMs, 100);
    return links;
}
