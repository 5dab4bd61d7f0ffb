#include "about/AboutLayout.h"

#include <algorithm>
#include <cstdint>

namespace {

int ScaleRounded(int value, int numerator, int denominator) {
    const std::int64_t scaled = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / denominator
                                        : -((-scaled + half) / denominator));
}

} // namespace

int ScalePixels(int pixels, int dpi) {
    return ScaleRounded(pixels, dpi, 96);
}

int TwipsToPixels(int twips, int dpi) {
    return ScaleRounded(twips, dpi, 1440);
}

AboutLayout LayoutAboutWindow(const AboutLayoutInput& in) {
    const auto px = [&](int pixels) { return ScalePixels(pixels, in.dpi); };
    AboutLayout layout;
    layout.icon = {px(20), px(20), in.icon.width, in.icon.height};
    Box& message = layout.message;
    message.left = layout.icon.width + layout.icon.left + px(10);
    message.top = layout.icon.top;
    message.width = in.clientWidth - message.left - px(10);
    message.height = in.messageHeight ? in.messageHeight(message.width) : 0;
    layout.link = {message.left, message.top + message.height, message.width, in.lineHeight};
    const int okWidth = px(72);
    const int okHeight = px(24);
    layout.ok = {in.clientWidth - okWidth - px(10), in.clientHeight - okHeight - px(10), okWidth,
                 okHeight};
    const Box& lowest = in.linkVisible ? layout.link : layout.message;
    layout.extraHeight = std::max(0, lowest.top + lowest.height - layout.ok.top);
    layout.ok.top += layout.extraHeight;
    return layout;
}

int AboutWindowWidth(int dpi) {
    return ScalePixels(360, dpi);
}

int AboutWindowHeight(int dpi) {
    return ScalePixels(180, dpi);
}
