// The rules of the link control that need no window: what a click opens, the
// hot-tracking inside test and the layout of its caption label.
#pragma once
#include "platform/Geometry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Path when it is set and the caption is not the path; else the caption when it is the
// path; else nothing (empty).
std::wstring ClickTarget(std::wstring_view caption, bool captionIsPath, std::wstring_view path);

struct ScreenRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};
// Inside with every edge included, the right and bottom ones too.
bool CursorIsInside(std::int32_t x, std::int32_t y, const ScreenRect& rect);

// With auto-size the control takes the label's fitted size; without it the label fills
// the control, so the whole control is the link.
struct LinkLayout {
    Extent control;
    Extent label;
};
LinkLayout LayoutLinkBox(bool autoSize, Extent control, Extent fittedLabel);
