// The stand-in viewer's log format, which every viewer test reads: what is written comes
// back the same, whatever the text holds, and a line still being written is not read.
#include "tests/support/ViewerLog.h"

#include "platform/UniqueHandle.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewerLog, FieldsComeBackUnchangedWhateverTheyHold) {
    const std::wstring awkward = L" tab\there\\n, line\r\nend, поиск, =sign\\";
    const std::string line = FormatViewerLogLine(L"WM_SETTEXT", {{L"window", L"searchedit"},
                                                                 {L"delivery", L"sent"},
                                                                 {L"wParam", L"67"},
                                                                 {L"lParam", L"0x04190419"},
                                                                 {L"text", awkward}});
    ASSERT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line per event";

    const auto entry = ParseViewerLogLine(line.substr(0, line.size() - 1));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->event, L"WM_SETTEXT");
    EXPECT_TRUE(entry->IsMessage());
    EXPECT_EQ(entry->Window(), L"searchedit");
    EXPECT_TRUE(entry->Sent());
    EXPECT_EQ(entry->WParam(), 67u);
    EXPECT_EQ(entry->LParam(), 0x04190419u);
    EXPECT_EQ(entry->Text(), awkward);
    EXPECT_EQ(entry->Field(L"absent"), L"");
    EXPECT_EQ(entry->Number(L"absent"), 0u);
}

TEST(ViewerLog, DamagedLinesAreNotEntries) {
    EXPECT_FALSE(ParseViewerLogLine(""));
    EXPECT_FALSE(ParseViewerLogLine("WM_COMMAND\twindow"));
    const auto ready = ParseViewerLogLine("ready");
    ASSERT_TRUE(ready);
    EXPECT_FALSE(ready->IsMessage());
    EXPECT_TRUE(ready->fields.empty());
}

TEST(ViewerLog, ALineStillBeingWrittenIsLeftOut) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"viewer-log-test.log";
    const std::string content = FormatViewerLogLine(L"ready", {{L"main", L"0x10"}}) +
                                FormatViewerLogLine(L"WM_CLOSE", {{L"window", L"main"}}) +
                                "WM_COMMAND\twindow=ma";
    {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                  nullptr);
    }
    const auto entries = ReadViewerLog(path);
    DeleteFileW(path.c_str());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].event, L"ready");
    EXPECT_EQ(entries[0].Number(L"main"), 0x10u);
    EXPECT_EQ(entries[1].event, L"WM_CLOSE");
    EXPECT_TRUE(ReadViewerLog(path + L".missing").empty());
}

} // namespace
