#include "about/AboutLayout.h"

#include <algorithm>

AboutLayout LayoutAboutWindow(const AboutLayoutInput& in) {
    const AboutDesign& design = AboutWindowDesign;
    const auto px = [&](int pixels) { return ScalePixels(pixels, in.dpi); };
    AboutLayout layout;
    layout.window = {px(design.windowWidth), px(design.windowHeight)};
    layout.icon = {px(design.iconLeft), px(design.iconTop), px(design.iconSize),
                   px(design.iconSize)};
    Box& message = layout.message;
    message.left = layout.icon.Right() + px(design.gap);
    message.top = layout.icon.top;
    const auto messageWidth = [&] {
        return layout.window.width - in.frame.width - message.left - px(design.gap);
    };
    if (const int missing = in.widestLine - messageWidth(); missing > 0) {
        const int wider = layout.window.width + missing;
        layout.window.width = in.workArea.width > 0 ? std::max(layout.window.width,
                                                               std::min(wider, in.workArea.width))
                                                    : wider;
    }
    const int clientWidth = layout.window.width - in.frame.width;
    const int clientHeight = layout.window.height - in.frame.height;
    message.width = messageWidth();
    message.height = in.messageHeight ? in.messageHeight(message.width) : 0;
    layout.link = {message.left, message.Bottom(), message.width, in.lineHeight};

    Box& ok = layout.ok;
    ok.width = px(design.okWidth);
    ok.height = px(design.okHeight);
    ok.left = clientWidth - ok.width - px(design.gap);
    ok.top = clientHeight - ok.height - px(design.okBottomGap);
    const Box& lowest = in.linkVisible ? layout.link : layout.message;
    int missing = std::max(0, lowest.Bottom() - ok.top);
    if (in.workArea.height > 0) {
        const int room = std::max(0, in.workArea.height - layout.window.height);
        if (missing > room) {
            const int cut = std::min(missing - room, message.height);
            message.height -= cut;
            layout.link.top -= cut;
            layout.messageCut = true;
            missing = room;
        }
    }
    ok.top += missing;
    layout.window.height += missing;
    return layout;
}
