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
#include "tests/support/TestFiles.h"
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

// A rectangle in the client coordinates of parent.
RECT RectIn(HWND window, HWND parent) {
    RECT rect = WindowRect(window);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
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
void ExpectLaidOut(const AboutView& view, int dpi) {
    const RECT frame = WindowRect(view.window);
    const RECT work = WorkAreaOf(view.window);
    AboutLayoutInput in;
    in.widestLine = WidestOneLineLine(view.message, dpi);
    in.workArea = {work.right - work.left, work.bottom - work.top};
    in.dpi = dpi;
    in.frame = FrameExtent(view.window);
    in.lineHeight = BoxIn(view.link, view.window).height;
    in.linkVisible = IsWindowVisible(view.link) != FALSE;
    in.messageHeight = [&](int) { return BoxIn(view.message, view.window).height; };
    const AboutLayout layout = LayoutAboutWindow(in);
    EXPECT_EQ(frame.right - frame.left, layout.window.width);
    EXPECT_EQ(frame.bottom - frame.top, layout.window.height);
    EXPECT_EQ(BoxIn(view.icon, view.window), layout.icon);
    EXPECT_EQ(BoxIn(view.message, view.window), layout.message);
    EXPECT_EQ(BoxIn(view.link, view.window), layout.link);
    EXPECT_EQ(BoxIn(view.ok, view.window), layout.ok);
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
bool PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs(2 * keys.size());
    std::size_t i = 0;
    for (const WORD key : keys) {
        INPUT& down = inputs[i];
        INPUT& up = inputs[inputs.size() - 1 - i++];
        down.type = up.type = INPUT_KEYBOARD;
        down.ki.wVk = up.ki.wVk = key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
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

// A copy of the program under another file name, in a folder of its own.
struct CopiedProgram {
    explicit CopiedProgram(const std::wstring& fileName) : path(folder.Path() + fileName) {
        CopyFileW(VarnholtPath().c_str(), path.c_str(), FALSE);
    }
    // The copy goes once the program that ran it has let go of it, then its folder.
    ~CopiedProgram() {
        WaitUntil([&] { return DeleteFileW(path.c_str()) != FALSE; }, 5000, 100);
    }
    const TemporaryFolder folder;
    const std::wstring path;
};

const std::string NewerNumber = ToUtf8(NextVersion());
const std::wstring Quirk = OlderByPartsButLargerAsNumber(); // 2.13 for 2.127
const std::vector<std::string> AskedOnce = {"/Rurivur/Varnholt.js"};
const std::string Spaces = std::string(30, ' ');

// A start of the client and what its About window then says of the newest version.
struct VersionCase {
    const char* name;
    SiteAnswer site;
    std::wstring says;                          // the window's last line
    std::wstring arguments = L"";               // the client's command line
    std::vector<std::string> asked = AskedOnce; // the site's requests (those over https aside)
    DWORD withinMs = 20000;                     // the window is up by then
    std::wstring copiedAs = L"";                // run as a copy of this file name
    std::wstring shownAs = L"Varnholt.exe";     // the copy's path ends so in the text
    int dpi = 96;                               // the display scale the client starts with
    const wchar_t* screenshot = nullptr;        // a picture of the window for the README
};

// The case, its window seen at that display scale and saved as a picture.
VersionCase Pictured(VersionCase c, int dpi, const wchar_t* screenshot) {
    c.dpi = dpi;
    c.screenshot = screenshot;
    return c;
}

// The newer version file, answered slowly in that mode.
SiteAnswer Slow(const char* mode) {
    return {NextVersionFile + Spaces, 200, mode};
}

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
    {"Newer", {NextVersionFile + "Size=900;"}, Newer},
    {"NewerQuoted", {"Version=\"" + NewerNumber + "\";Size=900;"}, Newer},
    Pictured({"Same", {SameVersionFile + "Size=900;"}, UpToDate}, 96, L"about-window.png"),
    Pictured({"NewerAt150Percent", {NextVersionFile}, Newer}, 144, L"about-link-144dpi.png"),
    {"OlderByPartsLargerAsNumber", // none for a one-digit minor
     {"Version=" + ToUtf8(Quirk) + ";"},
     Quirk.empty() ? Unchecked : NewerLine(Quirk)},
    {"ErrorPageWithoutVersion", {"", 404}, Unchecked},
    {"VersionAndMore",
     {"Version=" + NewerNumber + "\r\nSECURITY WARNING: call +1-555-0100\r\n;"},
     Unchecked},
    {"Status404", {NextVersionFile, 404}, Unchecked},
    {"Status500", {NextVersionFile, 500}, Unchecked},
    {"RedirectToHttps", {NextVersionFile, 200, "redirect-to-https", true}, Newer},
    {"RedirectToAStrangersCertificate", {NextVersionFile, 200, "redirect-to-https"}, Unchecked},
    {"LongerThanAVersion", {"Version=" + NewerNumber + std::string(57000, '0') + ";"}, Unchecked},
    {"NoServer", {NextVersionFile + Spaces, 200, "normal", false, 8000}, Unchecked, L"", {}, 30000},
    {"Silent", Slow("silent"), Unchecked, L"", AskedOnce, 40000},
    {"Trickle", Slow("trickle"), Unchecked, L"", AskedOnce, 40000},
    {"TrickleUnsized", Slow("trickle-unsized"), Unchecked, L"", AskedOnce, 11000},
    {"TrickleChunked", Slow("trickle-chunked"), Unchecked, L"", AskedOnce, 11000},
    {"VerNumber", {NextVersionFile}, NewerLine(L"2.5"), L"/ver  2.5 ", {}},
    {"VerOlderNumber", {NextVersionFile}, UpToDate, L"/ver 1", {}},
    {"NoArguments", {NextVersionFile}, Newer, L""},
    {"VerAlone", {NextVersionFile}, Newer, L"/ver"},
    {"VerBlank", {NextVersionFile}, Newer, L"/VER   "},
    {"Version", {NextVersionFile}, Newer, L"/version"},
    {"VerNoNumber", {NextVersionFile}, Newer, L"/ver x"},
    {"VerMoreThanANumber", {NextVersionFile}, Newer, L"/ver 9.9 call 555"},
    {"AnotherExtension", {NextVersionFile}, Newer, L"", AskedOnce, 20000, L"Varnholt.bin"},
    {"AnotherName",
     {NextVersionFile, 200, "normal", false, 0, "Client2"},
     Newer,
     L"",
     {"/Rurivur/Client2.js"},
     20000,
     L"Client2.exe",
     L"Client2.exe"},
};

void PrintTo(const VersionCase& c, std::ostream* out) {
    *out << c.name;
}

class AboutVersionTest : public AboutWindowTest,
                         public ::testing::WithParamInterface<VersionCase> {};

// The window says it, the link to the setup below the text when it is newer, laid out for
// what it shows at the display scale (every size of the design scaled, the text measured in
// the scaled font) and on the screen. Every line the design writes as one line stays one
// line in the font the window got, however much wider than the design's it draws.
TEST_P(AboutVersionTest, TheWindowSaysWhatTheSiteOrTheArgumentGives) {
    const VersionCase& c = GetParam();
    const auto px = [&](int pixels) { return MulDiv(pixels, c.dpi, 96); };
    Answer(c.site);
    std::optional<CopiedProgram> copy;
    if (!c.copiedAs.empty())
        copy.emplace(c.copiedAs);
    AboutView view;
    {
        // The display scale that Wine gives the programs started from now on.
        const ScopedRegistryValue scale(
            HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
            {static_cast<std::uint8_t>(c.dpi), static_cast<std::uint8_t>(c.dpi >> 8), 0, 0});
        view = Open(c.arguments, c.withinMs, copy ? copy->path : VarnholtPath());
    }
    ASSERT_TRUE(view.window) << "no window within " << c.withinMs << " ms";
    ASSERT_TRUE(view.ok && view.icon);
    EXPECT_EQ(view.caption, MessageBoxCaption());
    EXPECT_EQ(view.text,
              AboutText(copy ? copy->folder.Path() + c.shownAs : VarnholtPath(), c.says));
    EXPECT_EQ(view.LastLine(), c.says);
    EXPECT_EQ(view.linkVisible, c.says.starts_with(L"Another"));
    EXPECT_TRUE(!view.linkVisible || view.linkCaption == TestSetupAddress);
    std::vector<std::string> asked = TestSiteRequests();
    std::erase_if(asked, [](const std::string& path) { return path.starts_with("https "); });
    EXPECT_EQ(asked, c.asked);

    EXPECT_GE(view.frame.right - view.frame.left, px(360));
    EXPECT_EQ(view.okText, L"OK");
    const RECT ok = RectIn(view.ok, view.window);
    EXPECT_EQ(ok.right - ok.left, px(72));
    EXPECT_EQ(ok.bottom - ok.top, px(24));
    EXPECT_EQ(view.client.right - ok.right, px(10));
    EXPECT_EQ(view.client.bottom - ok.bottom, px(10));
    const RECT icon = RectIn(view.icon, view.window);
    EXPECT_EQ(icon.left, px(20));
    EXPECT_EQ(icon.top, px(20));
    EXPECT_EQ(icon.right - icon.left, px(32));
    EXPECT_EQ(icon.bottom - icon.top, px(32));
    const RECT message = RectIn(view.message, view.window);
    EXPECT_EQ(message.left, px(62));
    EXPECT_EQ(message.top, px(20));
    EXPECT_EQ(message.right, view.client.right - px(10));
    if (view.linkVisible) {
        // Below all of the text, and as high as one line of the scaled font.
        const RECT link = RectIn(view.link, view.window);
        EXPECT_EQ(link.top, message.bottom);
        if (c.dpi > 96) {
            EXPECT_GT(link.bottom - link.top, 14);
        }
    }
    ExpectLaidOut(view, c.dpi);
    // The lowest part of the text ends above OK: at the designed height when it fits there,
    // otherwise the window has grown by exactly what was missing.
    const RECT lowest = RectIn(view.linkVisible ? view.link : view.message, view.window);
    const RECT frame = WindowRect(view.window);
    EXPECT_LE(lowest.bottom, ok.top);
    EXPECT_GE(frame.bottom - frame.top, px(180));
    if (frame.bottom - frame.top > px(180)) {
        EXPECT_EQ(lowest.bottom, ok.top) << "grown by more than was missing";
    }
    const RECT work = WorkAreaOf(view.window);
    EXPECT_TRUE(view.frame.left >= work.left && view.frame.top >= work.top &&
                view.frame.right <= work.right && view.frame.bottom <= work.bottom &&
                ok.right <= view.client.right && ok.bottom <= view.client.bottom)
        << "the window or OK is off the screen";

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

    const std::vector<std::wstring> lines = Lines(view.text);
    EXPECT_EQ(lines.size(), 7u);
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
    if (c.dpi == 96) { // as wide as the widest line needs, and no wider
        const int widest = WidestOneLineLine(view.message, 96);
        EXPECT_EQ(view.frame.right - view.frame.left, std::max(360, 360 + widest - 282))
            << "the widest line is " << widest;
    }
    if (c.screenshot)
        SaveScreenshot(view, c.screenshot);
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
    const std::pair<SiteAnswer, const char*> cases[] = {
        {{"", 200, "normal", false, 12000}, "gave up at HttpSendRequest: error 12029"},
        {Slow("trickle-unsized"), "gave up at the time limit (10 s): error 12002"},
        {{NextVersionFile + std::string(DownloadLimitBytes, ' ')},
         "gave up at the size limit (64 KiB): error 122"},
        {{NextVersionFile, 500}, "gave up at the status: 500"},
        {{"Version=2.200 call +1-555-0100;"}, "gave up at the version file: no version number"},
    };
    for (const auto& [site, says] : cases) {
        Answer(site);
        const DebugRun run = RunUnderDebugger(VarnholtPath(), L"", closeTheWindow, 40000);
        EXPECT_EQ(run.exitCode, 0u) << says;
        EXPECT_EQ(run.debugOutput, "Varnholt update check " + std::string(says) + "\n");
    }
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

// Under the pointer the link underlines, and its tool tip shows the whole address (a narrow
// window ends it in "..."); the underline goes when the pointer leaves, and a click asks the
// shell to open the setup's address while the window stays.
TEST_F(AboutWindowTest, UnderThePointerTheLinkUnderlinesShowsItsAddressAndAClickOpensIt) {
    LinkRecorder recorder;
    const AboutView view = OpenWithLink(NextVersionFile + "Size=900;");
    ASSERT_TRUE(view.window);
    // Painted: its letters are blue.
    ASSERT_TRUE(WaitUntil([&] { return LongestBlueRun(view.link) > 0; }, 10000)) << "no link shown";
    EXPECT_LT(LongestBlueRun(view.link), 30) << "underlined before the pointer came";
    const RECT link = WindowRect(view.link);
    SetCursorPos(link.left + 20, (link.top + link.bottom) / 2);
    Sleep(50);
    SetCursorPos(link.left + 22, (link.top + link.bottom) / 2);
    EXPECT_TRUE(WaitUntil([&] { return LongestBlueRun(view.link) >= 60; }, 3000))
        << "no underline under the pointer";
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
    SetCursorPos(link.left + 20, link.top - 30);
    EXPECT_TRUE(WaitUntil([&] { return LongestBlueRun(view.link) < 30; }, 1500))
        << "the underline stayed after the pointer left";

    ASSERT_TRUE(ClickOn(view.link, 20));
    const auto links = recorder.WaitForLinks(1, 15000);
    ASSERT_EQ(links.size(), 1u) << "the shell opened nothing";
    EXPECT_NE(links[0].find("\"http://127.0.0.1:18080/Rurivur/Varnholt_Setup.exe\""),
              std::string::npos)
        << links[0];
    EXPECT_EQ(links[0].substr(links[0].size() - 2), " 0") << links[0]; // the parameters
    EXPECT_EQ(client.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));    // the window stays
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

TEST_F(AboutWindowTest, ClosesWithOKEnterEscOrTheCloseButtonAndTheProgramEnds) {
    const std::pair<const char*, std::function<bool(const AboutView&)>> closings[] = {
        {"clicking OK", [](const AboutView& view) { return ClickOn(view.ok, -1); }},
        {"Enter", [](const AboutView&) { return PressKeys({VK_RETURN}); }},
        {"Esc", [](const AboutView&) { return PressKeys({VK_ESCAPE}); }},
        {"the frame's close button",
         [](const AboutView& view) {
             return PostMessageW(view.window, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE;
         }},
    };
    for (const auto& [how, close] : closings) {
        SCOPED_TRACE(how);
        const AboutView view = Open(L"/ver 1");
        ASSERT_TRUE(view.window);
        ASSERT_TRUE(BringToFront(view.window));
        ASSERT_TRUE(close(view));
        ExpectEnd();
    }
}

} // namespace
