// The real Varnholt.exe against the stand-in viewer: which of the viewer's windows gets
// which message, sent or posted, and what the viewer shows afterwards.
#include "registry/ProductKey.h"
#include "tests/support/BuildVersion.h"
#include "tests/support/MessageBoxDriver.h"
#include "tests/support/Process.h"
#include "tests/support/StandIn.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/WindowText.h"
#include "viewer/ViewerCommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::wstring Caption = MessageBoxCaption();
// Where the stand-ins go: side by side, so that one can be in front while the cursor is
// over the other.
const std::wstring LeftPlace = L"--pos 40 60 560 420";
const std::wstring RightPlace = L"--pos 660 60 560 420";

// Runs the client to its end (it is killed after 20 s); the finished process stays
// readable for its exit code and times.
ChildProcess RunClient(const std::wstring& arguments) {
    ChildProcess client = ChildProcess::Start(VarnholtPath(), arguments);
    if (!client.WaitForExit(20000))
        client.Kill();
    return client;
}

std::vector<ViewerLogEntry> MessagesTo(const StandIn& viewer, const std::wstring& window) {
    std::vector<ViewerLogEntry> found;
    for (const ViewerLogEntry& entry : viewer.Messages()) {
        if (entry.Window() == window)
            found.push_back(entry);
    }
    return found;
}

std::wstring Describe(const std::vector<ViewerLogEntry>& entries) {
    std::wstring text;
    for (const ViewerLogEntry& entry : entries)
        text += entry.event + L" " + entry.Window() + L" " + entry.Field(L"delivery") + L" " +
                std::to_wstring(entry.WParam()) + L"; ";
    return text;
}

// One message a window of the viewer should receive: its role, the message, its id (the
// wParam; the lParam is 0) and whether it was sent or posted.
struct Expected {
    const wchar_t* window;
    const wchar_t* message;
    std::uint32_t id;
    bool sent;
};
constexpr bool Sent = true;
constexpr bool Posted = false;

// The messages received are exactly these, in this order.
::testing::AssertionResult ReceivedExactly(const std::vector<ViewerLogEntry>& got,
                                           const std::vector<Expected>& expected) {
    bool same = got.size() == expected.size();
    for (std::size_t i = 0; same && i < got.size(); ++i) {
        const Expected& e = expected[i];
        same = got[i].Window() == e.window && got[i].event == e.message &&
               got[i].WParam() == e.id && got[i].LParam() == 0 && got[i].Sent() == e.sent;
    }
    if (same)
        return ::testing::AssertionSuccess();
    std::wstring wanted;
    for (const Expected& e : expected)
        wanted += std::wstring(e.message) + L" " + e.window + (e.sent ? L" sent " : L" posted ") +
                  std::to_wstring(e.id) + L"; ";
    return ::testing::AssertionFailure() << "got " << ::testing::PrintToString(Describe(got))
                                         << ", wanted " << ::testing::PrintToString(wanted);
}

std::wstring ClipboardText() {
    std::wstring text;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void EmptyTheClipboard() {
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    EmptyClipboard();
    CloseClipboard();
}

// /pane and /copy act on the viewer that was in front when the client started.

TEST(PaneCommand, ZeroNegativeMissingAndTextAllContract) {
    StandIn viewer(LeftPlace);
    ASSERT_TRUE(viewer.Ready());
    const std::vector<std::wstring> commands = {L"/pane 0", L"/pane -3", L"/pane x", L"/pane",
                                                L"/pane 7"};
    for (const std::wstring& command : commands) {
        ASSERT_TRUE(viewer.BringToFront());
        EXPECT_EQ(RunClient(command).ExitCode(), 0u) << command;
    }
    std::vector<Expected> expected(commands.size() - 1,
                                   {L"main", L"WM_COMMAND", ContractPaneCommand, Sent});
    expected.push_back({L"main", L"WM_COMMAND", ExpandPaneCommand, Sent});
    EXPECT_TRUE(ReceivedExactly(viewer.Messages(), expected));
}

TEST(PaneCommand, PaneAndCopyDoNothingWhenAnotherWindowIsInFrontEvenWithTheCursorOnAViewer) {
    StandIn viewer(LeftPlace);
    StandIn other(RightPlace + L" --class \"Other Window\"");
    ASSERT_TRUE(viewer.Ready());
    ASSERT_TRUE(other.Ready());
    ASSERT_TRUE(other.BringToFront());
    ASSERT_TRUE(PutCursorOver(viewer.Window(L"html")));

    EXPECT_EQ(RunClient(L"/pane 1").ExitCode(), 0u);
    EXPECT_EQ(RunClient(L"/copy").ExitCode(), 0u);
    ASSERT_TRUE(viewer.Settle());
    ASSERT_TRUE(other.Settle());
    EXPECT_TRUE(viewer.Messages().empty()) << Describe(viewer.Messages());
    EXPECT_TRUE(other.Messages().empty()) << Describe(other.Messages());
}

TEST(CopyCommand, SendsCopyToTheHelpControlTextBoxAndTheClipboardHoldsItsSelection) {
    StandIn viewer(LeftPlace + L" --edit-text \"alpha beta gamma\" --selection 6 10");
    ASSERT_TRUE(viewer.Ready());
    ASSERT_TRUE(viewer.BringToFront());
    EmptyTheClipboard();

    EXPECT_EQ(RunClient(L"/copy").ExitCode(), 0u);
    EXPECT_TRUE(ReceivedExactly(viewer.Messages(), {{L"edit", L"WM_COPY", 0, Sent}}));
    EXPECT_EQ(ClipboardText(), L"beta");
}

TEST(CopyCommand, SendsCopyEvenWhenNothingIsSelected) {
    StandIn viewer(LeftPlace + L" --selection 0 0");
    ASSERT_TRUE(viewer.Ready());
    ASSERT_TRUE(viewer.BringToFront());

    EXPECT_EQ(RunClient(L"/copy").ExitCode(), 0u);
    EXPECT_TRUE(ReceivedExactly(viewer.Messages(), {{L"edit", L"WM_COPY", 0, Sent}}));
}

TEST(CopyCommand, NothingWhenTheChainIsBrokenAtAnyStep) {
    // Each variant still has a text box somewhere below the viewer, but not at the end of
    // the exact chain of direct children.
    const std::vector<std::wstring> variants = {
        L"--extra-level 1", L"--extra-level 2", L"--extra-level 3",  L"--extra-level 4",
        L"--extra-level 5", L"--nested",        L"--no-help-control"};
    for (const std::wstring& variant : variants) {
        StandIn viewer(LeftPlace + L" " + variant);
        ASSERT_TRUE(viewer.Ready()) << variant;
        ASSERT_TRUE(viewer.BringToFront()) << variant;
        EXPECT_EQ(RunClient(L"/copy").ExitCode(), 0u) << variant;
        ASSERT_TRUE(viewer.Settle()) << variant;
        EXPECT_TRUE(viewer.Messages().empty()) << variant << ": " << Describe(viewer.Messages());
    }
}

// /stop /exit /jump /find act on the viewer under the cursor, whatever is in front.

TEST(StopCommand, PostsStopToTheViewerUnderTheCursorFromAnyWindowInsideIt) {
    StandIn viewer(LeftPlace);
    StandIn nested(RightPlace + L" --nested");
    ASSERT_TRUE(viewer.Ready());
    ASSERT_TRUE(nested.Ready());
    ASSERT_TRUE(nested.BringToFront());

    struct Place {
        StandIn* viewer;
        const wchar_t* window;
    };
    // The HTML view, the help control's text box (five levels down), and the same inside a
    // viewer with an extra level.
    for (const Place place : {Place{&viewer, L"html"}, Place{&viewer, L"edit"},
                              Place{&nested, L"html"}, Place{&nested, L"edit"}}) {
        ASSERT_TRUE(PutCursorOver(place.viewer->Window(place.window), 30, 15)) << place.window;
        EXPECT_EQ(RunClient(L"/stop").ExitCode(), 0u);
    }
    ASSERT_TRUE(viewer.Settle());
    ASSERT_TRUE(nested.Settle());
    for (const StandIn* target : {&viewer, &nested})
        EXPECT_TRUE(ReceivedExactly(target->Messages(),
                                    {{L"main", L"WM_COMMAND", StopLoadingCommand, Posted},
                                     {L"main", L"WM_COMMAND", StopLoadingCommand, Posted}}));
}

TEST(StopCommand, StopExitAndJumpActOnTheTopLevelWindowUnderTheCursorOutsideAViewer) {
    StandIn application(LeftPlace + L" --class \"HTML Application Host Window Class\"");
    ASSERT_TRUE(application.Ready());
    ASSERT_TRUE(PutCursorOver(application.Window(L"edit"), 30, 10));

    EXPECT_EQ(RunClient(L"/stop").ExitCode(), 0u);
    EXPECT_EQ(RunClient(L"/jump").ExitCode(), 0u);
    const auto mark = application.Settle();
    ASSERT_TRUE(mark);
    if (!RunningUnderWine()) {
        EXPECT_EQ(mark->Field(L"menuitem"), L"no");
    }
    EXPECT_EQ(RunClient(L"/exit").ExitCode(), 0u);
    EXPECT_TRUE(application.Process().WaitForExit(15000));

    EXPECT_TRUE(ReceivedExactly(
        application.Messages(),
        {{L"main", L"WM_COMMAND", StopLoadingCommand, Posted}, {L"main", L"WM_CLOSE", 0, Posted}}));
}

TEST(StopCommand, StopExitAndJumpLeaveTheDesktopAndTheTaskbarAlone) {
    // A close posted to one of these would ask to shut Windows down.
    for (const wchar_t* shellClass :
         {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"}) {
        StandIn shell(LeftPlace + L" --class \"" + shellClass + L"\"");
        ASSERT_TRUE(shell.Ready()) << shellClass;
        ASSERT_TRUE(PutCursorOver(shell.Window(L"edit"), 30, 10)) << shellClass;
        for (const wchar_t* command : {L"/stop", L"/jump", L"/exit"})
            EXPECT_EQ(RunClient(command).ExitCode(), 0u) << command;
        const auto mark = shell.Settle();
        ASSERT_TRUE(mark) << shellClass;
        EXPECT_TRUE(shell.Messages().empty()) << Describe(shell.Messages());
        if (!RunningUnderWine()) { // Wine's reset of another process's menu does nothing
            EXPECT_EQ(mark->Field(L"menuitem"), L"yes");
        }
    }
}

TEST(ExitCommand, PostsCloseToTheViewerUnderTheCursorAndDoesNotWaitForIt) {
    StandIn bystander(RightPlace);
    // The viewer takes a long time to close once asked to.
    StandIn viewer(LeftPlace + L" --slow-close 4000");
    ASSERT_TRUE(viewer.Ready());
    ASSERT_TRUE(bystander.Ready());
    ASSERT_TRUE(bystander.BringToFront());
    ASSERT_TRUE(PutCursorOver(viewer.Window(L"edit"), 5, 5));

    const ChildProcess client = RunClient(L"/exit");
    EXPECT_EQ(client.ExitCode(), 0u);
    EXPECT_EQ(viewer.Process().ExitCode(), static_cast<DWORD>(STILL_ACTIVE));

    const auto close =
        viewer.WaitFor([](const ViewerLogEntry& entry) { return entry.event == L"WM_CLOSE"; });
    ASSERT_TRUE(close);
    EXPECT_EQ(close->Window(), L"main");
    EXPECT_FALSE(close->Sent());
    EXPECT_EQ(close->WParam(), 0u);
    EXPECT_EQ(close->LParam(), 0u);
    EXPECT_TRUE(viewer.Process().WaitForExit(15000));
    EXPECT_EQ(viewer.Messages().size(), 1u) << Describe(viewer.Messages());

    ASSERT_TRUE(bystander.Settle());
    EXPECT_TRUE(bystander.Messages().empty());
}

TEST(JumpCommand, SendsNoMessageAndResetsTheWindowMenuOfTheViewerUnderTheCursor) {
    StandIn viewer(LeftPlace);
    ASSERT_TRUE(viewer.Ready());
    const auto before = viewer.Settle();
    ASSERT_TRUE(before);
    ASSERT_EQ(before->Field(L"menuitem"), L"yes");
    ASSERT_TRUE(PutCursorOver(viewer.Window(L"edit"), 30, 10));

    EXPECT_EQ(RunClient(L"/jump").ExitCode(), 0u);
    const auto after = viewer.Settle();
    ASSERT_TRUE(after);
    EXPECT_TRUE(viewer.Messages().empty()) << Describe(viewer.Messages());
    // Wine's GetSystemMenu does nothing to another process's window; the reset itself is
    // checked in-process by the Win32 tests.
    if (!RunningUnderWine()) {
        EXPECT_EQ(after->Field(L"menuitem"), L"no");
    }
}

// /find

std::optional<ViewerLogEntry> FirstTo(const StandIn& viewer, const std::wstring& event,
                                      const std::wstring& window) {
    for (const ViewerLogEntry& entry : viewer.Messages()) {
        if (entry.event == event && entry.Window() == window)
            return entry;
    }
    return std::nullopt;
}

// After the client has ended: the language request and the text in the search dialog's
// text box.
void ExpectSearchOpenedAndFilled(StandIn& viewer, const std::wstring& text) {
    ASSERT_TRUE(viewer.Settle());
    const auto settext = FirstTo(viewer, L"WM_SETTEXT", L"searchedit");
    const auto request = FirstTo(viewer, L"WM_INPUTLANGCHANGEREQUEST", L"searchedit");
    ASSERT_TRUE(request) << Describe(viewer.Messages());
    EXPECT_FALSE(request->Sent());
    EXPECT_EQ(request->WParam(), 0u);
    EXPECT_EQ(request->LParam(), viewer.Layout());
    if (text.empty()) {
        EXPECT_FALSE(settext);
    } else {
        ASSERT_TRUE(settext);
        EXPECT_TRUE(settext->Sent());
        EXPECT_EQ(settext->WParam(), 0u);
        EXPECT_EQ(settext->Text(), text);
        EXPECT_EQ(TextOf(viewer.Window(L"searchedit")), text);
        // Posted before the text was sent: handled already, or still waiting then.
        const auto messages = viewer.Messages();
        const auto requestAt = std::find_if(messages.begin(), messages.end(), [](const auto& m) {
            return m.event == L"WM_INPUTLANGCHANGEREQUEST" && m.Window() == L"searchedit";
        });
        const auto settextAt = std::find_if(messages.begin(), messages.end(), [](const auto& m) {
            return m.event == L"WM_SETTEXT" && m.Window() == L"searchedit";
        });
        EXPECT_TRUE(requestAt < settextAt ||
                    settext->Field(L"queued").find(L"WM_INPUTLANGCHANGEREQUEST") !=
                        std::wstring::npos)
            << Describe(messages);
    }
}

void ExpectFindPostedToHtmlView(const StandIn& viewer) {
    EXPECT_TRUE(ReceivedExactly(MessagesTo(viewer, L"html"),
                                {{L"html", L"WM_COMMAND", OpenFindCommand, Posted},
                                 {L"html", L"WM_COMMAND", OpenFindFollowUpCommand, Posted}}));
}

// A headword with "/" is searched for as it stands: "/Ver" in it is the text's.
TEST(FindCommand, OpensTheSearchDialogAndTypesTheTextWithItsLeadingBlank) {
    for (const std::wstring text : {L" abc", L" Server/Verbindung"}) {
        StandIn viewer(LeftPlace);
        ASSERT_TRUE(viewer.Ready());
        ASSERT_TRUE(PutCursorOver(viewer.Window(L"html")));

        const ChildProcess client = RunClient(L"/find" + text);
        EXPECT_EQ(client.ExitCode(), 0u);
        ExpectSearchOpenedAndFilled(viewer, text);
        ExpectFindPostedToHtmlView(viewer);
        EXPECT_TRUE(MessagesTo(viewer, L"main").empty());
        EXPECT_EQ(viewer.Messages().size(), 4u) << Describe(viewer.Messages());
    }
}

TEST(FindCommand, EmptyTextSetsTheLanguageAndTypesNothing) {
    StandIn viewer(LeftPlace);
    ASSERT_TRUE(viewer.Ready());
    ASSERT_TRUE(PutCursorOver(viewer.Window(L"html")));

    EXPECT_EQ(RunClient(L"/find").ExitCode(), 0u);
    ExpectSearchOpenedAndFilled(viewer, L"");
    EXPECT_EQ(TextOf(viewer.Window(L"searchedit")), L"");
}

TEST(FindCommand, ADialogThatOpensLateIsStillFound) {
    StandIn viewer(LeftPlace + L" --search-delay 800");
    ASSERT_TRUE(viewer.Ready());
    ASSERT_TRUE(PutCursorOver(viewer.Window(L"html")));

    EXPECT_EQ(RunClient(L"/find late words").ExitCode(), 0u);
    ExpectSearchOpenedAndFilled(viewer, L" late words");
}

TEST(FindCommand, ADialogAlreadyOpenIsFound) {
    // The HTML view opens nothing: only the dialog that is there from the start can be
    // filled.
    StandIn viewer(LeftPlace + L" --search-open --no-search");
    ASSERT_TRUE(viewer.Ready());
    ASSERT_TRUE(PutCursorOver(viewer.Window(L"html")));

    EXPECT_EQ(RunClient(L"/find abc").ExitCode(), 0u);
    ExpectSearchOpenedAndFilled(viewer, L" abc");
    ExpectFindPostedToHtmlView(viewer);
}

TEST(FindCommand, NoDialogGivesUpSilentlyAfterAboutTwoSecondsWithoutSpinning) {
    StandIn viewer(LeftPlace + L" --no-search");
    ASSERT_TRUE(viewer.Ready());
    ASSERT_TRUE(PutCursorOver(viewer.Window(L"html")));

    ChildProcess client = ChildProcess::Start(VarnholtPath(), L"/find abc");
    EXPECT_TRUE(FindMessageBoxes(client.Id(), Caption).empty());
    ASSERT_TRUE(client.WaitForExit(20000));
    EXPECT_EQ(client.ExitCode(), 0u);

    const double wall = WallTimeMs(client);
    const double processor = ProcessorTimeMs(client);
    EXPECT_GE(wall, 1500);
    EXPECT_LE(wall, 6000);
    // Waiting asleep: a busy wait would keep a processor core at work the whole time.
    EXPECT_LT(processor, wall / 10) << "processor " << processor << " ms of " << wall << " ms";

    ASSERT_TRUE(viewer.Settle());
    ExpectFindPostedToHtmlView(viewer);
    EXPECT_EQ(viewer.Messages().size(), 2u) << Describe(viewer.Messages());
}

TEST(FindCommand, ADialogOwnedByAnotherViewerIsLeftAlone) {
    StandIn viewer(LeftPlace + L" --no-search");
    StandIn other(RightPlace + L" --search-open");
    ASSERT_TRUE(viewer.Ready());
    ASSERT_TRUE(other.Ready());
    ASSERT_TRUE(other.BringToFront());
    ASSERT_TRUE(PutCursorOver(viewer.Window(L"html")));

    EXPECT_EQ(RunClient(L"/find abc").ExitCode(), 0u);
    ASSERT_TRUE(other.Settle());
    EXPECT_TRUE(other.Messages().empty()) << Describe(other.Messages());
    ASSERT_TRUE(viewer.Settle());
    ExpectFindPostedToHtmlView(viewer);
}

// Every command against a viewer that answers: each message arrives as it always did, and
// text beyond the code page arrives whole (the dialog titled "Поиск" found, the viewer
// found by its Cyrillic title). Against one whose window thread has stopped answering (a
// page's long script, a help file on a stalled share): each command ends within its
// bound and exits 0, silently, as without a viewer.
void RunEveryCommandAgainstTheViewer(bool answering) {
    const std::wstring moveKey = HelpFileKey(VarnholtPath(), L"Unanswering");
    const struct {
        const wchar_t* command;
        Expected arrives; // the message the answering viewer gets; no window: none logged
        const wchar_t* text;
    } rows[] = {
        {L"/pane 1", {L"main", L"WM_COMMAND", ExpandPaneCommand, Sent}, L""},
        {L"/copy", {L"edit", L"WM_COPY", 0, Sent}, L""},
        {L"/find слово", {L"searchedit", L"WM_SETTEXT", 0, Sent}, L" слово"},
        {L"/find 辞書", {L"searchedit", L"WM_SETTEXT", 0, Sent}, L" 辞書"},
        {L"/titleСловарь|Old", {L"main", L"WM_SETTEXT", 0, Sent}, L"Словарь"},
        {L"/moveUnanswering", {}, L""},
        {L"/keyb 1049", {}, L""},
        {L"/title辞書|Словарь", {L"main", L"WM_SETTEXT", 0, Sent}, L"辞書"}, // none in front
        {L"/stop", {L"main", L"WM_COMMAND", StopLoadingCommand, Posted}, L""},
        {L"/jump", {}, L""},
        {L"/exit", {L"main", L"WM_CLOSE", 0, Posted}, L""}, // last: the viewer closes
    };
    StandIn viewer(LeftPlace + L" --search-open --search-title \"Поиск\"");
    StandIn bystander(RightPlace + L" --class \"Other Window\"");
    ASSERT_TRUE(viewer.Ready() && bystander.Ready() && viewer.BringToFront());
    ASSERT_TRUE(PutCursorOver(viewer.Window(L"html")));
    // The viewer's own place: the pointer stays over it.
    ASSERT_TRUE(SetRawValue(HKEY_LOCAL_MACHINE, moveKey, L"Rect", REG_SZ,
                            StringBytes("40,60,560,420"), View::Bits64));
    ASSERT_TRUE(answering || viewer.StopAnswering());
    for (const auto& row : rows) {
        const bool noneInFront = std::wstring(row.command).ends_with(L"|Словарь");
        ASSERT_TRUE(!noneInFront || bystander.BringToFront());
        ChildProcess client = ChildProcess::Start(VarnholtPath(), row.command);
        EXPECT_TRUE(client.WaitForExit(15000)) << row.command << " still runs";
        client.Kill();
        EXPECT_EQ(client.ExitCode(), 0u) << row.command;
        const Expected& e = row.arrives;
        EXPECT_TRUE(!answering || !e.window || viewer.WaitFor([&](const ViewerLogEntry& m) {
            return m.Window() == e.window && m.event == e.message && m.WParam() == e.id &&
                   m.Sent() == e.sent && m.Text() == row.text;
        })) << GetACP()
            << " " << row.command << ": " << Describe(viewer.Messages());
    }
    EXPECT_TRUE(!answering || viewer.Process().WaitForExit(15000)) << "/exit left it open";
    DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, moveKey);
}

// The code page of a German or English Windows, then Russian and Japanese ones.
TEST(EveryCommand, ArrivesWholeUnder1252AndEndsWithinItsBoundWhenTheViewerStopsAnswering) {
    ASSERT_EQ(GetACP(), 1252u);
    RunEveryCommandAgainstTheViewer(true);
    RunEveryCommandAgainstTheViewer(false);
}

TEST(RussianLocaleEveryCommand, ArrivesWholeUnder1251) {
    ASSERT_EQ(GetACP(), 1251u) << "run with LC_ALL=ru_RU.UTF-8";
    RunEveryCommandAgainstTheViewer(true);
}

TEST(JapaneseLocaleEveryCommand, ArrivesWholeUnder932) {
    ASSERT_EQ(GetACP(), 932u) << "run with LC_ALL=ja_JP.UTF-8";
    RunEveryCommandAgainstTheViewer(true);
}

} // namespace
