// The link control in a real host window: its property rules and change reports, its
// layout, the events it raises, the shell call of a click and hot tracking under the
// real mouse pointer.
#include "platform/RunError.h"
#include "controls/LinkBox.h"
#include "platform/WindowClass.h"
#include "tests/support/BuildVersion.h"
#include "tests/support/LinkRecorder.h"
#include "tests/support/MessageBoxDriver.h"
#include "tests/support/MessagePump.h"
#include "tests/support/RunErrorOf.h"
#include "tests/support/WindowText.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

namespace {

// The hosting window: records every event and change report it receives.
struct Host final : LinkBoxHost {
    std::vector<std::wstring> events;
    std::vector<std::wstring> reports;
    std::function<void()> onClick;
    std::wstring toolTip = L"Setup of the newer version";
    DWORD helpId = 4711;

    void LinkClick(LinkBox&) override {
        events.push_back(L"Click");
        if (onClick)
            onClick();
    }
    void LinkKeyDown(LinkBox&, std::int16_t key, std::int16_t shift) override {
        events.push_back(L"KeyDown " + std::to_wstring(key) + L" " + std::to_wstring(shift));
    }
    void LinkKeyUp(LinkBox&, std::int16_t key, std::int16_t) override {
        events.push_back(L"KeyUp " + std::to_wstring(key));
    }
    void LinkKeyPress(LinkBox&, std::int16_t ascii) override {
        events.push_back(L"KeyPress " + std::to_wstring(ascii));
    }
    void LinkMouseDown(LinkBox&, std::int16_t button, std::int16_t, float, float) override {
        events.push_back(L"MouseDown " + std::to_wstring(button));
    }
    void LinkMouseMove(LinkBox&, std::int16_t, std::int16_t, float, float) override {
        events.push_back(L"MouseMove");
    }
    void LinkMouseUp(LinkBox&, std::int16_t button, std::int16_t, float, float) override {
        events.push_back(L"MouseUp " + std::to_wstring(button));
    }
    void LinkPropertyChanged(LinkBox&, const std::wstring& name) override {
        reports.push_back(name);
    }
    std::wstring LinkToolTipText(const LinkBox&) const override { return toolTip; }
    DWORD LinkHelpId(const LinkBox&) const override { return helpId; }

    std::size_t Count(const std::wstring& event) const {
        return static_cast<std::size_t>(std::count(events.begin(), events.end(), event));
    }
};

class LinkBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateHostWindow();
        ASSERT_TRUE(window);
        link = std::make_unique<LinkBox>(window.get(), 7, Box{20, 30, 267, 19}, host);
        link->InitializeNew();
        ShowWindow(link->hWnd(), SW_SHOW);
        host.reports.clear();
        PumpFor(50);
    }
    void TearDown() override {
        link.reset();
        window.reset();
        SetCursorPos(1, 1);
    }
    // Moves the real pointer onto the label and away from it, in steps, as a hand would.
    void MoveCursorTo(int x, int y) {
        SetCursorPos(x, y);
        PumpFor(60);
    }
    void ClickAt(int x, int y) {
        MoveCursorTo(x, y);
        INPUT inputs[2]{};
        inputs[0].type = inputs[1].type = INPUT_MOUSE;
        inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, inputs, sizeof(INPUT));
        PumpFor(200);
    }
    POINT LabelCentre() const {
        const RECT rect = WindowRect(link->LabelWindow());
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    Host host;
    UniqueWindow window;
    std::unique_ptr<LinkBox> link;
};

TEST_F(LinkBoxTest, ANewInstanceIsBlueHotTrackingCaptionIsPathAndNotUnderlined) {
    EXPECT_EQ(link->ForeColor(), LinkBlue);
    EXPECT_EQ(link->BackColor(), ButtonFaceColor);
    EXPECT_TRUE(link->HotTracking());
    EXPECT_TRUE(link->CaptionIsPath());
    EXPECT_TRUE(link->Enabled());
    EXPECT_EQ(link->Font(), LabelDesignFont());
    EXPECT_FALSE(link->CaptionUnderlined());
    EXPECT_FALSE(link->HotTrackingTimerRunning());
    EXPECT_EQ(link->Caption(), L"");
    EXPECT_EQ(link->Path(), L"");
    EXPECT_EQ(link->Alignment(), 0);
    EXPECT_EQ(ClassOf(link->hWnd()), L"VarnholtLinkBox");
    EXPECT_EQ(GetParent(link->LabelWindow()), link->hWnd());
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(link->LabelWindow(), GCLP_HCURSOR)),
              LoadCursorW(nullptr, IDC_HAND));
    EXPECT_TRUE(GetWindowLongW(link->hWnd(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_NE(link->hDC(), nullptr);
    EXPECT_EQ(link->Version(), L" " + PaddedVersion());
}

TEST_F(LinkBoxTest, SettersReportTheirOwnNameOnlyWhenTheirRuleSaysSo) {
    link->SetCaption(L"http://a.example/x");
    link->SetCaption(L"http://a.example/x"); // same text: nothing
    link->SetCaption(L"HTTP://A.EXAMPLE/X"); // another case is another text
    EXPECT_EQ(host.reports, (std::vector<std::wstring>{L"Caption", L"Caption"}));
    EXPECT_EQ(TitleOf(link->LabelWindow()), L"HTTP://A.EXAMPLE/X");

    host.reports.clear();
    link->SetAlignment(0); // as it is: nothing
    link->SetAlignment(2);
    EXPECT_THROW(link->SetAlignment(3), RunError);
    EXPECT_EQ(link->Alignment(), 2);
    link->SetBackColor(ButtonFaceColor); // as it is: nothing
    link->SetBackColor(0x00FFFFFF);
    link->SetForeColor(LinkBlue); // always
    link->SetAutoSize(false);     // always
    link->SetCaptionIsPath(true);
    link->SetEnabled(true);
    link->SetHotTracking(true);
    link->SetPath(L"");
    EXPECT_EQ(host.reports,
              (std::vector<std::wstring>{L"Alignment", L"BackColor", L"ForeColor", L"AutoSize",
                                         L"CaptionIsPath", L"Enabled", L"HotTracking", L"Path"}));

    host.reports.clear();
    link->SetFont(link->Font()); // the very font it has: nothing
    LinkFont bold = LabelDesignFont();
    bold.weight = 700;
    link->SetFont(bold);
    EXPECT_EQ(host.reports, (std::vector<std::wstring>{L"Font"}));
    EXPECT_EQ(link->Font(), bold);
    EXPECT_TRUE(link->Font().underline);
    EXPECT_FALSE(link->CaptionUnderlined()); // hot tracking switches the label's off

    link->SetEnabled(false);
    EXPECT_FALSE(link->Enabled());
    EXPECT_FALSE(IsWindowEnabled(link->hWnd()));
}

TEST_F(LinkBoxTest, TheLabelFillsTheControlOrTheControlFitsTheLabel) {
    link->SetCaption(L"http://www.example.com/Rurivur/Varnholt_Setup.exe");
    RECT label = WindowRect(link->LabelWindow());
    RECT control = WindowRect(link->hWnd());
    EXPECT_EQ(label.left, control.left);
    EXPECT_EQ(label.top, control.top);
    EXPECT_EQ(label.right - label.left, 267);
    EXPECT_EQ(label.bottom - label.top, 19);

    link->SetAutoSize(true);
    label = WindowRect(link->LabelWindow());
    control = WindowRect(link->hWnd());
    const std::wstring caption = link->Caption();
    EXPECT_EQ(label.right - label.left, link->TextWidth(caption));
    EXPECT_EQ(label.bottom - label.top, link->TextHeight(caption));
    EXPECT_EQ(control.right - control.left, label.right - label.left);
    EXPECT_EQ(control.bottom - control.top, label.bottom - label.top);
    EXPECT_LT(link->TextWidth(L"ab"), link->TextWidth(L"abab"));
    EXPECT_GT(link->TextHeight(L"a\r\nb"), link->TextHeight(L"a"));
}

TEST_F(LinkBoxTest, ClickRaisesClickBeforeTheShellOpensTheCaption) {
    LinkRecorder recorder;
    link->SetCaption(L"http://127.0.0.1:18080/Rurivur/Varnholt_Setup.exe");
    link->SetPath(L"http://127.0.0.1:18080/not-this");
    std::size_t openedAtClick = 99;
    host.onClick = [&] { openedAtClick = recorder.OpenedLinks().size(); };
    const POINT centre = LabelCentre();
    ClickAt(centre.x, centre.y);
    EXPECT_EQ(host.Count(L"Click"), 1u);
    EXPECT_EQ(openedAtClick, 0u);
    // Down, up, then Click.
    const auto down = std::find(host.events.begin(), host.events.end(), L"MouseDown 1");
    const auto up = std::find(host.events.begin(), host.events.end(), L"MouseUp 1");
    const auto click = std::find(host.events.begin(), host.events.end(), L"Click");
    EXPECT_TRUE(down < up && up < click);
    const auto links = recorder.WaitForLinks(1, 10000);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_NE(links[0].find("\"http://127.0.0.1:18080/Rurivur/Varnholt_Setup.exe\""),
              std::string::npos)
        << links[0];
    // The shell passes the parameters "0" on to the handler.
    EXPECT_EQ(links[0].substr(links[0].size() - 2), " 0") << links[0];
}

TEST_F(LinkBoxTest, ACaptionWiderThanTheBoxEndsInAnEllipsisAndAClickOpensItWhole) {
    LinkRecorder recorder;
    const std::wstring address =
        L"http://127.0.0.1:18080/Rurivur/" + std::wstring(80, L'x') + L"/Varnholt_Setup.exe";
    link->SetCaption(address);
    const std::wstring shown = link->ShownCaption();
    ASSERT_GT(shown.size(), 3u);
    EXPECT_LT(shown.size(), address.size());
    EXPECT_EQ(shown.substr(shown.size() - 3), L"...") << shown.size();
    EXPECT_EQ(address.rfind(shown.substr(0, shown.size() - 3), 0), 0u);
    const POINT centre = LabelCentre();
    ClickAt(centre.x, centre.y);
    const auto links = recorder.WaitForLinks(1, 10000);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_NE(links[0].find(std::string(address.begin(), address.end())), std::string::npos);
    link->SetCaption(L"http://127.0.0.1:18080/short");
    EXPECT_EQ(link->ShownCaption(), L"http://127.0.0.1:18080/short");
}

TEST_F(LinkBoxTest, ClickOpensPathWhenTheCaptionIsNotThePathAndNothingWithoutOne) {
    LinkRecorder recorder;
    link->SetCaption(L"Download the setup");
    link->SetCaptionIsPath(false);
    link->SetPath(L"http://127.0.0.1:18080/path-target");
    const RECT control = WindowRect(link->hWnd());
    // Without auto-size the whole control is the link: a click near its right end counts.
    ClickAt(control.right - 3, control.top + 3);
    auto links = recorder.WaitForLinks(1, 10000);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_NE(links[0].find("path-target"), std::string::npos) << links[0];

    link->SetPath(L"");
    ClickAt(control.left + 3, control.top + 3);
    EXPECT_EQ(host.Count(L"Click"), 2u);
    PumpFor(1500);
    EXPECT_EQ(recorder.OpenedLinks().size(), 1u);
}

TEST_F(LinkBoxTest, AnErrorInAnEventStopsAtTheWindowAndWaitsForTheErrorReport) {
    host.onClick = [] { throw RunError(ErrorKind::InvalidArgument, L"from the host"); };
    // A click sent straight to the label, through the system's message call.
    EXPECT_NO_THROW(
        SendMessageW(link->LabelWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)));
    EXPECT_NO_THROW(SendMessageW(link->LabelWindow(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3)));
    EXPECT_EQ(host.Count(L"Click"), 1u);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the message loop was not asked to end";
    EXPECT_EQ(RunErrorOf([] { RethrowWindowError(); }).Detail(), L"from the host")
        << "the error was not kept";
    EXPECT_NO_THROW(RethrowWindowError()); // reported once
}

TEST_F(LinkBoxTest, KeysRaiseKeyEventsAndNeverOpenTheLink) {
    LinkRecorder recorder;
    link->SetCaption(L"http://127.0.0.1:18080/keys");
    SetFocus(link->hWnd());
    PumpFor(50);
    EXPECT_TRUE(link->CaptionUnderlined()); // the focus underlines
    SendMessageW(link->hWnd(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(link->hWnd(), WM_CHAR, L'\r', 0);
    SendMessageW(link->hWnd(), WM_KEYUP, VK_RETURN, 0);
    SendMessageW(link->hWnd(), WM_CHAR, L'a', 0);
    EXPECT_EQ(host.events, (std::vector<std::wstring>{L"KeyDown 13 0", L"KeyPress 13", L"KeyUp 13",
                                                      L"KeyPress 97"}));
    SetFocus(window.get());
    PumpFor(50);
    EXPECT_FALSE(link->CaptionUnderlined());
    PumpFor(1000);
    EXPECT_TRUE(recorder.OpenedLinks().empty());
}

TEST_F(LinkBoxTest, HotTrackingUnderlinesUnderThePointerAndStopsAfterItLeaves) {
    link->SetCaption(L"http://127.0.0.1:18080/hot");
    const RECT control = WindowRect(link->hWnd());
    const POINT centre = LabelCentre();
    MoveCursorTo(centre.x, centre.y);
    MoveCursorTo(centre.x + 2, centre.y);
    ASSERT_TRUE(PumpUntil([&] { return link->CaptionUnderlined(); }, 2000))
        << "no mouse move reached the label";
    EXPECT_TRUE(link->HotTrackingTimerRunning());
    EXPECT_GE(host.Count(L"MouseMove"), 1u);

    // GetWindowRect's right and bottom are outside the window, but they count as inside.
    SetCursorPos(control.right, control.bottom);
    PumpFor(400);
    EXPECT_TRUE(link->CaptionUnderlined());
    EXPECT_TRUE(link->HotTrackingTimerRunning());

    SetCursorPos(control.right + 1, control.bottom);
    EXPECT_TRUE(PumpUntil([&] { return !link->CaptionUnderlined(); }, 1500));
    EXPECT_FALSE(link->HotTrackingTimerRunning());
}

TEST_F(LinkBoxTest, WithoutHotTrackingThePointerLeavesTheUnderlineAsTheFontHasIt) {
    link->SetCaption(L"http://127.0.0.1:18080/cold");
    link->SetHotTracking(false);
    LinkFont underlined = LabelDesignFont();
    underlined.size = 9.75;
    link->SetFont(underlined); // without hot tracking the label keeps the underline
    LinkFont plain = underlined;
    plain.underline = false;
    const POINT centre = LabelCentre();
    MoveCursorTo(centre.x, centre.y);
    MoveCursorTo(centre.x + 2, centre.y);
    PumpFor(300);
    EXPECT_GE(host.Count(L"MouseMove"), 1u); // raised in every case
    EXPECT_TRUE(link->CaptionUnderlined());
    EXPECT_FALSE(link->HotTrackingTimerRunning());
    link->SetFont(plain);
    MoveCursorTo(centre.x - 2, centre.y);
    PumpFor(300);
    EXPECT_FALSE(link->CaptionUnderlined());
    EXPECT_FALSE(link->HotTrackingTimerRunning());
}

TEST_F(LinkBoxTest, SavedPropertiesComeBackInAFreshControl) {
    link->SetCaption(L"Setup");
    link->SetCaptionIsPath(false);
    link->SetPath(L"C:\\setup.exe");
    link->SetAlignment(1);
    link->SetBackColor(0x00E0E0E0);
    link->SetForeColor(0x00000080);
    LinkFont font{L"Arial", 10, 700, false, true, false, 204};
    link->SetFont(font);
    PropertyBag bag;
    link->Save(bag);
    ASSERT_EQ(bag.Entries().size(), 10u);

    Host other;
    LinkBox restored(window.get(), 8, Box{20, 60, 267, 19}, other);
    restored.Restore(bag);
    EXPECT_EQ(restored.Caption(), L"Setup");
    EXPECT_FALSE(restored.CaptionIsPath());
    EXPECT_EQ(restored.Path(), L"C:\\setup.exe");
    EXPECT_EQ(restored.Alignment(), 1);
    EXPECT_EQ(restored.BackColor(), 0x00E0E0E0u);
    EXPECT_EQ(restored.ForeColor(), 0x00000080u);
    EXPECT_EQ(restored.Font(), font);
    EXPECT_TRUE(restored.HotTracking());
    EXPECT_TRUE(restored.CaptionUnderlined()); // restored as stored, not switched off
    // Caption, AutoSize, CaptionIsPath and HotTracking go straight in: no report.
    EXPECT_EQ(other.reports, (std::vector<std::wstring>{L"Alignment", L"BackColor", L"Enabled",
                                                        L"Font", L"ForeColor", L"Path"}));
}

TEST_F(LinkBoxTest, ShowingCopiesTheHostsToolTipAndHelpIdOntoTheLabel) {
    ShowWindow(link->hWnd(), SW_HIDE);
    ShowWindow(link->hWnd(), SW_SHOW);
    EXPECT_EQ(link->LabelToolTipText(), L"Setup of the newer version");
    EXPECT_EQ(GetWindowContextHelpId(link->LabelWindow()), 4711u);
    link->SetToolTipText(L"other");
    EXPECT_EQ(link->LabelToolTipText(), L"other");
    link->SetToolTipText();
    EXPECT_EQ(link->LabelToolTipText(), L"Setup of the newer version");
}

TEST_F(LinkBoxTest, AboutBoxNamesTheProgramAndTheControlsVersion) {
    MessageBoxView box;
    std::thread reader([&] {
        box = WaitForMessageBox(GetCurrentProcessId(), L"About...", 10000);
        if (box.window)
            AnswerMessageBox(box.window, IDOK);
    });
    link->AboutBox();
    reader.join();
    ASSERT_TRUE(box.window);
    // This test program has no version resource, so no description comes first.
    EXPECT_EQ(box.text, L"\r\n\r\nVersion " + PaddedVersion());
    EXPECT_EQ(box.icon, IDI_INFORMATION);
    EXPECT_EQ(box.buttons, std::vector<std::wstring>{L"OK"});
}

} // namespace
