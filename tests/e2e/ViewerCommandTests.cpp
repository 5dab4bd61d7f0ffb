// The real Varnholt.exe against the stand-in viewer: which of the viewer's windows gets
// which message, sent or posted, and what the viewer shows afterwards.
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

std::vector<ViewerLogEntry> MessagesTo(const StandIn& viewer, const std::wstring& window) {
    std::vector<ViewerLogEntry> found = viewer.Messages();
    std::erase_if(found, [&](const ViewerLogEntry& entry) { return entry.Window() != window; });
    return found;
}

std::wstring Describe(const std::vector<ViewerLogEntry>& entries) {
    std::wstring text;
    for (const ViewerLogEntry& entry : entries)
        text += entry.event + L" " + entry.Window() + L" " + entry.Field(L"delivery") + L" " +
                std::to_wstring(entry.WParam()) + L" " + std::to_wstring(entry.LParam()) + L"; ";
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

// The messages received are exactly these, in this order, each with an lParam of 0: the
// same, described as Describe does.
::testing::AssertionResult ReceivedExactly(const std::vector<ViewerLogEntry>& got,
                                           const std::vector<Expected>& expected) {
    std::wstring wanted;
    for (const Expected& e : expected)
        wanted += std::wstring(e.message) + L" " + e.window + (e.sent ? L" sent " : L" posted ") +
                  std::to_wstring(e.id) + L" 0; ";
    if (Describe(got) == wanted)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << ::testing::PrintToString(Describe(got))
                                         << ", wanted " << ::testing::PrintToString(wanted);
}

// The viewer has handled everything sent to it so far, and none of it was a message.
::testing::AssertionResult ReceivedNothing(StandIn& viewer) {
    if (!viewer.Settle())
        return ::testing::AssertionFailure() << "the stand-in handles no messages";
    const auto messages = viewer.Messages();
    if (messages.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << ::testing::PrintToString(Describe(messages));
}

// The text the clipboard holds, which it then holds no more.
std::wstring TakeClipboardText() {
    std::wstring text;
    WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 1000, 20);
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    EmptyClipboard();
    CloseClipboard();
    return text;
}

// Everything sent to the viewer so far is handled, and its window menu holds its own item
// (held "yes") or was reset ("no"). Wine's GetSystemMenu does nothing to another process's
// window, so there the menu is not looked at; the reset itself is checked in-process by
// the Win32 tests.
::testing::AssertionResult WindowMenuItem(StandIn& viewer, const std::wstring& held) {
    const auto mark = viewer.Settle();
    if (!mark)
        return ::testing::AssertionFailure() << "the stand-in handles no messages";
    if (RunningUnderWine() || mark->Field(L"menuitem") == held)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "menuitem=" << ToUtf8(mark->Field(L"menuitem"));
}

// /pane and /copy act on the viewer that was in front when the client started.

TEST(PaneCommand, ZeroNegativeMissingAndTextAllContract) {
    StandIn viewer(LeftPlace);
    const std::vector<std::wstring> commands = {L"/pane 0", L"/pane -3", L"/pane x", L"/pane",
                                                L"/pane 7"};
    for (const std::wstring& command : commands) {
        ASSERT_TRUE(viewer.InFront());
        EXPECT_EQ(RunVarnholt(command), 0u) << command;
    }
    std::vector<Expected> expected(commands.size() - 1,
                                   {L"main", L"WM_COMMAND", ContractPaneCommand, Sent});
    expected.push_back({L"main", L"WM_COMMAND", ExpandPaneCommand, Sent});
    EXPECT_TRUE(ReceivedExactly(viewer.Messages(), expected));
}

TEST(PaneCommand, PaneAndCopyDoNothingWhenAnotherWindowIsInFrontEvenWithTheCursorOnAViewer) {
    StandIn viewer(LeftPlace);
    StandIn other(RightPlace + L" --class \"Other Window\"");
    ASSERT_TRUE(other.InFront());
    ASSERT_TRUE(viewer.UnderPointer());

    EXPECT_EQ(RunVarnholt(L"/pane 1"), 0u);
    EXPECT_EQ(RunVarnholt(L"/copy"), 0u);
    EXPECT_TRUE(ReceivedNothing(viewer));
    EXPECT_TRUE(ReceivedNothing(other));
}

// Sent to the help control's text box, also when nothing is selected; the clipboard then
// holds its selection.
TEST(CopyCommand, SendsCopyToTheHelpControlTextBoxWithOrWithoutASelection) {
    const struct {
        const wchar_t* options;
        const wchar_t* copied; // what the clipboard holds then; nullptr: not looked at
    } rows[] = {{L" --edit-text \"alpha beta gamma\" --selection 6 10", L"beta"},
                {L" --selection 0 0", nullptr}};
    for (const auto& row : rows) {
        StandIn viewer(LeftPlace + row.options);
        ASSERT_TRUE(viewer.InFront()) << row.options;
        TakeClipboardText(); // an empty clipboard to start with
        EXPECT_EQ(RunVarnholt(L"/copy"), 0u);
        EXPECT_TRUE(ReceivedExactly(viewer.Messages(), {{L"edit", L"WM_COPY", 0, Sent}}));
        if (row.copied) {
            EXPECT_EQ(TakeClipboardText(), row.copied);
        }
    }
}

TEST(CopyCommand, NothingWhenTheChainIsBrokenAtAnyStep) {
    // Each variant still has a text box somewhere below the viewer, but not at the end of
    // the exact chain of direct children.
    const std::vector<std::wstring> variants = {
        L"--extra-level 1", L"--extra-level 2", L"--extra-level 3",  L"--extra-level 4",
        L"--extra-level 5", L"--nested",        L"--no-help-control"};
    for (const std::wstring& variant : variants) {
        StandIn viewer(LeftPlace + L" " + variant);
        ASSERT_TRUE(viewer.InFront()) << variant;
        EXPECT_EQ(RunVarnholt(L"/copy"), 0u) << variant;
        EXPECT_TRUE(ReceivedNothing(viewer)) << variant;
    }
}

// /stop /exit /jump /find act on the viewer under the cursor, whatever is in front.

TEST(StopCommand, PostsStopToTheViewerUnderTheCursorFromAnyWindowInsideIt) {
    StandIn viewer(LeftPlace);
    StandIn nested(RightPlace + L" --nested");
    ASSERT_TRUE(nested.InFront());

    // The HTML view, the help control's text box (five levels down), and the same inside a
    // viewer with an extra level.
    for (const auto& [target, window] :
         {std::pair{&viewer, L"html"}, std::pair{&viewer, L"edit"}, std::pair{&nested, L"html"},
          std::pair{&nested, L"edit"}}) {
        ASSERT_TRUE(target->UnderPointer(window, 30, 15)) << window;
        EXPECT_EQ(RunVarnholt(L"/stop"), 0u);
    }
    ASSERT_TRUE(viewer.Settle());
    ASSERT_TRUE(nested.Settle());
    for (const StandIn* target : {&viewer, &nested})
        EXPECT_TRUE(ReceivedExactly(target->Messages(),
                                    {{L"main", L"WM_COMMAND", StopLoadingCommand, Posted},
                                     {L"main", L"WM_COMMAND", StopLoadingCommand, Posted}}));
}

// /stop /jump /exit act on the top-level window under the cursor outside a viewer (an HTML
// Application's), but leave the desktop and the taskbar alone: a close posted to one of
// these would ask to shut Windows down.
TEST(StopCommand, StopExitAndJumpActOnTheTopLevelWindowUnderTheCursorButNotOnTheShell) {
    const std::wstring application = L"HTML Application Host Window Class";
    for (const std::wstring& windowClass :
         {application, std::wstring(L"Progman"), std::wstring(L"WorkerW"),
          std::wstring(L"Shell_TrayWnd"), std::wstring(L"Shell_SecondaryTrayWnd")}) {
        SCOPED_TRACE(ToUtf8(windowClass));
        const bool shell = windowClass != application;
        StandIn window(LeftPlace + L" --class \"" + windowClass + L"\"");
        ASSERT_TRUE(window.UnderPointer(L"edit", 30, 10));
        EXPECT_EQ(RunVarnholt(L"/stop"), 0u);
        EXPECT_EQ(RunVarnholt(L"/jump"), 0u);
        ASSERT_TRUE(WindowMenuItem(window, shell ? L"yes" : L"no"));
        EXPECT_EQ(RunVarnholt(L"/exit"), 0u);
        if (shell) {
            EXPECT_TRUE(ReceivedNothing(window));
            EXPECT_TRUE(WindowMenuItem(window, L"yes"));
            continue;
        }
        EXPECT_TRUE(window.Process().WaitForExit(15000));
        EXPECT_TRUE(ReceivedExactly(window.Messages(),
                                    {{L"main", L"WM_COMMAND", StopLoadingCommand, Posted},
                                     {L"main", L"WM_CLOSE", 0, Posted}}));
    }
}

TEST(ExitCommand, PostsCloseToTheViewerUnderTheCursorAndDoesNotWaitForIt) {
    StandIn bystander(RightPlace);
    // The viewer takes a long time to close once asked to.
    StandIn viewer(LeftPlace + L" --slow-close 4000");
    ASSERT_TRUE(bystander.InFront());
    ASSERT_TRUE(viewer.UnderPointer(L"edit", 5, 5));

    EXPECT_EQ(RunVarnholt(L"/exit"), 0u);
    EXPECT_EQ(viewer.Process().ExitCode(), static_cast<DWORD>(STILL_ACTIVE));

    ASSERT_TRUE(
        viewer.WaitFor([](const ViewerLogEntry& entry) { return entry.event == L"WM_CLOSE"; }));
    EXPECT_TRUE(viewer.Process().WaitForExit(15000));
    EXPECT_TRUE(ReceivedExactly(viewer.Messages(), {{L"main", L"WM_CLOSE", 0, Posted}}));
    EXPECT_TRUE(ReceivedNothing(bystander));
}

TEST(JumpCommand, SendsNoMessageAndResetsTheWindowMenuOfTheViewerUnderTheCursor) {
    StandIn viewer(LeftPlace);
    ASSERT_TRUE(viewer.Ready());
    const auto before = viewer.Settle();
    ASSERT_TRUE(before);
    ASSERT_EQ(before->Field(L"menuitem"), L"yes");
    ASSERT_TRUE(viewer.UnderPointer(L"edit", 30, 10));

    EXPECT_EQ(RunVarnholt(L"/jump"), 0u);
    ASSERT_TRUE(WindowMenuItem(viewer, L"no"));
    EXPECT_TRUE(viewer.Messages().empty()) << Describe(viewer.Messages());
}

// /find

// After the client has ended: the language request and the text in the search dialog's
// text box.
void ExpectSearchOpenedAndFilled(StandIn& viewer, const std::wstring& text) {
    ASSERT_TRUE(viewer.Settle());
    const auto edit = MessagesTo(viewer, L"searchedit");
    const auto first = [&](const std::wstring& event) {
        return std::find_if(edit.begin(), edit.end(),
                            [&](const auto& m) { return m.event == event; });
    };
    const auto settext = first(L"WM_SETTEXT"), request = first(L"WM_INPUTLANGCHANGEREQUEST");
    ASSERT_NE(request, edit.end()) << Describe(viewer.Messages());
    EXPECT_FALSE(request->Sent());
    EXPECT_EQ(request->WParam(), 0u);
    EXPECT_EQ(request->LParam(), viewer.Layout());
    EXPECT_EQ(TextOf(viewer.Window(L"searchedit")), text);
    if (text.empty()) {
        EXPECT_EQ(settext, edit.end());
    } else {
        ASSERT_NE(settext, edit.end());
        EXPECT_TRUE(settext->Sent());
        EXPECT_EQ(settext->WParam(), 0u);
        EXPECT_EQ(settext->Text(), text);
        // Posted before the text was sent: handled already, or still waiting then.
        EXPECT_TRUE(request < settext || settext->Field(L"queued").find(
                                             L"WM_INPUTLANGCHANGEREQUEST") != std::wstring::npos)
            << Describe(edit);
    }
}

void ExpectFindPostedToHtmlView(const StandIn& viewer) {
    EXPECT_TRUE(ReceivedExactly(MessagesTo(viewer, L"html"),
                                {{L"html", L"WM_COMMAND", OpenFindCommand, Posted},
                                 {L"html", L"WM_COMMAND", OpenFindFollowUpCommand, Posted}}));
}

// The search dialog opened and the text typed with its leading blank (a headword with "/"
// is searched for as it stands: "/Ver" in it is the text's); an empty text sets the
// language and types nothing; a dialog that opens late, or is open already while the HTML
// view opens none, is still found.
TEST(FindCommand, OpensTheSearchDialogAndTypesTheText) {
    const struct {
        const wchar_t* options;
        const wchar_t* typed; // after "/find", and so in the dialog's text box
        bool findPosted;
        std::size_t messages; // all the viewer gets; 0: not counted
    } rows[] = {{L"", L" abc", true, 4},
                {L"", L" Server/Verbindung", true, 4},
                {L"", L"", false, 0},
                {L" --search-delay 800", L" late words", false, 0},
                {L" --search-open --no-search", L" abc", true, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.options + std::wstring(L" /find") + row.typed));
        StandIn viewer(LeftPlace + row.options);
        ASSERT_TRUE(viewer.UnderPointer());
        EXPECT_EQ(RunVarnholt(L"/find" + std::wstring(row.typed)), 0u);
        ExpectSearchOpenedAndFilled(viewer, row.typed);
        if (row.findPosted)
            ExpectFindPostedToHtmlView(viewer);
        if (row.messages) {
            EXPECT_TRUE(MessagesTo(viewer, L"main").empty());
            EXPECT_EQ(viewer.Messages().size(), row.messages) << Describe(viewer.Messages());
        }
    }
}

TEST(FindCommand, NoDialogGivesUpSilentlyAfterAboutTwoSecondsWithoutSpinning) {
    StandIn viewer(LeftPlace + L" --no-search");
    ASSERT_TRUE(viewer.UnderPointer());

    ChildProcess client = ChildProcess::Start(VarnholtPath(), L"/find abc");
    EXPECT_TRUE(FindMessageBoxes(client.Id(), MessageBoxCaption()).empty());
    ASSERT_EQ(client.Finish(20000), 0u) << "0xFFFFFFFF: the client did not end";

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
    ASSERT_TRUE(other.InFront());
    ASSERT_TRUE(viewer.UnderPointer());

    EXPECT_EQ(RunVarnholt(L"/find abc"), 0u);
    EXPECT_TRUE(ReceivedNothing(other));
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
    ASSERT_TRUE(bystander.Ready() && viewer.InFront() && viewer.UnderPointer());
    // The viewer's own place: the pointer stays over it.
    ASSERT_TRUE(SetRawValue(HKEY_LOCAL_MACHINE, moveKey, L"Rect", REG_SZ,
                            StringBytes("40,60,560,420"), View::Bits64));
    ASSERT_TRUE(answering || viewer.StopAnswering());
    for (const auto& row : rows) {
        const bool noneInFront = std::wstring(row.command).ends_with(L"|Словарь");
        ASSERT_TRUE(!noneInFront || bystander.BringToFront());
        EXPECT_EQ(RunVarnholt(row.command, 15000), 0u) << row.command << " (0xFFFFFFFF: still ran)";
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
