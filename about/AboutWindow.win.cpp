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
#include "platform/UniqueHandle.h"
#include "platform/WindowClass.h"

#include <memory>

namespace {

constexpr wchar_t WindowClass[] = L"VarnholtAbout";
constexpr wchar_t PictureClass[] = L"VarnholtPicture";
constexpr int MessageId = 100;
constexpr int LinkBoxId = 101;
constexpr int IconId = 102;

// Design geometry in twips (left, top, width, height); the load logic places everything
// again, and of this only the icon's size is kept.
constexpr Box DesignClient{0, 0, 5160, 2235};
constexpr Box DesignIcon{180, 150, 480, 480};
constexpr Box DesignMessage{855, 90, 4110, 1050};
constexpr Box DesignLinkBox{885, 1260, 4005, 285};
constexpr Box DesignOK{3750, 1710, 1200, 405};

// The stored properties of tbLinkBox.
PropertyBag LinkBoxDesign() {
    PropertyBag bag;
    bag.Write(L"Alignment", L"0");
    bag.Write(L"AutoSize", L"False");
    bag.Write(L"BackColor", std::to_wstring(static_cast<std::int32_t>(ButtonFaceColor)));
    bag.Write(L"Caption", L"");
    bag.Write(L"CaptionIsPath", L"True");
    bag.Write(L"Enabled", L"True");
    bag.Write(L"Font", FontToText(LinkFont{L"MS Sans Serif", 8.25, 400, false, false, false, 204}));
    bag.Write(L"ForeColor", std::to_wstring(LinkBlue));
    bag.Write(L"HotTracking", L"True");
    bag.Write(L"Path", L"");
    return bag;
}

// tbMsg is read-only and reads like a label: Tab and Shift+Tab move on from it, as from
// any other control, instead of being typed into it. Its text can still be selected.
WNDPROC editProc = nullptr;

LRESULT CALLBACK MessageBoxTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(editProc, window, message, wParam, lParam);
    if (message == WM_GETDLGCODE)
        return result & ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
    return result;
}

// The information icon: the window's own and the one pbIcon shows. A shared system icon,
// never freed.
HICON InformationIcon() {
    return LoadIconW(nullptr, IDI_INFORMATION);
}

void MoveWindowTo(HWND window, const Box& box) {
    SetWindowPos(window, nullptr, box.left, box.top, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Box PixelsOf(const Box& twips, int dpi) {
    return {TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
            TwipsToPixels(twips.width, dpi), TwipsToPixels(twips.height, dpi)};
}

// The window's font, the one its text is measured in: MS Sans Serif 8.25 pt, the
// classic dialog font (Windows substitutes its TrueType successor), at the window's scale.
UniqueGdiObject CreateWindowFont(int dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(825, dpi, 7200);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    return UniqueGdiObject(CreateFontIndirectW(&font));
}

// pbIcon: a picture box that keeps what is drawn into it and repaints from that image.
class PictureBox {
  public:
    void Create(HWND parent, const Box& box) {
        RegisterWindowClass({.name = PictureClass, .proc = Proc});
        window_ = CreateWindowExW(
            0, PictureClass, L"", WS_CHILD | WS_VISIBLE, box.left, box.top, box.width, box.height,
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IconId)), Instance(), this);
    }
    HWND Window() const { return window_; }
    // A fresh image of the picture's size in the background colour.
    void Clear() {
        RECT client{};
        GetClientRect(window_, &client);
        const WindowDc screen(window_);
        imageDc_.reset(CreateCompatibleDC(screen.get()));
        bitmap_.reset(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
        SelectObject(imageDc_.get(), bitmap_.get());
        FillRect(imageDc_.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
        InvalidateRect(window_, nullptr, FALSE);
    }
    void DrawIconAt00(HICON icon) {
        RECT client{};
        GetClientRect(window_, &client);
        // DrawIcon draws at the system icon size; the picture's own size fits every scale.
        DrawIconEx(imageDc_.get(), 0, 0, icon, client.right, client.bottom, 0, nullptr, DI_NORMAL);
        InvalidateRect(window_, nullptr, FALSE);
    }

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return HandleMessageGuarded([&]() -> LRESULT {
            auto* self = WindowObject<PictureBox>(window, message, lParam);
            if (message == WM_PAINT && self) {
                self->Paint();
                return 0;
            }
            if (message == WM_ERASEBKGND && self && self->imageDc_)
                return 1;
            return DefWindowProcW(window, message, wParam, lParam);
        });
    }
    void Paint() {
        const PaintDc paint(window_);
        RECT client{};
        GetClientRect(window_, &client);
        if (imageDc_)
            BitBlt(paint.get(), 0, 0, client.right, client.bottom, imageDc_.get(), 0, 0, SRCCOPY);
    }

    HWND window_ = nullptr; // child of the About window, destroyed with it
    UniqueGdiObject bitmap_;
    UniqueMemoryDc imageDc_; // deleted before the bitmap it holds
};

class AboutWindow final : public LinkBoxHost {
  public:
    explicit AboutWindow(std::wstring latestVersion) : latestVersion_(std::move(latestVersion)) {}
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    void Create();
    void Load();
    void Show();
    bool IsOpen() const { return static_cast<bool>(window_); }
    HWND Handle() const { return window_.get(); }

  private:
    // tbLinkBox's events: Enter and Space open the link as a click does; its tool tip is
    // the whole address, which a narrow window shows cut short.
    void LinkKeyPress(LinkBox& link, std::int16_t keyAscii) override {
        if (keyAscii == L'\r' || keyAscii == L' ')
            link.PerformClick();
    }
    std::wstring LinkToolTipText(const LinkBox& link) const override { return link.Caption(); }

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void DrawInformationIcon();
    void RunUpdateCheck();
    void LayOut();
    int MeasureText(const std::wstring& text, int width) const;

    UniqueWindow window_;
    HWND tbMsg_ = nullptr; // children, destroyed with the window
    HWND bbOK_ = nullptr;
    PictureBox pbIcon_;
    std::unique_ptr<LinkBox> tbLinkBox_;
    UniqueGdiObject font_;
    int dpi_ = 96;
    std::wstring latestVersion_;
    bool linkShown_ = false;
};

std::unique_ptr<AboutWindow> fwMain;

void AboutWindow::Create() {
    RegisterWindowClass({.name = WindowClass,
                         .proc = Proc,
                         .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                         .icon = InformationIcon()});
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    window_.reset(CreateWindowExW(exStyle, WindowClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, Instance(),
                                  this));
    if (!window_)
        throw RunError(ErrorKind::System, L"About window");
    dpi_ = WindowDpi(window_.get());
    RECT frame{0, 0, TwipsToPixels(DesignClient.width, dpi_),
               TwipsToPixels(DesignClient.height, dpi_)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    SetWindowPos(window_.get(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    font_ = CreateWindowFont(dpi_);

    pbIcon_.Create(window_.get(), PixelsOf(DesignIcon, dpi_));
    const Box message = PixelsOf(DesignMessage, dpi_);
    tbMsg_ = CreateWindowExW(
        0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY,
        message.left, message.top, message.width, message.height, window_.get(),
        reinterpret_cast<HMENU>(MessageId), Instance(), nullptr);
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(tbMsg_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageBoxTextProc)));
    const Box link = PixelsOf(DesignLinkBox, dpi_);
    tbLinkBox_ = std::make_unique<LinkBox>(
        window_.get(), LinkBoxId,
        RECT{link.left, link.top, link.left + link.width, link.top + link.height}, *this);
    tbLinkBox_->Restore(LinkBoxDesign());
    const Box ok = PixelsOf(DesignOK, dpi_);
    bbOK_ =
        CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        ok.left, ok.top, ok.width, ok.height, window_.get(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), Instance(), nullptr);
    for (HWND control : {tbMsg_, bbOK_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

// The load logic, in its order; the window is still hidden.
void AboutWindow::Load() {
    ApplySize(window_.get(), AboutWindowWidth(dpi_), AboutWindowHeight(dpi_));
    SetWindowTextW(window_.get(), MessageCaption().c_str());
    DrawInformationIcon();
    SetWindowTextW(tbMsg_, AboutMessageText(ProgramFolder(), ProgramName()).c_str());
    RunUpdateCheck();
    LayOut();
}

void AboutWindow::DrawInformationIcon() {
    pbIcon_.Clear();
    pbIcon_.DrawIconAt00(InformationIcon());
}

void AboutWindow::RunUpdateCheck() {
    std::int16_t outcome = -1;
    const bool askSite = latestVersion_.empty();
    if (askSite)
        // The reader's wait counts from the click that started the program.
        outcome = CheckLatestVersion(VersionFileAddress(), VersionText(true), latestVersion_,
                                     nullptr, MsSinceProgramStart());
    const UpdateState state = DecideUpdate(askSite, outcome, BuildVersion(), latestVersion_);
    const int length = GetWindowTextLengthW(tbMsg_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(tbMsg_, text.data(), length + 1)));
    text += UpdateMessageLines(state, latestVersion_);
    SetWindowTextW(tbMsg_, text.c_str());
    linkShown_ = state == UpdateState::Behind;
    if (linkShown_) {
        tbLinkBox_->SetCaption(SetupAddress());
        ShowWindow(tbLinkBox_->hWnd(), SW_SHOW);
    } else {
        ShowWindow(tbLinkBox_->hWnd(), SW_HIDE);
    }
}

int AboutWindow::MeasureText(const std::wstring& text, int width) const {
    const WindowDc dc(window_.get());
    const SelectedObject font(dc.get(), font_.get());
    RECT rect{0, 0, width, 0};
    const UINT wrap = width > 0 ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
    const std::wstring measured = text.empty() ? L" " : text;
    return DrawTextW(dc.get(), measured.c_str(), static_cast<int>(measured.size()), &rect,
                     DT_CALCRECT | DT_NOPREFIX | wrap);
}

void AboutWindow::LayOut() {
    RECT client{};
    GetClientRect(window_.get(), &client);
    const int length = GetWindowTextLengthW(tbMsg_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(tbMsg_, text.data(), length + 1)));
    const DWORD margins = static_cast<DWORD>(SendMessageW(tbMsg_, EM_GETMARGINS, 0, 0));
    const int marginWidth = LOWORD(margins) + HIWORD(margins);

    AboutLayoutInput in;
    in.dpi = dpi_;
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;
    // The picture keeps its design size, at the window's scale.
    in.icon = PixelsOf(DesignIcon, dpi_);
    in.lineHeight = MeasureText(tbLinkBox_->Caption(), 0);
    in.linkVisible = linkShown_;
    // The text wraps where the edit control wraps it, so a long path is measured whole.
    in.messageHeight = [&](int width) { return MeasureText(text, width - marginWidth); };
    const AboutLayout layout = LayoutAboutWindow(in);
    // Taller by what the text misses above OK; OK's box is where the bottom edge then is.
    ApplySize(window_.get(), AboutWindowWidth(dpi_), AboutWindowHeight(dpi_) + layout.extraHeight);
    MoveWindowTo(pbIcon_.Window(), layout.icon);
    MoveWindowTo(tbMsg_, layout.message);
    MoveWindowTo(tbLinkBox_->hWnd(), layout.link);
    ApplySize(bbOK_, layout.ok.width, layout.ok.height);
    // Above the link, which may reach under it.
    SetWindowPos(bbOK_, HWND_TOP, layout.ok.left, layout.ok.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void AboutWindow::Show() {
    // Centred on the work area of the monitor the window is on.
    RECT frame{};
    GetWindowRect(window_.get(), &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_.get(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
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
    font_ = CreateWindowFont(dpi_);
    for (HWND control : {tbMsg_, bbOK_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ApplySize(window_.get(), AboutWindowWidth(dpi_), AboutWindowHeight(dpi_));
    LayOut();
    DrawInformationIcon(); // at the picture's new size
}

LRESULT CALLBACK AboutWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleMessageGuarded([&] {
        auto* self = WindowObject<AboutWindow>(window, message, lParam);
        if (!self || !self->window_)
            return DefWindowProcW(window, message, wParam, lParam);
        return self->OnMessage(message, wParam, lParam);
    });
}

LRESULT AboutWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_.get();
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
    case DpiChangedMessage:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        // The program's last window: its end ends the run.
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_.release();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void AboutCommand(const std::wstring& argument) {
    fwMain = std::make_unique<AboutWindow>(NewestVersionArgument(argument));
    fwMain->Create();
    fwMain->Load();
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
