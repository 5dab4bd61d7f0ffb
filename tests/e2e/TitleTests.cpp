// /title with the real Varnholt.exe against windows of TitleTestWindow processes: the
// retitle, the look-up by the old title, the second-instance prompt and its answers,
// and the guard between two copies of the client. The reset of the window menu that
// follows a retitle is checked in the Win32 tests on a window of the test process:
// Wine's GetSystemMenu(window, TRUE) shows no effect on another process's window.
#include "tests/support/BuildVersion.h"
#include "tests/support/DebugRun.h"
#include "tests/support/MessageBoxDriver.h"
#include "tests/support/Process.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/TestWindowProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

const std::wstring Caption = MessageBoxCaption();
const std::wstring PromptText =
    L"You have started the second instance of the dictionary.\r\n"
    L"\u2022 Click YES if you wish to close the previous instance.\r\n"
    L"\u2022 Click NO if you wish to close the newly opened instance.\r\n"
    L"\u2022 Click CANCEL if you wish to keep more than one instance.";

// Titles differ from test to test, so that a window a failed test left behind is
// never taken for a rival.
std::wstring Unique(const std::wstring& word) {
    static int counter = 0;
    return word + L"-" + std::to_wstring(GetCurrentProcessId() % 1000) + L"-" +
           std::to_wstring(++counter);
}

TestWindowProcess StartViewer(const std::wstring& title, bool foreground) {
    return StartTestWindow(L"HH Parent", title, foreground);
}

// A client started in the background; killed if a test leaves it running.
struct Client {
    ScopedProcess process;
    explicit Client(const std::wstring& arguments)
        : process(ChildProcess::Start(VarnholtPath(), arguments)) {}
    MessageBoxView WaitForPrompt(DWORD timeoutMs = 15000) {
        return WaitForMessageBox(process.Id(), Caption, timeoutMs);
    }
    DWORD Finish() { return process.Finish(15000); }
    // Its prompt came, was given the answer, and the client then ended with 0.
    ::testing::AssertionResult AnswersAndEnds(int answer) {
        const MessageBoxView prompt = WaitForPrompt();
        if (!prompt.window)
            return ::testing::AssertionFailure() << "no prompt";
        AnswerMessageBox(prompt.window, answer);
        if (const DWORD exitCode = Finish())
            return ::testing::AssertionFailure() << "the client ended with " << exitCode;
        return ::testing::AssertionSuccess();
    }
};

// The viewer's title once the client has run with arguments and ended.
std::wstring TitleAfter(const TestWindowProcess& viewer, const std::wstring& arguments) {
    if (const DWORD exitCode = RunVarnholt(arguments))
        return L"(the client ended with " + std::to_wstring(exitCode) + L")";
    return viewer.Title();
}

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Whether a is above b in the Z-order of the top-level windows.
bool IsAbove(HWND a, HWND b) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == a)
            return true;
        if (w == b)
            return false;
    }
    return false;
}

TEST(Title, ViewerIsFoundByItsOldTitleWhenNoneIsInFront) {
    const std::wstring old = Unique(L"Old");
    TestWindowProcess viewer = StartViewer(old, false);
    TestWindowProcess barred = StartViewer(L"B|C", false);
    TestWindowProcess bystander = StartBystander(Unique(L"Bystander"));
    ASSERT_TRUE(viewer.Window() && barred.Window() && bystander.Window());
    ASSERT_NE(GetForegroundWindow(), viewer.Window());
    ASSERT_NE(GetForegroundWindow(), barred.Window());

    // without "|" the viewer is never looked up by title
    EXPECT_EQ(TitleAfter(viewer, L"/title" + old), old);
    EXPECT_TRUE(viewer.LogLines(L"WM_SETTEXT").empty());

    const std::wstring fresh = Unique(L"New");
    EXPECT_EQ(TitleAfter(viewer, L"/title" + fresh + L"|" + old), fresh);
    // the old title must name a viewer window: a bystander titled so is not retitled
    const std::wstring bystanderTitle = bystander.Title();
    EXPECT_EQ(TitleAfter(bystander, L"/titleOther|" + bystanderTitle), bystanderTitle);
    EXPECT_TRUE(bystander.LogLines(L"WM_SETTEXT").empty());
    EXPECT_EQ(viewer.Title(), fresh);
    // the old title keeps its further bars: a viewer titled "B|C" is found by it
    EXPECT_EQ(TitleAfter(barred, L"/titleA|B|C"), L"A");
}

// The viewer in front takes the text after the switch up to the first bar, the blank after
// the switch included; a "/" inside a word is the title's ("/Ver" here opens no About
// window). Where no window is titled like either title there is no rival and no prompt.
TEST(Title, TheViewerInFrontTakesTheTextUpToTheFirstBar) {
    TestWindowProcess viewer = StartViewer(Unique(L"Start"), true);
    ASSERT_TRUE(viewer.Window());
    const std::wstring fresh = Unique(L"New");
    const std::pair<std::wstring, std::wstring> runs[] = {
        {L"/title New Title", L" New Title"},
        {L"/titleNew Title", L"New Title"},
        {L"/title Server/Verbindung", L" Server/Verbindung"},
        {L"/title|x", L""},
        {L"/title |x", L" "},
        {L"/titleA|B|C", L"A"},
        {L"/title" + fresh + L"|" + Unique(L"Old"), fresh},
    };
    for (const auto& [arguments, title] : runs)
        EXPECT_EQ(TitleAfter(viewer, arguments), title) << arguments;
    EXPECT_TRUE(Contains(viewer.Log(), L"WM_SETTEXT  New Title"));
}

TEST(Title, EmptyArgumentTouchesNoWindowAndDoesNotContactWmi) {
    const std::wstring title = Unique(L"Keep");
    TestWindowProcess viewer = StartViewer(title, true);
    ASSERT_TRUE(viewer.Window());
    const DebugRun quiet = RunUnderDebugger(VarnholtPath(), L"/title");
    EXPECT_EQ(quiet.exitCode, 0u);
    ASSERT_TRUE(HasDll(quiet.dllsAtLoad, L"user32.dll")) << "the DLL loads are not seen";
    EXPECT_FALSE(HasDll(quiet.dllsLater, L"wbemprox.dll"));
    EXPECT_EQ(viewer.Title(), title);
    EXPECT_TRUE(viewer.Log().empty());

    // any other argument connects to WMI, even when there is nothing to ask it
    const DebugRun asking = RunUnderDebugger(VarnholtPath(), L"/title" + title);
    EXPECT_EQ(asking.exitCode, 0u);
    EXPECT_TRUE(HasDll(asking.dllsLater, L"wbemprox.dll"));
}

// A viewer in front titled Old and a rival window of another class titled like one of
// the titles of the argument; when asked for, a second rival above it titled Old.
struct RivalScene {
    std::wstring oldTitle = Unique(L"Old");
    std::wstring newTitle = Unique(L"New");
    TestWindowProcess rival;
    std::optional<TestWindowProcess> upper;
    TestWindowProcess viewer;
    RivalScene(bool rivalHasNewTitle = true, bool secondRival = false)
        : rival(StartTestWindow(L"Rival", rivalHasNewTitle ? newTitle : oldTitle, false)),
          upper(secondRival ? std::optional(StartTestWindow(L"Rival", oldTitle, false))
                            : std::nullopt),
          viewer(StartViewer(oldTitle, true)) {}
    std::wstring Argument() const { return newTitle + L"|" + oldTitle; }
    bool Ready() const { return rival.Window() && (!upper || upper->Window()) && viewer.Window(); }
};

// The prompt's answer acts on the rival (of two, the lower one): Yes closes it and the
// viewer is retitled; No closes the viewer and brings the rival to the front; Cancel closes
// nothing and retitles. Any class titled like the old title is a rival too.
struct AnswerCase {
    const char* name;
    int answer;
    bool rivalHasNewTitle;
    bool secondRival = false;
};

const AnswerCase AnswerCases[] = {
    {"YesClosesTheRival", IDYES, true},
    {"NoClosesTheViewerAndBringsTheRivalToTheFront", IDNO, false},
    {"CancelRetitlesAndClosesNothing", IDCANCEL, true},
    {"OfTwoRivalsYesClosesTheLowerOne", IDYES, true, true},
    {"OfTwoRivalsNoBringsTheLowerOneToTheFront", IDNO, true, true},
};

void PrintTo(const AnswerCase& c, std::ostream* out) {
    *out << c.name;
}

class TitleAnswer : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(TitleAnswer, FourLinesYesNoCancelAndTheAnswerActsOnTheRival) {
    const AnswerCase& c = GetParam();
    RivalScene scene(c.rivalHasNewTitle, c.secondRival);
    ASSERT_TRUE(scene.Ready());
    ASSERT_TRUE(!scene.upper || IsAbove(scene.upper->Window(), scene.rival.Window()));
    const std::wstring rivalTitle = scene.rival.Title();
    Client client(L"/title" + scene.Argument());
    const MessageBoxView prompt = client.WaitForPrompt();
    ASSERT_TRUE(prompt.window);
    EXPECT_EQ(prompt.text, PromptText);
    EXPECT_EQ(prompt.icon, IDI_QUESTION);
    EXPECT_EQ(prompt.defaultButtonId, IDYES);
    EXPECT_EQ(prompt.buttons, (std::vector<std::wstring>{L"&Yes", L"&No", L"Cancel"}));
    // nothing happens while the question is open
    EXPECT_EQ(scene.viewer.Title(), scene.oldTitle);

    AnswerMessageBox(prompt.window, c.answer);
    EXPECT_EQ(client.Finish(), 0u);
    if (c.answer == IDYES) {
        EXPECT_TRUE(scene.rival.WaitForExit(10000)) << "the rival was not closed";
    } else {
        EXPECT_EQ(scene.rival.Title(), rivalTitle);
        EXPECT_TRUE(scene.rival.Log().empty());
    }
    if (c.answer == IDNO) {
        EXPECT_TRUE(scene.viewer.WaitForExit(10000)) << "the viewer was not closed";
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == scene.rival.Window(); }, 5000));
    } else {
        EXPECT_EQ(scene.viewer.Title(), scene.newTitle);
        EXPECT_FALSE(Contains(scene.viewer.Log(), L"WM_CLOSE"));
    }
    EXPECT_TRUE(!scene.upper || !Contains(scene.upper->Log(), L"WM_CLOSE"));
}

INSTANTIATE_TEST_SUITE_P(, TitleAnswer, ::testing::ValuesIn(AnswerCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Cyrillic titles under code page 1251: the viewer found by its old title, a rival
// titled like the new one, and the new title set.
TEST(RussianLocaleTitle, CyrillicTitlesFindTheViewerAndTheRival) {
    ASSERT_EQ(GetACP(), 1251u);
    const std::wstring oldTitle = Unique(L"\u0421\u0442\u0430\u0440\u044b\u0439");
    const std::wstring newTitle = Unique(L"\u041d\u043e\u0432\u044b\u0439");
    TestWindowProcess rival = StartTestWindow(L"Rival", newTitle, false);
    TestWindowProcess viewer = StartViewer(oldTitle, false);
    TestWindowProcess bystander = StartBystander(Unique(L"Bystander"));
    ASSERT_TRUE(rival.Window() && viewer.Window() && bystander.Window());
    Client client(L"/title" + newTitle + L"|" + oldTitle);
    ASSERT_TRUE(client.AnswersAndEnds(IDCANCEL)) << "the rival was not seen";
    EXPECT_EQ(viewer.Title(), newTitle);
    EXPECT_EQ(rival.Title(), newTitle);
}

// A rival titled like the old title, and a first copy of the client asking about it.
struct AskingScene : RivalScene {
    AskingScene() : RivalScene(false) {}
    Client first{L"/title" + Argument()};
    MessageBoxView prompt = first.WaitForPrompt();
    bool Ready() const { return RivalScene::Ready() && prompt.window; }
};

TEST(TitleGuard, SecondCopyWithTheSameTextRetitlesAtOnce) {
    AskingScene scene;
    ASSERT_TRUE(scene.Ready());

    // the first copy's prompt is in front: the second finds the viewer by its old title
    Client second(L"/title" + scene.Argument());
    EXPECT_EQ(second.Finish(), 0u) << "the second copy did not end: it asks too";
    EXPECT_TRUE(FindMessageBoxes(second.process.Id(), Caption).empty());
    EXPECT_EQ(scene.viewer.Title(), scene.newTitle);
    EXPECT_EQ(FindMessageBoxes(scene.first.process.Id(), Caption).size(), 1u);

    EXPECT_TRUE(scene.first.AnswersAndEnds(IDCANCEL));
    EXPECT_TRUE(scene.rival.Log().empty());
}

TEST(TitleGuard, CopyWithADifferentTextStillAsks) {
    AskingScene scene;
    ASSERT_TRUE(scene.Ready());

    Client second(L"/title" + Unique(L"Other") + L"|" + scene.oldTitle);
    EXPECT_TRUE(second.AnswersAndEnds(IDCANCEL)) << "the other copy's prompt suppressed this one";
    EXPECT_TRUE(scene.first.AnswersAndEnds(IDCANCEL));
    EXPECT_EQ(scene.viewer.Title(), scene.newTitle);
}

// Wine reads per-program DLL overrides from the registry: with WMI's DLL disabled for
// the client, its connection fails.
struct WmiDisabledForClient {
    const std::wstring key = L"Software\\Wine\\AppDefaults\\Varnholt.exe\\DllOverrides";
    WmiDisabledForClient() {
        SetRawValue(HKEY_CURRENT_USER, key, L"wbemprox", REG_SZ, StringBytes(""), View::Bits64);
        SetRawValue(HKEY_CURRENT_USER, key, L"wbemprox", REG_SZ, StringBytes(""), View::Bits32);
    }
    ~WmiDisabledForClient() {
        DeleteKeyTreeBothViews(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Varnholt.exe");
    }
};

TEST(TitleGuard, WmiOutOfReachCountsAsNoOtherCopy) {
    if (!RunningUnderWine())
        GTEST_SKIP() << "WMI is disabled for the client through Wine's DLL overrides";
    AskingScene scene;
    ASSERT_TRUE(scene.Ready());
    {
        const WmiDisabledForClient disabled;
        ASSERT_FALSE(HasDll(RunUnderDebugger(VarnholtPath(), L"/title" + Unique(L"x")).dllsLater,
                            L"wbemprox.dll"))
            << "WMI could not be disabled for the client";

        // the same text, but the first copy cannot be recognised: this copy asks too,
        // and goes on to retitle after the answer
        Client second(L"/title" + scene.Argument());
        ASSERT_TRUE(second.AnswersAndEnds(IDCANCEL));
        EXPECT_EQ(scene.viewer.Title(), scene.newTitle);
    }
    EXPECT_TRUE(scene.first.AnswersAndEnds(IDCANCEL));
}

TEST(TitleGuard, AnotherProgramsWindowCaptionedLikeTheClientIsNoCopy) {
    RivalScene scene(false);
    // a window captioned like the client's message boxes, of a process whose command line
    // ends like this run's: only its program file tells it from a copy of the client
    TestWindowOptions options;
    options.className = L"Impostor";
    options.title = Caption;
    options.trailingArguments = L"/title" + scene.Argument();
    TestWindowProcess impostor = TestWindowProcess::Start(options);
    ASSERT_TRUE(scene.Ready() && impostor.Window());

    Client client(L"/title" + scene.Argument());
    ASSERT_TRUE(client.AnswersAndEnds(IDCANCEL))
        << "the impostor was taken for a copy of the client";
    EXPECT_EQ(scene.viewer.Title(), scene.newTitle);
}

} // namespace
