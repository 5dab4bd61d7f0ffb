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

// Inside with every edge included, the right and bottom ones too.
bool CursorIsInside(std::int32_t x, std::int32_t y, const Box& box);

// With auto-size the control takes the label's fitted size; without it the label fills
// the control, so the whole control is the link.
struct LinkLayout {
    Extent control;
    Extent label;
};
LinkLayout LayoutLinkBox(bool autoSize, Extent control, Extent fittedLabel);

// The contrast ratio of two 0x00BBGGRR colours as WCAG 2 defines it: from 1 (the same) to
// 21 (black on white); readable text needs 4.5.
double ContrastRatio(std::uint32_t a, std::uint32_t b);

// The reader's colours the link is drawn against (0x00BBGGRR each).
struct ReaderColors {
    std::uint32_t buttonFace = 0; // the window's background
    std::uint32_t hotLight = 0;   // the theme's hyperlink colour
    std::uint32_t windowText = 0;
    std::uint32_t grayText = 0;
    bool highContrast = false; // a high-contrast theme is on
};

// The colour the link's caption, underline and focus frame are drawn in: the stored fore
// colour, unless a high-contrast theme is on or it is hard to read on the button face
// (below 4.5:1); then the theme's hyperlink colour, or the window text colour when that
// is hard to read too. A disabled link is grey text.
std::uint32_t LinkDrawColor(std::uint32_t foreColor, bool enabled, const ReaderColors& reader);
