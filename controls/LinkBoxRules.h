// The rules of the link control that need no window: what a click opens, its version
// text, the hot-tracking inside test and the layout of its caption label.
#pragma once
#include "platform/VersionText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Path when it is set and the caption is not the path; else the caption when it is the
// path; else nothing (empty).
std::wstring ClickTarget(std::wstring_view caption, bool captionIsPath, std::wstring_view path);

// " 2.27": major with a leading blank, minor as two digits, revision (when > 0) as four.
std::wstring LinkBoxVersion(const ProgramVersion& version);

struct ScreenRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};
// Inside with every edge included, the right and bottom ones too.
bool CursorIsInside(std::int32_t x, std::int32_t y, const ScreenRect& rect);

struct Extent {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const Extent&) const = default;
};

// With auto-size the control takes the label's fitted size; without it the label fills
// the control, so the whole control is the link.
struct LinkLayout {
    Extent control;
    Extent label;
};
LinkLayout LayoutLinkBox(bool autoSize, Extent control, Extent fittedLabel);

// The resizes ApplySize makes, in order: the width when it differs, then the height when
// it differs, each one resize of its own.
std::vector<Extent> SizeSteps(Extent current, Extent wanted);
