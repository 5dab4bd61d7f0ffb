#include "controls/LinkBox.h"

#include "platform/RunError.h"
#include "text/Numbers.h"
#include "controls/LinkBoxRules.h"
#include "platform/Dpi.h"
#include "platform/ProgramInfo.h"
#include "platform/Shell.h"
#include "platform/VersionText.h"
#include "platform/WindowClass.h"
#include "platform/WindowUtil.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>

namespace {

void RegisterClasses() {
    // hDC is the control's own, lasting device context
    RegisterWindowClass({.name = LinkBox::ClassName,
                         .proc = WindowProcOf<LinkBox>,
                         .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                         .style = CS_OWNDC});
    RegisterWindowClass(
        {.name = LinkBox::LabelClassName, .proc = WindowProcOf<LinkBox>, .cursor = IDC_HAND});
}

// 0x00BBGGRR, or a system colour when the top bit is set.
COLORREF ColorOf(std::uint32_t color) {
    if (color & 0x80000000u)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFF;
}

// The colours the link is drawn against, as the reader's theme has them now.
ReaderColors CurrentReaderColors() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    const bool high = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON);
    return {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_HOTLIGHT), GetSysColor(COLOR_WINDOWTEXT),
            GetSysColor(COLOR_GRAYTEXT), high};
}

// A dotted frame, as DrawFocusRect draws one, but in the link's own colour: the frame
// must stay as readable as the caption.
void DrawFocusFrame(HDC dc, const RECT& frame, COLORREF color) {
    LOGBRUSH brush{BS_SOLID, color, 0};
    const UniqueGdiObject pen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
    const SelectedObject selectedPen(dc, pen.get());
    const SelectedObject noFill(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
}

std::int16_t ShiftState() {
    std::int16_t shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= 2;
    if (GetKeyState(VK_MENU) < 0)
        shift |= 4;
    return shift;
}

// The buttons held during a move, or the one that went down or up.
std::int16_t ButtonOf(UINT message, WPARAM keys) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return 2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return 4;
    default:
        return static_cast<std::int16_t>(((keys & MK_LBUTTON) ? 1 : 0) |
                                         ((keys & MK_RBUTTON) ? 2 : 0) |
                                         ((keys & MK_MBUTTON) ? 4 : 0));
    }
}

} // namespace

LinkBox::LinkBox(HWND parent, int id, const Box& bounds, LinkBoxHost& host) : host_(host) {
    RegisterClasses();
    if (!window_.Create(0, ClassName, L"", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, bounds.left,
                        bounds.top, bounds.width, bounds.height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        throw RunError(ErrorKind::System, L"LinkBox");
    label_.Create(0, LabelClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_.get(),
                  nullptr);
    CreateFonts();
    Layout();
}

LRESULT LinkBox::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == label_.get())
        return OnLabelMessage(message, wParam, lParam);
    return OnControlMessage(message, wParam, lParam);
}

// The control's window went with its parent: its timer and tool tips went with it.
void LinkBox::OnWindowGone(const ObjectWindow<LinkBox>& gone) {
    if (&gone != &window_)
        return;
    timerRunning_ = false;
    toolTips_ = nullptr;
}

LRESULT LinkBox::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_.get();
    switch (message) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_TIMER:
        if (wParam == HotTrackingTimer)
            OnHotTrackingTick();
        return 0;
    case WM_SETFOCUS:
        if (hotTracking_)
            SetUnderline(true);
        InvalidateRect(label_.get(), nullptr, TRUE); // the focus mark
        return 0;
    case WM_KILLFOCUS:
        if (hotTracking_)
            SetUnderline(false);
        InvalidateRect(label_.get(), nullptr, TRUE);
        return 0;
    case WM_GETDLGCODE: {
        // Enter comes here as a key, not to the window's default button: the host opens
        // the link on it. Tab still moves on.
        const auto* pending = reinterpret_cast<const MSG*>(lParam);
        const bool enter = pending && pending->message == WM_KEYDOWN && wParam == VK_RETURN;
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case ClickMessage:
        OnClick();
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT answer = accessibility_.Answer(wParam, lParam))
            return answer;
        break;
    case WM_KEYDOWN:
        host_.LinkKeyDown(*this, static_cast<std::int16_t>(wParam), ShiftState());
        return 0;
    case WM_KEYUP:
        host_.LinkKeyUp(*this, static_cast<std::int16_t>(wParam), ShiftState());
        return 0;
    case WM_CHAR:
        host_.LinkKeyPress(*this, static_cast<std::int16_t>(wParam));
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            OnShow();
        break;
    case DpiChangedAfterParentMessage:
        CreateFonts();
        Layout();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT LinkBox::OnLabelMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnLabelPaint();
        return 0;
    case WM_GETOBJECT: // the label covers the control: it is the same link
        if (const LRESULT answer = accessibility_.Answer(wParam, lParam))
            return answer;
        break;
    case WM_ERASEBKGND:
        return 1; // the paint fills everything
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        OnLabelMouse(message, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        mouseDown_ = false;
        return 0;
    }
    return DefWindowProcW(label_.get(), message, wParam, lParam);
}

void LinkBox::OnLabelPaint() {
    const PaintDc paint(label_.get());
    RECT client{};
    GetClientRect(label_.get(), &client);
    const UniqueGdiObject brush(CreateSolidBrush(ColorOf(backColor_)));
    FillRect(paint.get(), &client, static_cast<HBRUSH>(brush.get()));
    const SelectedObject font(paint.get(), labelFontHandle_.get());
    SetBkMode(paint.get(), TRANSPARENT);
    // The stored colour stays what it is; the reader's theme decides only how it is drawn.
    const COLORREF color = LinkDrawColor(ColorOf(foreColor_), Enabled(), CurrentReaderColors());
    SetTextColor(paint.get(), color);
    RECT text = client;
    DrawTextW(paint.get(), caption_.c_str(), static_cast<int>(caption_.size()), &text,
              CaptionFormat());
    // Focused: a dotted frame around the caption, as buttons and links have it.
    if (GetFocus() == window_.get() && !caption_.empty()) {
        RECT frame = client;
        DrawTextW(paint.get(), caption_.c_str(), static_cast<int>(caption_.size()), &frame,
                  CaptionFormat() | DT_CALCRECT);
        IntersectRect(&frame, &frame, &client);
        DrawFocusFrame(paint.get(), frame, color);
    }
}

UINT LinkBox::CaptionFormat() const {
    const UINT align = alignment_ == 1 ? DT_RIGHT : alignment_ == 2 ? DT_CENTER : DT_LEFT;
    // A caption wider than the label ends in "..." (the tool tip can show it whole).
    return align | DT_NOPREFIX | DT_EXPANDTABS | DT_END_ELLIPSIS;
}

std::wstring LinkBox::ShownCaption() const {
    RECT client{};
    GetClientRect(label_.get(), &client);
    const WindowDc screen(label_.get());
    const UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    const SelectedObject font(dc.get(), labelFontHandle_.get());
    std::wstring shown = caption_ + std::wstring(4, L'\0'); // room for the "..."
    DrawTextW(dc.get(), shown.data(), static_cast<int>(caption_.size()), &client,
              CaptionFormat() | DT_MODIFYSTRING);
    return shown.substr(0, shown.find(L'\0'));
}

void LinkBox::OnLabelMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client{};
    GetClientRect(label_.get(), &client);
    const bool overLabel = PtInRect(&client, point) != FALSE;
    const std::int16_t button = ButtonOf(message, wParam);
    const std::int16_t shift = ShiftState();
    const auto x = static_cast<float>(point.x);
    const auto y = static_cast<float>(point.y);
    switch (message) {
    case WM_MOUSEMOVE:
        if (hotTracking_ && overLabel) {
            SetUnderline(true);
            EnableHotTrackingTimer(hotTracking_);
        }
        host_.LinkMouseMove(*this, button, shift, x, y);
        break;
    case WM_LBUTTONDOWN:
        SetCapture(label_.get());
        mouseDown_ = true;
        host_.LinkMouseDown(*this, button, shift, x, y);
        break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        host_.LinkMouseDown(*this, button, shift, x, y);
        break;
    case WM_LBUTTONUP: {
        const bool clicked = mouseDown_ && overLabel;
        mouseDown_ = false;
        if (GetCapture() == label_.get())
            ReleaseCapture();
        host_.LinkMouseUp(*this, button, shift, x, y);
        if (clicked)
            OnClick();
        break;
    }
    default:
        host_.LinkMouseUp(*this, button, shift, x, y);
        break;
    }
}

void LinkBox::OnClick() {
    host_.LinkClick(*this);
    const std::wstring target = ClickTarget(caption_, captionIsPath_, path_);
    if (target.empty())
        return;
    OpenWithShell(target);
}

void LinkBox::OnHotTrackingTick() {
    RECT rect{};
    POINT cursor{};
    GetWindowRect(window_.get(), &rect);
    GetCursorPos(&cursor);
    if (!CursorIsInside(cursor.x, cursor.y,
                        BoxFromCorners(rect.left, rect.top, rect.right, rect.bottom))) {
        SetUnderline(false);
        EnableHotTrackingTimer(false);
    }
}

void LinkBox::OnShow() {
    SetWindowContextHelpId(label_.get(), host_.LinkHelpId(*this));
    SetToolTipText();
}

void LinkBox::Layout() {
    if (!label_)
        return;
    // The label sits at the control's top left corner. Moving it never resizes it here, so
    // its auto-size mode needs no switching off around the move.
    SetWindowPos(label_.get(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(window_.get(), &client);
    const SIZE fitted = MeasureText(label_.get(), labelFontHandle_.get(), caption_);
    const LinkLayout layout =
        LayoutLinkBox(autoSize_, {client.right, client.bottom}, {fitted.cx, fitted.cy});
    ApplySize(label_.get(), layout.label.width, layout.label.height);
    if (autoSize_)
        ApplySize(window_.get(), layout.control.width, layout.control.height);
    InvalidateRect(label_.get(), nullptr, TRUE);
}

void LinkBox::SetUnderline(bool on) {
    if (labelFont_.underline == on)
        return;
    labelFont_.underline = on;
    labelFontHandle_ = CreateFontAt(labelFont_, WindowDpi(window_.get()));
    InvalidateRect(label_.get(), nullptr, TRUE);
}

void LinkBox::EnableHotTrackingTimer(bool on) {
    if (on == timerRunning_)
        return;
    if (on)
        SetTimer(window_.get(), HotTrackingTimer, 100, nullptr);
    else
        KillTimer(window_.get(), HotTrackingTimer);
    timerRunning_ = on;
}

void LinkBox::CreateFonts() {
    const int dpi = WindowDpi(window_.get());
    controlFontHandle_ = CreateFontAt(font_, dpi);
    labelFontHandle_ = CreateFontAt(labelFont_, dpi);
    SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(controlFontHandle_.get()),
                 FALSE);
}

void LinkBox::SetAlignment(std::int32_t value) {
    if (value == alignment_)
        return;
    if (value < 0 || value > 2)
        throw RunError(ErrorKind::InvalidArgument, L"Alignment " + std::to_wstring(value));
    alignment_ = static_cast<std::int16_t>(value);
    Layout();
    ReportChange(L"Alignment");
}

void LinkBox::SetAutoSize(bool value) {
    autoSize_ = value;
    Layout();
    ReportChange(L"AutoSize");
}

void LinkBox::SetBackColor(std::uint32_t value) {
    if (value == backColor_)
        return;
    backColor_ = value;
    InvalidateRect(label_.get(), nullptr, TRUE);
    ReportChange(L"BackColor");
}

void LinkBox::SetLabelCaption(const std::wstring& value) {
    caption_ = value;
    SetWindowTextW(label_.get(), caption_.c_str());
    SetWindowTextW(window_.get(), caption_.c_str());
    InvalidateRect(label_.get(), nullptr, TRUE);
}

void LinkBox::SetCaption(const std::wstring& value) {
    if (value == caption_)
        return;
    SetLabelCaption(value);
    Layout();
    ReportChange(L"Caption");
}

void LinkBox::SetCaptionIsPath(bool value) {
    captionIsPath_ = value;
    ReportChange(L"CaptionIsPath");
}

bool LinkBox::Enabled() const {
    return IsWindowEnabled(window_.get()) != FALSE;
}

void LinkBox::SetEnabled(bool value) {
    EnableWindow(window_.get(), value);
    EnableWindow(label_.get(), value);
    InvalidateRect(label_.get(), nullptr, TRUE);
    ReportChange(L"Enabled");
}

void LinkBox::SetFont(const LinkFont& value) {
    if (value == font_)
        return;
    font_ = value;
    labelFont_ = value;
    if (hotTracking_)
        labelFont_.underline = false;
    CreateFonts();
    Layout();
    ReportChange(L"Font");
}

void LinkBox::SetForeColor(std::uint32_t value) {
    foreColor_ = value;
    InvalidateRect(label_.get(), nullptr, TRUE);
    ReportChange(L"ForeColor");
}

void LinkBox::SetHotTracking(bool value) {
    hotTracking_ = value;
    if (value)
        SetUnderline(false);
    ReportChange(L"HotTracking");
}

void LinkBox::SetPath(const std::wstring& value) {
    path_ = value;
    ReportChange(L"Path");
}

HDC LinkBox::hDC() const {
    return GetDC(window_.get()); // the class's own DC: nothing to give back
}

std::wstring LinkBox::Version() const {
    return L" " + VersionText(false);
}

void LinkBox::AboutBox() const {
    const std::wstring text =
        VersionResourceString(L"FileDescription") + L"\r\n\r\nVersion" + Version();
    MessageBoxW(GetAncestor(window_.get(), GA_ROOT), text.c_str(), L"About...",
                MB_OK | MB_ICONINFORMATION);
}

void LinkBox::SetToolTipText(const std::optional<std::wstring>& text) {
    toolTip_ = text ? *text : host_.LinkToolTipText(*this);
    if (!toolTips_) {
        if (toolTip_.empty())
            return;
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        toolTips_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                                    0, window_.get(), nullptr, Instance(), nullptr);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_.get();
        tool.uId = reinterpret_cast<UINT_PTR>(label_.get());
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_.get();
    tool.uId = reinterpret_cast<UINT_PTR>(label_.get());
    tool.lpszText = const_cast<wchar_t*>(toolTip_.c_str());
    SendMessageW(toolTips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::int32_t LinkBox::TextHeight(const std::wstring& text) const {
    return RoundToInt32(MeasureText(window_.get(), controlFontHandle_.get(), text).cy);
}

std::int32_t LinkBox::TextWidth(const std::wstring& text) const {
    return RoundToInt32(MeasureText(window_.get(), controlFontHandle_.get(), text).cx);
}
