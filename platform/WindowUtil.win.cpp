#include "platform/WindowUtil.h"

#include <cmath>

void ApplySize(HWND window, std::int32_t width, std::int32_t height) {
    const bool topLevel = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0;
    if (topLevel && IsIconic(window))
        return;
    RECT rect{};
    GetWindowRect(window, &rect);
    for (const Extent& size :
         SizeSteps({rect.right - rect.left, rect.bottom - rect.top}, {width, height}))
        SetWindowPos(window, nullptr, 0, 0, size.width, size.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveWindowTo(HWND window, const Box& box) {
    SetWindowPos(window, nullptr, box.left, box.top, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Extent FrameExtent(HWND window) {
    RECT frame{};
    RECT client{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    return {(frame.right - frame.left) - client.right, (frame.bottom - frame.top) - client.bottom};
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

UniqueGdiObject CreateFontAt(const FontDesign& design, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(design.size * dpi / 72.0));
    font.lfWeight = design.weight;
    font.lfItalic = design.italic;
    font.lfUnderline = design.underline;
    font.lfStrikeOut = design.strikethrough;
    font.lfCharSet = static_cast<BYTE>(design.charset);
    lstrcpynW(font.lfFaceName, design.name.c_str(), LF_FACESIZE);
    return UniqueGdiObject(CreateFontIndirectW(&font));
}

SIZE MeasureText(HWND window, HGDIOBJ font, std::wstring_view text, int wrapWidth) {
    const WindowDc dc(window);
    const SelectedObject selected(dc.get(), font);
    RECT rect{0, 0, wrapWidth, 0};
    const std::wstring measured = text.empty() ? L" " : std::wstring(text);
    const UINT wrap = wrapWidth > 0 ? DT_WORDBREAK | DT_EDITCONTROL : 0;
    const int height = DrawTextW(dc.get(), measured.c_str(), static_cast<int>(measured.size()),
                                 &rect, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | wrap);
    return {text.empty() ? 0 : rect.right - rect.left, height};
}
