#include "platform/Geometry.h"

namespace {

int ScaleRounded(int value, int numerator, int denominator) {
    const std::int64_t scaled = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / denominator
                                        : -((-scaled + half) / denominator));
}

} // namespace

Box BoxFromCorners(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return {left, top, right - left, bottom - top};
}

int ScalePixels(int pixels, int dpi) {
    return ScaleRounded(pixels, dpi, 96);
}

int TwipsToPixels(int twips, int dpi) {
    return ScaleRounded(twips, dpi, 1440);
}

std::vector<Extent> SizeSteps(Extent current, Extent wanted) {
    std::vector<Extent> steps;
    if (current.width != wanted.width) {
        current.width = wanted.width;
        steps.push_back(current);
    }
    if (current.height != wanted.height) {
        current.height = wanted.height;
        steps.push_back(current);
    }
    return steps;
}
