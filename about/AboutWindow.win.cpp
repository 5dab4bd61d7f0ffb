// fwMain: the client's one window of its own. It names the client and its version, shows
// the program's path, runs the update check while it loads and offers the newer setup
// through a link.
#include "about/AboutWindow.h"

#include "about/AboutLayout.h"
#include "about/SiteCheck.h"
#include "about/UpdateCheck.h"
#include "platform/VersionText.h"
#include "platform/RunError.h"
#include "controls/LinkBox.h"
#include "platform/Dpi.h"
#include "platform/ProgramInfo.h"
#include "platform/WindowHandles.h"
#include "platform/WindowClass.h"
#include "platform/WindowUtil.h"
#include "text/TextSplit.h"

#include <algorithm>
#include <vector>

#include <memory>

#include <commctrl.h>

namespace {

constexpr wchar_t WindowClass[] = L"VarnholtAbout";
constexpr wchar_t PictureClass[] = L"VarnholtPicture";
constexpr int MessageId = 100;
constexpr int LinkBoxId = 101;
constexpr int IconId = 102;

// The window's one font, FontDesign's own: MS Sans Serif 8.25 pt regular, the classic
// dialog font (Windows substitutes its TrueType successor). The link stores it with its
// Cyrillic character set; the window's text, which the layout measures, takes the
// reader's.
const FontDesign DesignFont{};
const FontDesign WindowFont = [] {
    FontDesign font = DesignFont;
    font.charset = DEFAULT_CHARSET;
    return font;
}();

// The stored properties of tbLinkBox.
PropertyBag LinkBoxDesign() {
    PropertyBag bag;
    bag.Write(L"Alignment", L"0");
    bag.Write(L"AutoSize", L"False");
    bag.Write(L"BackColor", std::to_wstring(static_cast<std::int32_t>(ButtonFaceColor)));
    bag.Write(L"Caption", L"");
    bag.Write(L"CaptionIsPath", L"True");
    bag.Write(L"Enabled", L"True");
    bag.Write(L"Font", FontToText(DesignFont));
    bag.Write(L"ForeColor", std::to_wstring(LinkBlue));
    bag.Write(L"HotTracking", L"True");
    bag.Write(L"Path", L"");
    return bag;
}

// tbMsg is read-only and reads like a label: Tab and Shift+Tab move on from it, as from
// any other control, instead of being typed into it. Its text can still be selected.
LRESULT CALLBACK MessageTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, MessageTextProc, id);
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_GETDLGCODE)
        return result & ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
    return result;
}

// The information icon: the window's own and the one pbIcon shows. A shared system icon,
// never freed.
HICON InformationIcon() {
    return LoadIconW(nullptr, IDI_INFORMATION);
}

// pbIcon: a picture box that keeps what is drawn into it and repaints from that image.
class PictureBox {
  public:
    PictureBox() = default;
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;
    void Create(HWND parent, const Box& box) {
        RegisterWindowClass({.name = PictureClass, .proc = WindowProcOf<PictureBox>});
        window_.Create(0, PictureClass, L"", WS_CHILD | WS_VISIBLE, box.left, box.top, box.width,
                       box.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IconId)));
    }
    HWND Window() const { return window_.get(); }
    // A fresh image of the picture's size in the background colour.
    void Clear() {
        RECT client{};
        GetClientRect(window_.get(), &client);
        const WindowDc screen(window_.get());
        imageDc_.reset(CreateCompatibleDC(screen.get()));
        bitmap_.reset(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
        SelectObject(imageDc_.get(), bitmap_.get());
        FillRect(imageDc_.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
        InvalidateRect(window_.get(), nullptr, FALSE);
    }
    void DrawIconAt00(HICON icon) {
        RECT client{};
        GetClientRect(window_.get(), &client);
        // DrawIcon draws at the system icon size; the picture's own size fits every scale.
        DrawIconEx(imageDc_.get(), 0, 0, icon, client.right, client.bottom, 0, nullptr, DI_NORMAL);
        InvalidateRect(window_.get(), nullptr, FALSE);
    }

    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) {
            Paint();
            return 0;
        }
        if (message == WM_ERASEBKGND && imageDc_)
            return 1;
        return DefWindowProcW(window, message, wParam, lParam);
    }

  private:
    void Paint() {
        const PaintDc paint(window_.get());
        RECT client{};
        GetClientRect(window_.get(), &client);
        if (imageDc_)
            BitBlt(paint.get(), 0, 0, client.right, client.bottom, imageDc_.get(), 0, 0, SRCCOPY);
    }

    UniqueGdiObject bitmap_;
    UniqueMemoryDc imageDc_;                 // deleted before the bitmap it holds
    ObjectWindow<PictureBox> window_{*this}; // last: it goes first
};

class AboutWindow final : public LinkBoxHost {
  public:
    explicit AboutWindow(std::wstring latestVersion) : latestVersion_(std::move(latestVersion)) {}
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    void Create();
    void Show();
    bool IsOpen() const { return static_cast<bool>(window_); }
    HWND Handle() const { return window_.get(); }

    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    // tbLinkBox's events: Enter and Space open the link as a click does; its tool tip is
    // the whole address, which a narrow window shows cut short.
    void LinkKeyPress(LinkBox& link, std::int16_t keyAscii) override {
        if (keyAscii == L'\r' || keyAscii == L' ')
            link.PerformClick();
    }
    std::wstring LinkToolTipText(const LinkBox& link) const override { return link.Caption(); }

    void RunUpdateCheck();
    AboutLayout Layout() const;
    void CreateControls(const AboutLayout& layout);
    void Place(const AboutLayout& layout);
    void DrawInformationIcon();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnColorsChanged(UINT message, WPARAM wParam, LPARAM lParam);

    HWND tbMsg_ = nullptr; // children, destroyed with the window
    HWND bbOK_ = nullptr;
    PictureBox pbIcon_;
    std::unique_ptr<LinkBox> tbLinkBox_;
    UniqueGdiObject font_;
    int dpi_ = 96;
    std::wstring latestVersion_;
    std::wstring text_; // tbMsg's whole text
    bool linkShown_ = false;
    ObjectWindow<AboutWindow> window_{*this}; // last: the window and its controls go first
};

std::unique_ptr<AboutWindow> fwMain;

// The window, hidden; then the load logic in its order: the caption, the message and the
// update check's lines, and the controls at the boxes the layout gives them.
void AboutWindow::Create() {
    RegisterWindowClass({.name = WindowClass,
                         .proc = WindowProcOf<AboutWindow>,
                         .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                         .icon = InformationIcon()});
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    if (!window_.Create(exStyle, WindowClass, MessageCaption().c_str(), style, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr))
        throw RunError(ErrorKind::System, L"About window");
    dpi_ = WindowDpi(window_.get());
    font_ = CreateFontAt(WindowFont, dpi_);
    text_ = AboutMessageText(ProgramPath());
    RunUpdateCheck();
    const AboutLayout layout = Layout();
    ApplySize(window_.get(), layout.window.width, layout.window.height);
    CreateControls(layout);
}

void AboutWindow::RunUpdateCheck() {
    VersionAnswer answer = VersionAnswer::None;
    const bool askSite = latestVersion_.empty();
    if (askSite)
        // The reader's wait counts from the click that started the program.
        answer = CheckLatestVersion(VersionFileAddress(), VersionText(true), latestVersion_,
                                    nullptr, MsSinceProgramStart());
    const UpdateState state = DecideUpdate(askSite, answer, BuildVersion(), latestVersion_);
    text_ += UpdateMessageLines(state, latestVersion_);
    linkShown_ = state == UpdateState::Behind;
}

// Everything the layout reads is the window's own state, never a box it set before.
AboutLayout AboutWindow::Layout() const {
    AboutLayoutInput in;
    in.dpi = dpi_;
    in.frame = FrameExtent(window_.get());
    in.lineHeight = MeasureText(window_.get(), font_.get(), SetupAddress()).cy;
    in.linkVisible = linkShown_;
    // The text wraps where the edit control wraps it, so a long path is measured whole.
    in.messageHeight = [&](int width) {
        return MeasureText(window_.get(), font_.get(), text_, width).cy;
    };
    // Every line but the program's path (the fifth) is written as one line: a font wider
    // than the design's must not break it.
    const std::vector<std::wstring> lines = SplitText(text_, L"\r\n");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != 4)
            in.widestLine =
                std::max(in.widestLine,
                         static_cast<int>(MeasureText(window_.get(), font_.get(), lines[i]).cx));
    }
    const RECT work = WorkAreaOf(window_.get());
    in.workArea = {work.right - work.left, work.bottom - work.top};
    return LayoutAboutWindow(in);
}

void AboutWindow::CreateControls(const AboutLayout& layout) {
    const auto childId = [](int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); };
    pbIcon_.Create(window_.get(), layout.icon);
    DrawInformationIcon();
    const Box& message = layout.message;
    // A text cut short by the screen's height scrolls.
    const DWORD scroll = layout.messageCut ? WS_VSCROLL : 0;
    tbMsg_ =
        CreateWindowExW(0, L"EDIT", text_.c_str(),
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | scroll,
                        message.left, message.top, message.width, message.height, window_.get(),
                        childId(MessageId), Instance(), nullptr);
    SetWindowSubclass(tbMsg_, MessageTextProc, 0, 0);
    const Box& link = layout.link;
    tbLinkBox_ = std::make_unique<LinkBox>(window_.get(), LinkBoxId, link, *this);
    tbLinkBox_->Restore(LinkBoxDesign());
    if (linkShown_) {
        tbLinkBox_->SetCaption(SetupAddress());
        ShowWindow(tbLinkBox_->hWnd(), SW_SHOW);
    }
    const Box& ok = layout.ok;
    // After the link, so that OK is above it where the link reaches under it.
    bbOK_ = CreateWindowExW(0, L"BUTTON", L"OK",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, ok.left, ok.top,
                            ok.width, ok.height, window_.get(), childId(IDOK), Instance(), nullptr);
    SetWindowPos(bbOK_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND control : {tbMsg_, bbOK_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    // The text starts where the link below it starts: the layout leaves no margin.
    SendMessageW(tbMsg_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

// The boxes of a new layout for the controls there are (after a change of scale).
void AboutWindow::Place(const AboutLayout& layout) {
    ApplySize(window_.get(), layout.window.width, layout.window.height);
    MoveWindowTo(pbIcon_.Window(), layout.icon);
    MoveWindowTo(tbMsg_, layout.message);
    MoveWindowTo(tbLinkBox_->hWnd(), layout.link);
    MoveWindowTo(bbOK_, layout.ok);
}

void AboutWindow::DrawInformationIcon() {
    pbIcon_.Clear();
    pbIcon_.DrawIconAt00(InformationIcon());
}

void AboutWindow::Show() {
    // Centred on the work area of the monitor the window is on.
    RECT frame{};
    GetWindowRect(window_.get(), &frame);
    const RECT work = WorkAreaOf(window_.get());
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window_.get(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_.get(), SW_SHOW);
    SetForegroundWindow(window_.get());
    SetFocus(bbOK_);
}

void AboutWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    font_ = CreateFontAt(WindowFont, dpi_);
    for (HWND control : {tbMsg_, bbOK_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    SendMessageW(tbMsg_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Place(Layout());
    DrawInformationIcon(); // at the picture's new size
}

// A theme switched on or off, or colours or settings changed, while the window is open:
// everything is drawn again in the new colours, the icon's background too. Windows tells
// top-level windows only; the controls learn it from theirs.
void AboutWindow::OnColorsChanged(UINT message, WPARAM wParam, LPARAM lParam) {
    for (HWND child = GetWindow(window_.get(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, message, wParam, lParam);
    DrawInformationIcon();
    RedrawWindow(window_.get(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

LRESULT AboutWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // bbOK, Enter and Esc unload the window.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(window);
            return 0;
        }
        break;
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CTLCOLORSTATIC: {
        // The read-only text reads like a label: button-face background.
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        OnColorsChanged(message, wParam, lParam);
        return 0;
    case DpiChangedMessage:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        // The program's last window: its end ends the run.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void AboutCommand(const std::wstring& argument) {
    fwMain = std::make_unique<AboutWindow>(VersionNumberIn(argument));
    fwMain->Create();
    fwMain->Show();
}

bool AboutWindowIsOpen() {
    return fwMain && fwMain->IsOpen();
}

void CloseAboutWindow() {
    fwMain.reset();
    // The window's end asks the message loop to end; nothing is left to end.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

bool IsAboutWindowMessage(MSG& message) {
    return AboutWindowIsOpen() && IsDialogMessageW(fwMain->Handle(), &message);
}
