// Sizes and boxes of windows as pure arithmetic: pixels at a display's scale, twips, and
// the steps a resize takes.
#pragma once
#include <cstdint>
#include <vector>

// The program's rectangle: a top left corner and a size. A Win32 RECT (corners) is made
// from one or read into one only where a Win32 call takes or gives it.
struct Box {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::int32_t Right() const { return left + width; }
    std::int32_t Bottom() const { return top + height; }
    bool operator==(const Box&) const = default;
};

// The box from its corners: left, top, right and bottom, as a RECT has them.
Box BoxFromCorners(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

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
