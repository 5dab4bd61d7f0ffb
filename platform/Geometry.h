// Sizes and boxes of windows as pure arithmetic: pixels at a display's scale, twips, and
// the steps a resize takes.
#pragma once
#include <cstdint>
#include <vector>

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    bool operator==(const Box&) const = default;
};

struct Extent {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const Extent&) const = default;
};

// pixels at 96 DPI shown at dpi; exact at 96, rounded to the nearest pixel otherwise
int ScalePixels(int pixels, int dpi);
// 15 twips make a pixel at 96 DPI
int TwipsToPixels(int twips, int dpi);

// The resizes ApplySize makes, in order: the width when it differs, then the height when
// it differs, each one resize of its own.
std::vector<Extent> SizeSteps(Extent current, Extent wanted);
