#include "controls/LinkBoxRules.h"

#include "text/TextUtil.h"

#include <algorithm>
#include <cmath>

std::wstring ClickTarget(std::wstring_view caption, bool captionIsPath, std::wstring_view path) {
    if (!path.empty() && !captionIsPath)
        return std::wstring(path);
    if (!caption.empty() && captionIsPath)
        return std::wstring(caption);
    return {};
}

bool CursorIsInside(std::int32_t x, std::int32_t y, const Box& box) {
    return IsBetween(y, box.top, box.Bottom()) && IsBetween(x, box.left, box.Right());
}

LinkLayout LayoutLinkBox(bool autoSize, Extent control, Extent fittedLabel) {
    if (autoSize)
        return {fittedLabel, fittedLabel};
    return {control, control};
}

namespace {

// The relative luminance of an sRGB colour.
double Luminance(std::uint32_t color) {
    const auto channel = [](std::uint32_t value) {
        const double c = static_cast<double>(value & 0xFF) / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color) + 0.7152 * channel(color >> 8) + 0.0722 * channel(color >> 16);
}

constexpr double ReadableContrast = 4.5;

} // namespace

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
    const double x = Luminance(a);
    const double y = Luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

std::uint32_t LinkDrawColor(std::uint32_t foreColor, bool enabled, const ReaderColors& reader) {
    if (!enabled)
        return reader.grayText;
    const auto readable = [&](std::uint32_t color) {
        return ContrastRatio(color, reader.buttonFace) >= ReadableContrast;
    };
    if (!reader.highContrast && readable(foreColor))
        return foreColor;
    return readable(reader.hotLight) ? reader.hotLight : reader.windowText;
}
