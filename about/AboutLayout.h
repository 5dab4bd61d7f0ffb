// Sizes and places of the About window's parts, in pixels, as pure arithmetic: sizes are
// given for the standard 96 DPI and scaled for the display the window is on.
#pragma once
#include <functional>

// pixels at 96 DPI shown at dpi; exact at 96, rounded to the nearest pixel otherwise
int ScalePixels(int pixels, int dpi);
// 15 twips make a pixel at 96 DPI
int TwipsToPixels(int twips, int dpi);

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Box&) const = default;
};

struct AboutLayoutInput {
    int dpi = 96;
    int clientWidth = 0;
    int clientHeight = 0;
    Box icon;           // its size is kept; it moves to 20, 20
    int lineHeight = 0; // one line of the window's font
    bool linkVisible = false;
    // the height of the whole message text when laid out that wide
    std::function<int(int width)> messageHeight;
};

struct AboutLayout {
    Box icon, message, link, ok;
    int extraHeight = 0; // what the window must grow by for the text to end above OK
};

// The icon at 20, 20; the message right of it, 10 pixels from it and from the right
// edge, as high as its text; the link right below it, as wide, one line high; the OK
// button 72 x 24, 10 pixels from the right and bottom edges. Where the message, or the
// link when it is shown, would reach below the top of OK, the window grows by the
// difference and OK moves down with its bottom edge.
AboutLayout LayoutAboutWindow(const AboutLayoutInput& input);

// The window's outer size, frame and caption bar included: 360 x 180 at 96 DPI.
int AboutWindowWidth(int dpi);
int AboutWindowHeight(int dpi);
