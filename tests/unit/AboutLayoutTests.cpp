// The About window's arithmetic at the standard scale and at 150 %.
#include "about/AboutLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(Scaling, ExactAt96AndRoundedElsewhere) {
    EXPECT_EQ(ScalePixels(360, 96), 360);
    EXPECT_EQ(ScalePixels(360, 144), 540);
    EXPECT_EQ(ScalePixels(10, 120), 13); // 12.5 rounds up
    EXPECT_EQ(ScalePixels(-10, 144), -15);
    EXPECT_EQ(TwipsToPixels(480, 96), 32);
    EXPECT_EQ(TwipsToPixels(5160, 96), 344);
    EXPECT_EQ(TwipsToPixels(480, 144), 48);
    EXPECT_EQ(AboutWindowWidth(96), 360);
    EXPECT_EQ(AboutWindowHeight(96), 180);
    EXPECT_EQ(AboutWindowHeight(144), 270);
}

TEST(AboutLayout, PartsAt96Dpi) {
    int measuredWidth = 0;
    AboutLayoutInput in;
    in.dpi = 96;
    in.clientWidth = 354;
    in.clientHeight = 151;
    in.icon = {12, 10, 32, 32};
    in.lineHeight = 13;
    in.messageHeight = [&](int width) {
        measuredWidth = width;
        return 91;
    };
    const AboutLayout layout = LayoutAboutWindow(in);
    EXPECT_EQ(layout.icon, (Box{20, 20, 32, 32}));
    EXPECT_EQ(layout.message, (Box{62, 20, 282, 91}));
    EXPECT_EQ(measuredWidth, 282);
    EXPECT_EQ(layout.link, (Box{62, 111, 282, 13}));
    // The text ends above OK: nothing changes.
    EXPECT_EQ(layout.ok, (Box{272, 117, 72, 24}));
    EXPECT_EQ(layout.extraHeight, 0);

    // The link shown below it would run under OK: the window grows by what is missing.
    in.linkVisible = true;
    const AboutLayout withLink = LayoutAboutWindow(in);
    EXPECT_EQ(withLink.extraHeight, 111 + 13 - 117);
    EXPECT_EQ(withLink.ok, (Box{272, 124, 72, 24}));
    EXPECT_EQ(withLink.link, layout.link);
}

TEST(AboutLayout, PartsAt144DpiScaleEveryFixedSize) {
    AboutLayoutInput in;
    in.dpi = 144;
    in.clientWidth = 530;
    in.clientHeight = 230;
    in.icon = {0, 0, 48, 48};
    in.lineHeight = 19;
    in.messageHeight = [](int) { return 133; };
    const AboutLayout layout = LayoutAboutWindow(in);
    EXPECT_EQ(layout.icon, (Box{30, 30, 48, 48}));
    EXPECT_EQ(layout.message, (Box{93, 30, 422, 133}));
    EXPECT_EQ(layout.link, (Box{93, 163, 422, 19}));
    EXPECT_EQ(layout.ok, (Box{530 - 108 - 15, 230 - 36 - 15, 108, 36}));
}

} // namespace
