// The About window's geometry, stated once: the design's sizes, in pixels at 96 DPI, and
// the one function that computes, from the display's scale and the window's font, every
// box the window and its controls end with. Pure arithmetic: running it again on the same
// input gives the same boxes.
#pragma once
#include "platform/Geometry.h"

#include <functional>

struct AboutDesign {
    int windowWidth = 360; // the outer size, frame and caption bar included
    int windowHeight = 180;
    int iconLeft = 20; // the information icon, 32 x 32
    int iconTop = 20;
    int iconSize = 32;
    int gap = 10; // from the icon to the text, and the text and OK from the right edge
    int okWidth = 72;
    int okHeight = 24;
    int okBottomGap = 10;
};
inline constexpr AboutDesign AboutWindowDesign{};

struct AboutLayoutInput {
    int dpi = 96;
    Extent frame;       // what the frame and the caption bar add to the client area
    int lineHeight = 0; // one line of the window's font: the link's height
    bool linkVisible = false;
    // The height of the whole message text wrapped at that width, in the window's font.
    std::function<int(int width)> messageHeight;
    // The width of the widest line that the design writes as one line (all but the
    // program's path), in the window's font; and the size of the monitor's work area (0:
    // no limit that way).
    int widestLine = 0;
    Extent workArea;
};

struct AboutLayout {
    Extent window; // the outer size
    // In the window's client area:
    Box icon;    // at 20, 20
    Box message; // right of the icon, 10 pixels from it and from the right edge, as high as
                 // its text
    Box link;    // right below the message, as wide, one line high
    Box ok;      // 72 x 24, 10 pixels from the right and bottom edges
    bool messageCut = false; // the message is shorter than its text, which then scrolls
};

// Where the widest one-line line would not fit the message's width, the window is wider by
// just what it needs, never wider than the work area. Where the message, or the link when
// it is shown, would reach below the top of OK, the window is taller by the difference and
// OK moves down with its bottom edge; never taller than the work area, where the message
// is cut short instead (a program path of thousands of characters), so that OK always
// lies inside the window and the window on the screen.
AboutLayout LayoutAboutWindow(const AboutLayoutInput& input);
