// /reg, /run and /move with the real Varnholt.exe: the records under the product key,
// the file the shell is asked to open, and the viewer window's place.
#include "registry/Placement.h"
#include "tests/support/ClientRun.h"
#include "tests/support/Process.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/TestWindowProcess.h"
#include "tests/support/WindowText.h"
#include "viewer/ViewerWindows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::wstring HelpFileKey(const std::wstring& name) {
    return ::HelpFileKey(VarnholtPath(), name);
}

// The value as the client stores it, in the 64-bit view; nothing when absent.
std::optional<std::wstring> StoredText(const std::wstring& name, const std::wstring& value) {
    return ReadTextValue(HKEY_LOCAL_MACHINE, HelpFileKey(name), value, View::Bits64);
}

void StoreText(const std::wstring& name, const std::wstring& value, const std::string& text) {
    ASSERT_TRUE(SetRawValue(HKEY_LOCAL_MACHINE, HelpFileKey(name), value, REG_SZ, StringBytes(text),
                            View::Bits64));
}

void ForgetHelpFile(const std::wstring& name) {
    DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, HelpFileKey(name));
}

// Where the window is, "left,top,right,bottom", once it has handled what it was sent: /move
// does not wait for another program.
std::string Place(TestWindowProcess& window) {
    window.Log();
    const RECT r = WindowRect(window.Window());
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

TestWindowProcess StartViewer(RECT rect, bool foreground = true) {
    return StartTestWindow(L"HH Parent", L"Placement viewer", foreground, rect);
}

TEST(Register, WritesFolderAndVersionUnderTheNameAsGiven) {
    ForgetHelpFile(L" Atlas");
    ForgetHelpFile(L"Atlas");
    ASSERT_EQ(RunVarnholt(L"/reg Atlas=C:\\Books\\=2.5"), 0u);
    EXPECT_EQ(StoredText(L" Atlas", L""), L"C:\\Books\\");
    EXPECT_EQ(StoredText(L" Atlas", L"CurrentVersion"), L"2.5");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"Atlas"), View::Bits64));

    ASSERT_EQ(RunVarnholt(L"/regAtlas=D:\\Other\\=3.0=ignored"), 0u);
    EXPECT_EQ(StoredText(L"Atlas", L""), L"D:\\Other\\");
    EXPECT_EQ(StoredText(L"Atlas", L"CurrentVersion"), L"3.0");
    ForgetHelpFile(L" Atlas");
    ForgetHelpFile(L"Atlas");
}

TEST(Register, FewerThanThreeFieldsIsReportedAndNothingIsWritten) {
    for (const std::wstring argument : {L"/regLexicon=C:\\Books\\", L"/regLexicon"}) {
        ForgetHelpFile(L"Lexicon");
        const auto [box, exitCode] = RunAndAnswer(argument);
        const std::wstring& report = box.text;
        EXPECT_EQ(report.rfind(L"Run-time error: Missing field", 0), 0u) << report;
        EXPECT_EQ(exitCode, 1u);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"Lexicon"), View::Bits64))
            << argument;
    }
}

// The shell opens .chm files with a recorder while a test runs, so that what it was asked
// to open can be seen; the association is put back afterwards.
class ChmRecorder {
  public:
    ChmRecorder()
        : record_(TemporaryFilePath(L"chm-open")),
          association_(L".chm", L"\"" + TestBinFolder() + L"\\TitleTestWindow.exe\" --record \"" +
                                    record_ + L"\" \"%1\" %*") {}
    ~ChmRecorder() { DeleteFileW(record_.c_str()); }
    // The command lines the shell started, waiting up to timeoutMs for the first one.
    std::vector<std::wstring> Opened(DWORD timeoutMs) const {
        std::vector<std::wstring> lines;
        WaitUntil([&] { return !(lines = ReadLogFile(record_)).empty(); }, timeoutMs);
        return lines;
    }

  private:
    std::wstring record_;
    TestFileAssociation association_;
};

void CreateHelpFile(const std::wstring& path) {
    CreateDirectoryW(L"C:\\Books", nullptr);
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
}

TEST(Run, RemembersTheViewerOpensTheFileAndClosesTheViewer) {
    ForgetHelpFile(L"Atlas");
    CreateHelpFile(L"C:\\Books\\Atlas-1049.chm");
    const ChmRecorder recorder;
    TestWindowProcess viewer = StartViewer({100, 50, 900, 650});
    ASSERT_TRUE(viewer.Window());
    ASSERT_EQ(Place(viewer), "100,50,900,650");

    ASSERT_EQ(RunVarnholt(L"/run C:\\Books\\Atlas-1049.chm"), 0u);
    EXPECT_EQ(StoredText(L"Atlas", L""), L" C:\\Books\\");
    EXPECT_EQ(StoredText(L"Atlas", L"Rect"), L"100,50,800,600");
    const auto opened = recorder.Opened(10000);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find(L"\"C:\\Books\\Atlas-1049.chm\" 0"), std::wstring::npos) << opened[0];
    EXPECT_TRUE(viewer.WaitForExit(10000)) << "the old viewer got no WM_CLOSE";

    // the new viewer, in front, takes the remembered place once
    TestWindowProcess next = StartViewer({300, 300, 700, 600});
    ASSERT_TRUE(next.Window());
    ASSERT_EQ(RunVarnholt(L"/moveAtlas"), 0u);
    EXPECT_EQ(Place(next), "100,50,900,650");
    EXPECT_EQ(StoredText(L"Atlas", L"Rect"), L"");
    ForgetHelpFile(L"Atlas");
}

TEST(Run, AFileTheShellCannotOpenKeepsTheViewerAndItsPlace) {
    ForgetHelpFile(L"Missing");
    StoreText(L"Missing", L"Rect", "1,2,3,4");
    const ChmRecorder recorder;
    TestWindowProcess viewer = StartViewer({120, 80, 620, 480});
    ASSERT_TRUE(viewer.Window());
    const auto [box, exitCode] = RunAndAnswer(L"/run C:\\Books\\Nowhere\\Missing-7.chm");
    const std::wstring& report = box.text;
    EXPECT_NE(report.find(L"\r\nC:\\Books\\Nowhere\\Missing-7.chm\r\n"), std::wstring::npos)
        << report;
    EXPECT_EQ(exitCode, 1u);
    EXPECT_EQ(StoredText(L"Missing", L"Rect"), L"1,2,3,4");
    EXPECT_TRUE(viewer.Log().empty()) << "the viewer was closed";
    EXPECT_TRUE(recorder.Opened(500).empty());
    ForgetHelpFile(L"Missing");
}

TEST(Run, AViewerGoneBeforeItsPlaceIsReadLeavesRectAsItWas) {
    ForgetHelpFile(L"Atlas");
    CreateHelpFile(L"C:\\Books\\Atlas-1049.chm");
    StoreText(L"Atlas", L"Rect", "1,2,3,4");
    const ChmRecorder recorder;
    // The command runs here, on a viewer window that has just gone.
    CurrentViewer = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    DestroyWindow(CurrentViewer);
    RunCommand(L" C:\\Books\\Atlas-1049.chm");
    CurrentViewer = nullptr;
    EXPECT_EQ(StoredText(L"Atlas", L"Rect"), L"1,2,3,4");
    EXPECT_EQ(recorder.Opened(10000).size(), 1u) << "the file is opened all the same";
    ForgetHelpFile(L"Atlas");
}

TEST(Register, AFullWidthBackslashDoesNotBecomeAKeySeparator) {
    ForgetHelpFile(L"A?B");
    ForgetHelpFile(L"A");
    ASSERT_EQ(RunVarnholt(L"/regA\uff3cB=C:\\Books\\=1"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"A"), View::Bits64));
    EXPECT_EQ(StoredText(L"A?B", L"CurrentVersion"), L"1");
    ForgetHelpFile(L"A?B");
}

// Cyrillic help-file names under code page 1251: the keys carry them.
TEST(RussianLocalePlacement, CyrillicNamesNameTheirKeys) {
    ASSERT_EQ(GetACP(), 1251u);
    const std::wstring name = L"\u0410\u0442\u043b\u0430\u0441";
    ForgetHelpFile(name);
    ASSERT_EQ(RunVarnholt(L"/reg" + name + L"=C:\\\u041a\u043d\\=2.5"), 0u);
    const auto folder = ReadRawValue(HKEY_LOCAL_MACHINE, HelpFileKey(name), L"", View::Bits64);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->bytes, StringBytes("C:\\\xCA\xED\\"));

    CreateHelpFile(L"C:\\Books\\" + name + L"-1049.chm");
    const ChmRecorder recorder;
    TestWindowProcess viewer = StartViewer({100, 50, 900, 650});
    ASSERT_TRUE(viewer.Window());
    ASSERT_EQ(RunVarnholt(L"/run C:\\Books\\" + name + L"-1049.chm"), 0u);
    EXPECT_EQ(StoredText(name, L"Rect"), L"100,50,800,600");
    TestWindowProcess next = StartViewer({300, 300, 700, 600});
    ASSERT_TRUE(next.Window());
    ASSERT_EQ(RunVarnholt(L"/move" + name), 0u);
    EXPECT_EQ(Place(next), "100,50,900,650");
    ForgetHelpFile(name);
}

TEST(Run, FileNameWithoutExtensionEndsTheRunBeforeAnything) {
    ForgetHelpFile(L"Gazetteer");
    const ChmRecorder recorder;
    TestWindowProcess viewer = StartViewer({100, 100, 500, 400});
    ASSERT_TRUE(viewer.Window());
    const auto [box, exitCode] = RunAndAnswer(L"/run C:\\Books.d\\Gazetteer");
    const std::wstring& report = box.text;
    EXPECT_EQ(report.rfind(L"Run-time error: ", 0), 0u) << report;
    EXPECT_NE(report.find(L"C:\\Books.d\\Gazetteer"), std::wstring::npos) << report;
    EXPECT_EQ(exitCode, 1u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"Gazetteer"), View::Bits64));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"Books"), View::Bits64));
    EXPECT_TRUE(viewer.Log().empty());
}

TEST(Run, NoViewerInFrontDoesNothing) {
    ForgetHelpFile(L"Atlas");
    CreateHelpFile(L"C:\\Books\\Atlas-1049.chm");
    const ChmRecorder recorder;
    TestWindowProcess viewer = StartViewer({100, 50, 900, 650}, false);
    TestWindowProcess bystander = StartBystander(L"Placement bystander");
    ASSERT_TRUE(viewer.Window() && bystander.Window());
    ASSERT_EQ(RunVarnholt(L"/run C:\\Books\\Atlas-1049.chm"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"Atlas"), View::Bits64));
    EXPECT_TRUE(recorder.Opened(500).empty());
    EXPECT_TRUE(viewer.Log().empty());
    EXPECT_TRUE(bystander.Log().empty());
}

TEST(Move, AppliesTheRememberedRectangleOnceNegativeLeftIncluded) {
    ForgetHelpFile(L"Atlas");
    StoreText(L"Atlas", L"Rect", "-8,20,800,600");
    TestWindowProcess viewer = StartViewer({200, 200, 600, 500});
    ASSERT_TRUE(viewer.Window());
    ASSERT_EQ(RunVarnholt(L"/moveAtlas"), 0u);
    EXPECT_EQ(Place(viewer), "-8,20,792,620");
    EXPECT_EQ(StoredText(L"Atlas", L"Rect"), L"");

    // a second /move finds the empty text
    SetWindowPos(viewer.Window(), nullptr, 200, 200, 400, 300, SWP_NOZORDER);
    ASSERT_EQ(RunVarnholt(L"/moveAtlas"), 0u);
    EXPECT_EQ(Place(viewer), "200,200,600,500");
    ForgetHelpFile(L"Atlas");
}

TEST(Move, TheNameKeepsItsLeadingBlank) {
    ForgetHelpFile(L"Atlas");
    ForgetHelpFile(L" Atlas");
    StoreText(L"Atlas", L"Rect", "10,20,800,600");
    TestWindowProcess viewer = StartViewer({200, 200, 600, 500});
    ASSERT_TRUE(viewer.Window());
    ASSERT_EQ(RunVarnholt(L"/move Atlas"), 0u);
    EXPECT_EQ(Place(viewer), "200,200,600,500");
    EXPECT_EQ(StoredText(L"Atlas", L"Rect"), L"10,20,800,600");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L" Atlas"), View::Bits64));
    ForgetHelpFile(L"Atlas");
}

TEST(Move, ARectThatIsNotFourFieldsChangesNothing) {
    TestWindowProcess viewer = StartViewer({200, 200, 600, 500});
    ASSERT_TRUE(viewer.Window());
    for (const std::string stored : {"10,20,800", "", "1,2,3,4,5"}) {
        StoreText(L"Atlas", L"Rect", stored);
        ASSERT_EQ(RunVarnholt(L"/moveAtlas"), 0u);
        EXPECT_EQ(Place(viewer), "200,200,600,500") << stored;
        EXPECT_EQ(StoredText(L"Atlas", L"Rect"), std::wstring(stored.begin(), stored.end()));
    }
    ForgetHelpFile(L"Atlas");
}

TEST(Move, AFieldThatIsNotANumberEndsTheRunBeforeTheWindowMoves) {
    StoreText(L"Atlas", L"Rect", "10,x,800,600");
    TestWindowProcess viewer = StartViewer({200, 200, 600, 500});
    ASSERT_TRUE(viewer.Window());
    const auto [box, exitCode] = RunAndAnswer(L"/moveAtlas");
    const std::wstring& report = box.text;
    EXPECT_EQ(report.rfind(L"Run-time error: ", 0), 0u) << report;
    EXPECT_EQ(exitCode, 1u);
    EXPECT_EQ(Place(viewer), "200,200,600,500");
    EXPECT_EQ(StoredText(L"Atlas", L"Rect"), L"10,x,800,600");
    ForgetHelpFile(L"Atlas");
}

TEST(Move, NoViewerInFrontMovesNothing) {
    StoreText(L"Atlas", L"Rect", "10,20,800,600");
    TestWindowProcess viewer = StartViewer({200, 200, 600, 500}, false);
    TestWindowProcess bystander = StartBystander(L"Placement bystander");
    ASSERT_TRUE(viewer.Window() && bystander.Window());
    const std::string before = Place(bystander);
    ASSERT_EQ(RunVarnholt(L"/moveAtlas"), 0u);
    EXPECT_EQ(Place(viewer), "200,200,600,500");
    EXPECT_EQ(Place(bystander), before);
    EXPECT_EQ(StoredText(L"Atlas", L"Rect"), L"10,20,800,600");
    ForgetHelpFile(L"Atlas");
}

} // namespace
