// /reg, /run and /move with the real Varnholt.exe: the records under the product key,
// the file the shell is asked to open, and the viewer window's place.
#include "registry/Placement.h"
#include "tests/support/ClientRun.h"
#include "tests/support/Process.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/TestWindowProcess.h"
#include "tests/support/WindowText.h"
#include "viewer/ViewerWindows.h"

#include <gtest/gtest.h>

#include <optional>
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

const std::wstring Cyrillic = L"\u0410\u0442\u043b\u0430\u0441";

// Each test starts and ends with none of the help files the tests name remembered.
class HelpFileRecords : public ::testing::Test {
  protected:
    void SetUp() override { ForgetAll(); }
    void TearDown() override { ForgetAll(); }
    static void ForgetAll() {
        for (const std::wstring name : {L"Atlas", L" Atlas", L"Lexicon", L"Missing", L"A?B", L"A",
                                        L"Gazetteer", Cyrillic.c_str()})
            ForgetHelpFile(name);
    }
};
class Register : public HelpFileRecords {};
class Run : public HelpFileRecords {};
class RussianLocalePlacement : public HelpFileRecords {};

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

TEST_F(Register, WritesFolderAndVersionUnderTheNameAsGiven) {
    ASSERT_EQ(RunVarnholt(L"/reg Atlas=C:\\Books\\=2.5"), 0u);
    EXPECT_EQ(StoredText(L" Atlas", L""), L"C:\\Books\\");
    EXPECT_EQ(StoredText(L" Atlas", L"CurrentVersion"), L"2.5");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"Atlas"), View::Bits64));

    ASSERT_EQ(RunVarnholt(L"/regAtlas=D:\\Other\\=3.0=ignored"), 0u);
    EXPECT_EQ(StoredText(L"Atlas", L""), L"D:\\Other\\");
    EXPECT_EQ(StoredText(L"Atlas", L"CurrentVersion"), L"3.0");
}

TEST_F(Register, FewerThanThreeFieldsIsReportedAndNothingIsWritten) {
    for (const std::wstring argument : {L"/regLexicon=C:\\Books\\", L"/regLexicon"}) {
        ForgetHelpFile(L"Lexicon");
        const auto [box, exitCode] = RunAndAnswer(argument);
        EXPECT_EQ(box.text.rfind(L"Run-time error: Missing field", 0), 0u) << box.text;
        EXPECT_EQ(exitCode, 1u);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"Lexicon"), View::Bits64))
            << argument;
    }
}

TEST_F(Register, AFullWidthBackslashDoesNotBecomeAKeySeparator) {
    ASSERT_EQ(RunVarnholt(L"/regA\uff3cB=C:\\Books\\=1"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"A"), View::Bits64));
    EXPECT_EQ(StoredText(L"A?B", L"CurrentVersion"), L"1");
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
    ASSERT_TRUE(WriteFileBytes(path, ""));
}

// /run of the help file C:\Books\<name>-1049.chm with a viewer in front: the viewer's place
// and the file's folder are remembered under the name, the shell opens the file and the
// viewer is closed; the new viewer, in front, takes the remembered place once.
void RemembersTheViewerOpensTheFileAndMovesTheNextOne(const std::wstring& name) {
    const std::wstring file = L"C:\\Books\\" + name + L"-1049.chm";
    CreateHelpFile(file);
    const ChmRecorder recorder;
    TestWindowProcess viewer = StartViewer({100, 50, 900, 650});
    ASSERT_TRUE(viewer.Window());
    ASSERT_EQ(Place(viewer), "100,50,900,650");

    ASSERT_EQ(RunVarnholt(L"/run " + file), 0u);
    EXPECT_EQ(StoredText(name, L""), L" C:\\Books\\");
    EXPECT_EQ(StoredText(name, L"Rect"), L"100,50,800,600");
    const auto opened = recorder.Opened(10000);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find(L"\"" + file + L"\" 0"), std::wstring::npos) << opened[0];
    EXPECT_TRUE(viewer.WaitForExit(10000)) << "the old viewer got no WM_CLOSE";

    TestWindowProcess next = StartViewer({300, 300, 700, 600});
    ASSERT_TRUE(next.Window());
    ASSERT_EQ(RunVarnholt(L"/move" + name), 0u);
    EXPECT_EQ(Place(next), "100,50,900,650");
    EXPECT_EQ(StoredText(name, L"Rect"), L"");
}

TEST_F(Run, RemembersTheViewerOpensTheFileAndClosesTheViewer) {
    RemembersTheViewerOpensTheFileAndMovesTheNextOne(L"Atlas");
}

// Cyrillic help-file names under code page 1251: the keys carry them.
TEST_F(RussianLocalePlacement, CyrillicNamesNameTheirKeys) {
    ASSERT_EQ(GetACP(), 1251u);
    ASSERT_EQ(RunVarnholt(L"/reg" + Cyrillic + L"=C:\\\u041a\u043d\\=2.5"), 0u);
    const auto folder = ReadRawValue(HKEY_LOCAL_MACHINE, HelpFileKey(Cyrillic), L"", View::Bits64);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->bytes, StringBytes("C:\\\xCA\xED\\"));
    RemembersTheViewerOpensTheFileAndMovesTheNextOne(Cyrillic);
}

TEST_F(Run, AFileTheShellCannotOpenKeepsTheViewerAndItsPlace) {
    StoreText(L"Missing", L"Rect", "1,2,3,4");
    const ChmRecorder recorder;
    TestWindowProcess viewer = StartViewer({120, 80, 620, 480});
    ASSERT_TRUE(viewer.Window());
    const auto [box, exitCode] = RunAndAnswer(L"/run C:\\Books\\Nowhere\\Missing-7.chm");
    EXPECT_NE(box.text.find(L"\r\nC:\\Books\\Nowhere\\Missing-7.chm\r\n"), std::wstring::npos)
        << box.text;
    EXPECT_EQ(exitCode, 1u);
    EXPECT_EQ(StoredText(L"Missing", L"Rect"), L"1,2,3,4");
    EXPECT_TRUE(viewer.Log().empty()) << "the viewer was closed";
    EXPECT_TRUE(recorder.Opened(500).empty());
}

TEST_F(Run, AViewerGoneBeforeItsPlaceIsReadLeavesRectAsItWas) {
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
}

TEST_F(Run, FileNameWithoutExtensionEndsTheRunBeforeAnything) {
    const ChmRecorder recorder;
    TestWindowProcess viewer = StartViewer({100, 100, 500, 400});
    ASSERT_TRUE(viewer.Window());
    const auto [box, exitCode] = RunAndAnswer(L"/run C:\\Books.d\\Gazetteer");
    EXPECT_EQ(box.text.rfind(L"Run-time error: ", 0), 0u) << box.text;
    EXPECT_NE(box.text.find(L"C:\\Books.d\\Gazetteer"), std::wstring::npos) << box.text;
    EXPECT_EQ(exitCode, 1u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"Gazetteer"), View::Bits64));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L"Books"), View::Bits64));
    EXPECT_TRUE(viewer.Log().empty());
}

TEST_F(Run, NoViewerInFrontDoesNothing) {
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

// /move with the rectangle remembered for Atlas, the viewer at 200,200,600,500: the viewer
// in front takes the rectangle (a negative left included) and the text is emptied, so that
// a second /move finds it empty; the name keeps its leading blank; a text that is not four
// fields changes nothing, and a field that is not a number ends the run before the window
// moves; with no viewer in front nothing moves.
struct MoveCase {
    const char* name;
    std::string stored;
    std::wstring arguments = L"/moveAtlas";
    std::string place = "200,200,600,500"; // the viewer's after the run
    bool emptied = false;                  // the text after the run (or the one stored)
    bool refused = false;                  // a run-time error, and the exit code 1
    bool viewerInFront = true;             // otherwise a bystander is
};

const MoveCase MoveCases[] = {
    {"AppliesTheRememberedRectangleOnceNegativeLeftIncluded", "-8,20,800,600", L"/moveAtlas",
     "-8,20,792,620", true},
    {"TheNameKeepsItsLeadingBlank", "10,20,800,600", L"/move Atlas"},
    {"ARectOfThreeFieldsChangesNothing", "10,20,800"},
    {"AnEmptyRectChangesNothing", ""},
    {"ARectOfFiveFieldsChangesNothing", "1,2,3,4,5"},
    {"AFieldThatIsNotANumberEndsTheRunBeforeTheWindowMoves", "10,x,800,600", L"/moveAtlas",
     "200,200,600,500", false, true},
    {"NoViewerInFrontMovesNothing", "10,20,800,600", L"/moveAtlas", "200,200,600,500", false, false,
     false},
};

void PrintTo(const MoveCase& c, std::ostream* out) {
    *out << c.name;
}

class Move : public HelpFileRecords, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(Move, TheRememberedRectangle) {
    const MoveCase& c = GetParam();
    StoreText(L"Atlas", L"Rect", c.stored);
    TestWindowProcess viewer = StartViewer({200, 200, 600, 500}, c.viewerInFront);
    std::optional<TestWindowProcess> bystander;
    if (!c.viewerInFront)
        bystander.emplace(StartBystander(L"Placement bystander"));
    ASSERT_TRUE(viewer.Window() && (!bystander || bystander->Window()));
    const std::string before = bystander ? Place(*bystander) : "";
    if (c.refused) {
        const auto [box, exitCode] = RunAndAnswer(c.arguments);
        EXPECT_EQ(box.text.rfind(L"Run-time error: ", 0), 0u) << box.text;
        EXPECT_EQ(exitCode, 1u);
    } else {
        ASSERT_EQ(RunVarnholt(c.arguments), 0u);
    }
    EXPECT_EQ(Place(viewer), c.place);
    const std::string left = c.emptied ? "" : c.stored;
    EXPECT_EQ(StoredText(L"Atlas", L"Rect"), std::wstring(left.begin(), left.end()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HelpFileKey(L" Atlas"), View::Bits64));
    if (bystander) {
        EXPECT_EQ(Place(*bystander), before);
    }
    if (c.emptied) { // a second /move finds the empty text
        SetWindowPos(viewer.Window(), nullptr, 200, 200, 400, 300, SWP_NOZORDER);
        ASSERT_EQ(RunVarnholt(c.arguments), 0u);
        EXPECT_EQ(Place(viewer), "200,200,600,500");
    }
}

INSTANTIATE_TEST_SUITE_P(, Move, ::testing::ValuesIn(MoveCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
