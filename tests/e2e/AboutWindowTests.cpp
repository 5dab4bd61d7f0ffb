// The real Varnholt.exe showing its About window: what it says after asking the local test
// site, its geometry, the link to the setup, and how it closes. The window and its
// controls are read through Win32, as any other program would read them.
#include "about/AboutLayout.h"
#include "about/SiteCheck.h"
#include "tests/support/AboutScene.h"
#include "tests/support/DebugRun.h"
#include "tests/support/LinkRecorder.h"
#include "tests/support/Screenshot.h"
#include "tests/support/StandIn.h"
#include "tests/support/SystemColors.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/WindowText.h"
#include "platform/ComHandles.h"
#include "platform/UniqueBstr.h"
#include "platform/WindowUtil.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

const std::wstring Caption = MessageBoxCaption();
// A rectangle in the client coordinates of parent.
RECT RectIn(HWND window, HWND parent) {
    RECT rect = WindowRect(window);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The lowest part of the text ends above OK: at the designed height when it fits there,
// otherwise the window has grown by exactly what was missing.
void ExpectEndsAboveOK(HWND window, HWND lowest, HWND ok, int designHeight) {
    const RECT part = RectIn(lowest, window);
    const RECT button = RectIn(ok, window);
    const RECT frame = WindowRect(window);
    EXPECT_LE(part.bottom, button.top);
    EXPECT_GE(frame.bottom - frame.top, designHeight);
    if (frame.bottom - frame.top > designHeight) {
        EXPECT_EQ(part.bottom, button.top) << "grown by more than was missing";
    }
}

Box BoxIn(HWND window, HWND parent) {
    const RECT rect = RectIn(window, parent);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The widest line of the message that the design writes as one line (all but the path),
// in the font the window asks for, at that scale.
int WidestOneLineLine(HWND window, int dpi) {
    const UniqueGdiObject font(CreateFontAt(
        FontDesign{L"MS Sans Serif", 8.25, FW_NORMAL, false, false, false, DEFAULT_CHARSET}, dpi));
    const std::vector<std::wstring> lines = Lines(TextOf(window));
    int widest = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != 4)
            widest =
                std::max(widest, static_cast<int>(MeasureText(window, font.get(), lines[i]).cx));
    }
    return widest;
}

// The window's boxes are the layout's for what the window shows at that scale: its frame,
// its link's line height, its message's lines and height, and the work area.
void ExpectLaidOut(HWND window, HWND message, HWND link, HWND icon, HWND ok, int dpi) {
    const RECT frame = WindowRect(window);
    const RECT work = WorkAreaOf(window);
    AboutLayoutInput in;
    in.widestLine = WidestOneLineLine(message, dpi);
    in.workArea = {work.right - work.left, work.bottom - work.top};
    in.dpi = dpi;
    in.frame = FrameExtent(window);
    in.lineHeight = BoxIn(link, window).height;
    in.linkVisible = IsWindowVisible(link) != FALSE;
    in.messageHeight = [&](int) { return BoxIn(message, window).height; };
    const AboutLayout layout = LayoutAboutWindow(in);
    EXPECT_EQ(frame.right - frame.left, layout.window.width);
    EXPECT_EQ(frame.bottom - frame.top, layout.window.height);
    EXPECT_EQ(BoxIn(icon, window), layout.icon);
    EXPECT_EQ(BoxIn(message, window), layout.message);
    EXPECT_EQ(BoxIn(link, window), layout.link);
    EXPECT_EQ(BoxIn(ok, window), layout.ok);
}

void SaveScreenshot(const AboutView& view, const wchar_t* name) {
    BringToFront(view.window);
    Sleep(300); // a picture for the README, not a check: time to paint
    EXPECT_TRUE(SavePng(CaptureScreen(view.frame), ScreenshotFolder() + L"\\" + name));
}

// Puts the pointer dx pixels from window's left edge (its middle when dx is negative),
// and waits until it or a child of it is the window under the pointer.
bool PointAt(HWND window, int dx) {
    const RECT rect = WindowRect(window);
    const POINT at{dx >= 0 ? rect.left + dx : (rect.left + rect.right) / 2,
                   (rect.top + rect.bottom) / 2};
    HWND seen = nullptr;
    if (WaitUntil(
            [&] {
                SetCursorPos(at.x, at.y);
                seen = WindowFromPoint(at);
                return seen == window || IsChild(window, seen);
            },
            10000))
        return true;
    const std::wstring name = ClassOf(seen);
    ADD_FAILURE() << "under the pointer: a window of class \""
                  << std::string(name.begin(), name.end()) << "\"";
    return false;
}

// Clicks there, once the pointer is over the window.
bool ClickOn(HWND window, int dx) {
    if (!PointAt(window, dx))
        return false;
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

// Presses the keys in order and lets them go in reverse (Shift+Tab: {VK_SHIFT, VK_TAB}).
void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs(2 * keys.size());
    std::size_t i = 0;
    for (const WORD key : keys) {
        INPUT& down = inputs[i];
        INPUT& up = inputs[inputs.size() - 1 - i++];
        down.type = up.type = INPUT_KEYBOARD;
        down.ki.wVk = up.ki.wVk = key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The longest run of link-blue pixels in any one row: an underline runs under the whole
// caption, while a letter is a few pixels wide.
int LongestBlueRun(HWND window) {
    const ScreenPixels pixels = CaptureScreen(WindowRect(window));
    int longest = 0;
    for (int y = 0; y < pixels.height; ++y) {
        int run = 0;
        for (int x = 0; x < pixels.width; ++x) {
            const std::uint32_t p = pixels.At(x, y);
            run = IsClearlyBlue(p) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

// Sets the display scale that Wine gives the programs started from now on, and puts the
// one before back.
ScopedRegistryValue DisplayScale(DWORD dpi) {
    return {HKEY_CURRENT_USER,
            L"Control Panel\\Desktop",
            L"LogPixels",
            REG_DWORD,
            {static_cast<std::uint8_t>(dpi), static_cast<std::uint8_t>(dpi >> 8),
             static_cast<std::uint8_t>(dpi >> 16), static_cast<std::uint8_t>(dpi >> 24)}};
}

// A copy of the program under another file name, in a folder of its own.
class CopiedProgram {
  public:
    explicit CopiedProgram(const std::wstring& fileName) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"varnholt-copy";
        CreateDirectoryW(folder_.c_str(), nullptr);
        path_ = folder_ + L"\\" + fileName;
        CopyFileW(VarnholtPath().c_str(), path_.c_str(), FALSE);
    }
    ~CopiedProgram() {
        WaitUntil([&] { return DeleteFileW(path_.c_str()) != FALSE; }, 5000, 100);
        RemoveDirectoryW(folder_.c_str());
    }
    const std::wstring& Folder() const { return folder_; }
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring folder_;
    std::wstring path_;
};

// A start of the client and what its About window then says of the newest version.
struct VersionCase {
    const char* name;
    SiteAnswer site;
    std::wstring says;                      // the window's last line
    std::vector<std::string> asked;         // the site's requests (those over https aside)
    std::wstring arguments = L"";           // the client's command line
    DWORD withinMs = 20000;                 // the window is up by then
    std::wstring copiedAs = L"";            // run as a copy of this file name
    std::wstring shownAs = L"Varnholt.exe"; // the copy's path ends so in the text
};

const std::string NewerNumber = ToUtf8(NextVersion());
const std::wstring Quirk = OlderByPartsButLargerAsNumber(); // 2.13 for 2.127
const std::vector<std::string> AskedOnce = {"/Rurivur/Varnholt.js"};
const std::string Spaces = std::string(30, ' ');

// What the site answers, as a maker's site, a broken one or anyone on the reader's network
// would (the site refuses a request without a User-Agent and, as a cache would, answers one
// that does not ask for a fresh answer with an old version file): only a version number of
// the site's ever shows. No server at all, one that never answers, and ones that trickle (a
// byte at a time: one a second with a length; every two seconds without one, or a chunk
// each: the body takes far longer than the download's 10 s) still give the window within
// the time limit. A /ver argument that is a version number is the newest version and no
// site is asked; no argument, a blank, "sion" of /version or more than a number names no
// version. Another extension of the program file is still shown as ".exe"; another name
// asks for its own version file but offers the same setup.
const VersionCase VersionCases[] = {
    {"Newer", {NextVersionFile + "Size=900;"}, Newer, AskedOnce},
    {"NewerQuoted", {"Version=\"" + NewerNumber + "\";Size=900;"}, Newer, AskedOnce},
    {"Same", {SameVersionFile + "Size=900;"}, UpToDate, AskedOnce},
    {"OlderByPartsLargerAsNumber", // none for a one-digit minor
     {"Version=" + ToUtf8(Quirk) + ";"},
     Quirk.empty() ? Unchecked : NewerLine(Quirk),
     AskedOnce},
    {"ErrorPageWithoutVersion", {"", 404}, Unchecked, AskedOnce},
    {"VersionAndMore",
     {"Version=" + NewerNumber + "\r\nSECURITY WARNING: call +1-555-0100\r\n;"},
     Unchecked,
     AskedOnce},
    {"Status404", {NextVersionFile, 404}, Unchecked, AskedOnce},
    {"Status500", {NextVersionFile, 500}, Unchecked, AskedOnce},
    {"RedirectToHttps", {NextVersionFile, 200, "redirect-to-https", true}, Newer, AskedOnce},
    {"RedirectToAStrangersCertificate",
     {NextVersionFile, 200, "redirect-to-https"},
     Unchecked,
     AskedOnce},
    {"LongerThanAVersion",
     {"Version=" + NewerNumber + std::string(57000, '0') + ";"},
     Unchecked,
     AskedOnce},
    {"NoServer", {NextVersionFile + Spaces, 200, "normal", false, 8000}, Unchecked, {}, L"", 30000},
    {"Silent", {NextVersionFile + Spaces, 200, "silent"}, Unchecked, AskedOnce, L"", 40000},
    {"Trickle", {NextVersionFile + Spaces, 200, "trickle"}, Unchecked, AskedOnce, L"", 40000},
    {"TrickleUnsized",
     {NextVersionFile + Spaces, 200, "trickle-unsized"},
     Unchecked,
     AskedOnce,
     L"",
     11000},
    {"TrickleChunked",
     {NextVersionFile + Spaces, 200, "trickle-chunked"},
     Unchecked,
     AskedOnce,
     L"",
     11000},
    {"VerNumber", {NextVersionFile}, NewerLine(L"2.5"), {}, L"/ver  2.5 "},
    {"VerOlderNumber", {NextVersionFile}, UpToDate, {}, L"/ver 1"},
    {"NoArguments", {NextVersionFile}, Newer, AskedOnce, L""},
    {"VerAlone", {NextVersionFile}, Newer, AskedOnce, L"/ver"},
    {"VerBlank", {NextVersionFile}, Newer, AskedOnce, L"/VER   "},
    {"Version", {NextVersionFile}, Newer, AskedOnce, L"/version"},
    {"VerNoNumber", {NextVersionFile}, Newer, AskedOnce, L"/ver x"},
    {"VerMoreThanANumber", {NextVersionFile}, Newer, AskedOnce, L"/ver 9.9 call 555"},
    {"AnotherExtension", {NextVersionFile}, Newer, AskedOnce, L"", 20000, L"Varnholt.bin"},
    {"AnotherName",
     {NextVersionFile, 200, "normal", false, 0, "Client2"},
     Newer,
     {"/Rurivur/Client2.js"},
     L"",
     20000,
     L"Client2.exe",
     L"Client2.exe"},
};

void PrintTo(const VersionCase& c, std::ostream* out) {
    *out << c.name;
}

class AboutVersionTest : public AboutWindowTest,
                         public ::testing::WithParamInterface<VersionCase> {};

// The window says it, the link to the setup below the text when it is newer, laid out
// for what it shows and on the screen.
TEST_P(AboutVersionTest, TheWindowSaysWhatTheSiteOrTheArgumentGives) {
    const VersionCase& c = GetParam();
    Answer(c.site);
    std::optional<CopiedProgram> copy;
    if (!c.copiedAs.empty())
        copy.emplace(c.copiedAs);
    const AboutView view = Open(c.arguments, c.withinMs, copy ? copy->Path() : VarnholtPath());
    ASSERT_TRUE(view.window) << "no window within " << c.withinMs << " ms";
    EXPECT_EQ(view.caption, Caption);
    EXPECT_EQ(view.text,
              AboutText(copy ? copy->Folder() + L"\\" + c.shownAs : VarnholtPath(), c.says));
    EXPECT_EQ(view.linkVisible, c.says.starts_with(L"Another"));
    EXPECT_TRUE(!view.linkVisible || view.linkCaption == TestSetupAddress);
    std::vector<std::string> asked = TestSiteRequests();
    std::erase_if(asked, [](const std::string& path) { return path.starts_with("https "); });
    EXPECT_EQ(asked, c.asked);
    ExpectLaidOut(view.window, view.message, view.link, view.icon, view.ok, 96);
    ExpectEndsAboveOK(view.window, view.linkVisible ? view.link : view.message, view.ok, 180);
    const RECT work = WorkAreaOf(view.window);
    const RECT ok = RectIn(view.ok, view.window);
    EXPECT_TRUE(view.frame.left >= work.left && view.frame.top >= work.top &&
                view.frame.right <= work.right && view.frame.bottom <= work.bottom &&
                ok.right <= view.client.right && ok.bottom <= view.client.bottom)
        << "the window or OK is off the screen";
    client.Kill();
    client.WaitForExit(5000); // before the copy goes
}

INSTANTIATE_TEST_SUITE_P(, AboutVersionTest, ::testing::ValuesIn(VersionCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The window says only that no answer came; a debugger hears where the check gave up.
TEST_F(AboutWindowTest, EachWayTheCheckGivesUpTellsADebuggerTheStepAndTheError) {
    const auto closeTheWindow = [](DWORD processId) {
        if (const HWND window = FindAboutWindow(processId))
            PostMessageW(window, WM_CLOSE, 0, 0);
    };
    const struct {
        std::function<void()> site;
        const char* says;
    } cases[] = {
        {[] { PauseTestSite(12000); }, "gave up at HttpSendRequest: error 12029"},
        {[] {
             EXPECT_TRUE(WaitForTestSite(20000));
             SetVersionFile("Varnholt", NextVersionFile + std::string(30, ' '));
             SetTestSiteMode("trickle-unsized");
         },
         "gave up at the time limit (10 s): error 12002"},
        {[] {
             SetTestSiteMode("normal");
             SetVersionFile("Varnholt", NextVersionFile + std::string(DownloadLimitBytes, ' '));
         },
         "gave up at the size limit (64 KiB): error 122"},
        {[] { SetVersionFile("Varnholt", NextVersionFile, 500); }, "gave up at the status: 500"},
        {[] { SetVersionFile("Varnholt", "Version=2.200 call +1-555-0100;"); },
         "gave up at the version file: no version number"},
    };
    for (const auto& c : cases) {
        c.site();
        const DebugRun run = RunUnderDebugger(VarnholtPath(), L"", closeTheWindow, 40000);
        EXPECT_EQ(run.exitCode, 0u) << c.says;
        EXPECT_EQ(run.debugOutput, "Varnholt update check " + std::string(c.says) + "\n");
    }
}

TEST_F(AboutWindowTest, SizesCaptionTextAndIconAtTheStandardScale) {
    SetVersionFile("Varnholt", SameVersionFile);
    const AboutView view = Open(L"");
    ASSERT_TRUE(view.window);
    EXPECT_EQ(view.caption, Caption);
    EXPECT_GE(view.frame.right - view.frame.left, 360);

    ASSERT_TRUE(view.ok);
    EXPECT_EQ(view.okText, L"OK");
    const RECT ok = RectIn(view.ok, view.window);
    EXPECT_EQ(ok.right - ok.left, 72);
    EXPECT_EQ(ok.bottom - ok.top, 24);
    EXPECT_EQ(view.client.right - ok.right, 10);
    EXPECT_EQ(view.client.bottom - ok.bottom, 10);

    ASSERT_TRUE(view.icon);
    const RECT icon = RectIn(view.icon, view.window);
    EXPECT_EQ(icon.left, 20);
    EXPECT_EQ(icon.top, 20);
    EXPECT_EQ(icon.right - icon.left, 32);
    EXPECT_EQ(icon.bottom - icon.top, 32);
    const RECT message = RectIn(view.message, view.window);
    EXPECT_EQ(message.left, 62);
    EXPECT_EQ(message.top, 20);
    EXPECT_EQ(message.right, view.client.right - 10);
    ExpectEndsAboveOK(view.window, view.message, view.ok, 180);
    ExpectLaidOut(view.window, view.message, view.link, view.icon, view.ok, 96);

    const LONG style = GetWindowLongW(view.window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ(GetWindow(view.window, GW_OWNER), nullptr);
    EXPECT_TRUE(GetWindowLongW(view.window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    const LONG messageStyle = GetWindowLongW(view.message, GWL_STYLE);
    EXPECT_TRUE(messageStyle & ES_MULTILINE);
    EXPECT_TRUE(messageStyle & ES_READONLY);
    EXPECT_FALSE(messageStyle & WS_BORDER);

    EXPECT_EQ(view.text, AboutText(VarnholtPath(), UpToDate));
}

TEST_F(AboutWindowTest, At150PercentEverySizeScalesAndTheTextStillFits) {
    SetVersionFile("Varnholt", NextVersionFile);
    AboutView view;
    {
        const ScopedRegistryValue scale = DisplayScale(144);
        view = Open(L"");
    }
    ASSERT_TRUE(view.window);
    EXPECT_GE(view.frame.right - view.frame.left, 540);
    ExpectEndsAboveOK(view.window, view.link, view.ok, 270);
    const RECT ok = RectIn(view.ok, view.window);
    EXPECT_EQ(ok.right - ok.left, 108);
    EXPECT_EQ(ok.bottom - ok.top, 36);
    EXPECT_EQ(view.client.right - ok.right, 15);
    EXPECT_EQ(view.client.bottom - ok.bottom, 15);
    const RECT icon = RectIn(view.icon, view.window);
    EXPECT_EQ(icon.left, 30);
    EXPECT_EQ(icon.right - icon.left, 48);
    // The text is measured in the scaled font: the link sits below all of it, inside the
    // window, and is as high as one line of that font.
    const RECT message = RectIn(view.message, view.window);
    const RECT link = RectIn(view.link, view.window);
    EXPECT_EQ(link.top, message.bottom);
    EXPECT_GT(link.bottom - link.top, 14);
    ExpectLaidOut(view.window, view.message, view.link, view.icon, view.ok, 144);
    EXPECT_EQ(view.LastLine(), Newer);
    SaveScreenshot(view, L"about-link-144dpi.png");
}

// Every line the design writes as one line stays one line in the font the window got,
// however much wider than the design's it draws.
TEST_F(AboutWindowTest, NoDesignedLineBreaksAndTheWindowIsAsWideAsTheyNeed) {
    SetVersionFile("Varnholt", SameVersionFile);
    const AboutView view = Open(L"");
    ASSERT_TRUE(view.window);
    const std::vector<std::wstring> lines = Lines(view.text);
    ASSERT_EQ(lines.size(), 7u);
    std::size_t start = 0;
    for (std::size_t i = 0; i < lines.size(); start += lines[i].size() + 2, ++i) {
        if (i == 4 || lines[i].empty())
            continue; // the program's path may wrap
        const auto lineOf = [&](std::size_t at) {
            return SendMessageW(view.message, EM_LINEFROMCHAR, at, 0);
        };
        EXPECT_EQ(lineOf(start), lineOf(start + lines[i].size() - 1))
            << "line " << i + 1 << " breaks";
    }
    // As wide as the widest line needs, and no wider.
    ExpectLaidOut(view.window, view.message, view.link, view.icon, view.ok, 96);
    const int widest = WidestOneLineLine(view.message, 96);
    const int width = view.frame.right - view.frame.left;
    EXPECT_EQ(width, std::max(360, 360 + widest - 282)) << "the widest line is " << widest;
    SaveScreenshot(view, L"about-window.png");
}

// Started under a high-contrast theme (Wine keeps no high-contrast flag, so its colours
// alone stand for it), the window is drawn in the theme's colours and the link in its
// hyperlink colour. (That the open window follows a change of colours is a Win32 test:
// Wine gives a running program no colours but the ones it read at its start.)
TEST_F(AboutWindowTest, UnderAHighContrastThemeTheLinkTakesTheThemesHyperlinkColour) {
    const SystemColorsSet highContrast(HighContrastBlack());
    const AboutView view = OpenWithLink();
    ASSERT_TRUE(view.window);
    SetCursorPos(1, 1);
    EXPECT_TRUE(WaitUntil([&] { return YellowPixels(view.link) > 20; }, 10000))
        << "the link is not drawn in the hyperlink colour";
    EXPECT_EQ(BluePixels(view.link), 0);
    SaveScreenshot(view, L"about-high-contrast.png");
}

TEST_F(AboutWindowTest, TheLinkUnderlinesUnderThePointerAndNotAfterItLeaves) {
    const AboutView view = OpenWithLink();
    ASSERT_TRUE(view.window);
    // Painted: its letters are blue.
    ASSERT_TRUE(WaitUntil([&] { return LongestBlueRun(view.link) > 0; }, 10000)) << "no link shown";
    const int plain = LongestBlueRun(view.link);
    EXPECT_LT(plain, 30) << "underlined before the pointer came";
    const RECT link = WindowRect(view.link);
    SetCursorPos(link.left + 20, (link.top + link.bottom) / 2);
    Sleep(50);
    SetCursorPos(link.left + 22, (link.top + link.bottom) / 2);
    EXPECT_TRUE(WaitUntil([&] { return LongestBlueRun(view.link) >= 60; }, 3000))
        << "no underline under the pointer";
    SetCursorPos(link.left + 20, link.top - 30);
    EXPECT_TRUE(WaitUntil([&] { return LongestBlueRun(view.link) < 30; }, 1500))
        << "the underline stayed after the pointer left";
}

// The window with the keyboard focus in another program's thread.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Pixels of the link's label's top row that are not the window's background: a focus
// frame draws there, the caption never does.
int MarkedTopPixels(HWND link) {
    const RECT rect = WindowRect(GetWindow(link, GW_CHILD));
    const ScreenPixels row = CaptureScreen({rect.left, rect.top, rect.right, rect.top + 1});
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t background =
        (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    int marked = 0;
    for (int x = 0; x < row.width; ++x)
        marked += row.At(x, 0) != background;
    return marked;
}

TEST_F(AboutWindowTest, TabGoesRoundMessageLinkAndOKAndEnterOrSpaceOnTheLinkOpensIt) {
    LinkRecorder recorder;
    std::size_t opened = 0;
    for (const WORD key : {VK_RETURN, VK_SPACE}) {
        const AboutView view = OpenWithLink();
        ASSERT_TRUE(view.window);
        const auto focusComesTo = [&](HWND wanted) {
            return WaitUntil([&] { return FocusOf(view.window) == wanted; }, 5000);
        };
        ASSERT_TRUE(focusComesTo(view.ok)) << "OK has no focus at first";
        for (const HWND next : {view.message, view.link, view.ok, view.message, view.link}) {
            PressKeys({VK_TAB});
            ASSERT_TRUE(focusComesTo(next))
                << "Tab: focus on class " << ClassOf(FocusOf(view.window)).size();
        }
        PressKeys({VK_SHIFT, VK_TAB});
        ASSERT_TRUE(focusComesTo(view.message)) << "Shift+Tab from the link";
        EXPECT_TRUE(WaitUntil([&] { return MarkedTopPixels(view.link) == 0; }, 5000));
        PressKeys({VK_TAB});
        ASSERT_TRUE(focusComesTo(view.link));
        EXPECT_TRUE(WaitUntil([&] { return MarkedTopPixels(view.link) > 4; }, 5000))
            << "the focused link is not marked";

        PressKeys({key});
        const auto links = recorder.WaitForLinks(++opened, 15000);
        ASSERT_EQ(links.size(), opened) << "the key opened nothing";
        EXPECT_NE(links.back().find(ToUtf8(TestSetupAddress)), std::string::npos) << links.back();
        EXPECT_TRUE(IsWindowVisible(view.window)) << "the key closed the window";
        client.Kill();
    }
}

// A screen reader asks the link from its own process, through the system's proxy.
TEST_F(AboutWindowTest, AScreenReaderHearsALinkNamedByItsAddressWhoseJumpOpensIt) {
    LinkRecorder recorder;
    const AboutView view = OpenWithLink();
    ASSERT_TRUE(view.window);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        ComPtr<IAccessible> link;
        ASSERT_EQ(AccessibleObjectFromWindow(view.link, OBJID_CLIENT, IID_IAccessible,
                                             reinterpret_cast<void**>(link.put())),
                  S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT role{};
        ASSERT_EQ(link->get_accRole(self, &role), S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_LINK);
        const auto text = [&](auto read) {
            UniqueBstr value;
            EXPECT_EQ((link.get()->*read)(self, value.put()), S_OK);
            return value ? std::wstring(value.get(), SysStringLen(value.get())) : L"";
        };
        EXPECT_EQ(text(&IAccessible::get_accName), TestSetupAddress);
        EXPECT_EQ(text(&IAccessible::get_accDefaultAction), L"Jump");
        VARIANT state{};
        ASSERT_EQ(link->get_accState(self, &state), S_OK);
        EXPECT_EQ(state.lVal &
                      (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSED),
                  STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED); // OK has the focus
        EXPECT_EQ(link->accDoDefaultAction(self), S_OK);
    }
    CoUninitialize();
    const auto links = recorder.WaitForLinks(1, 15000);
    ASSERT_EQ(links.size(), 1u) << "the default action opened nothing";
    EXPECT_NE(links[0].find(ToUtf8(TestSetupAddress)), std::string::npos) << links[0];
}

// Over the link, its tool tip shows the whole address (a narrow window ends it in "...").
TEST_F(AboutWindowTest, TheLinksToolTipIsTheWholeAddress) {
    const AboutView view = OpenWithLink();
    ASSERT_TRUE(view.window);
    ASSERT_TRUE(PointAt(view.link, 20));
    HWND tip = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (tip = FindWindowW(L"tooltips_class32", nullptr); tip;
                 tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(tip, &owner);
                if (owner == client.Id() && IsWindowVisible(tip))
                    return true;
            }
            return false;
        },
        10000))
        << "no tool tip shown";
    EXPECT_EQ(TextOf(tip), TestSetupAddress);
}

TEST_F(AboutWindowTest, ClickingTheLinkAsksTheShellToOpenTheSetupAddress) {
    LinkRecorder recorder;
    const AboutView view = OpenWithLink(NextVersionFile + "Size=900;");
    ASSERT_TRUE(view.window);
    ASSERT_TRUE(ClickOn(view.link, 20));
    const auto links = recorder.WaitForLinks(1, 15000);
    ASSERT_EQ(links.size(), 1u) << "the shell opened nothing";
    EXPECT_NE(links[0].find("\"http://127.0.0.1:18080/Rurivur/Varnholt_Setup.exe\""),
              std::string::npos)
        << links[0];
    EXPECT_EQ(links[0].substr(links[0].size() - 2), " 0") << links[0]; // the parameters
    EXPECT_EQ(client.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));    // the window stays
}

TEST_F(AboutWindowTest, ClosesWithOKEnterEscOrTheCloseButtonAndTheProgramEnds) {
    // Clicking OK.
    AboutView view = Open(L"/ver 1");
    ASSERT_TRUE(view.window);
    ASSERT_TRUE(BringToFront(view.window));
    ASSERT_TRUE(ClickOn(view.ok, -1));
    ExpectEnd();

    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        view = Open(L"/ver 1");
        ASSERT_TRUE(view.window);
        ASSERT_TRUE(BringToFront(view.window));
        PressKeys({key});
        ExpectEnd();
    }

    // The frame's close button.
    view = Open(L"/ver 1");
    ASSERT_TRUE(view.window);
    PostMessageW(view.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectEnd();
}

} // namespace
