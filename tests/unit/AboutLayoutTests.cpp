// The About window's geometry and the arithmetic under it, at the standard scale and at
// 150 %.
#include "about/AboutLayout.h"
#include "platform/Geometry.h"

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
}

TEST(ApplySize, OneResizePerDifferingSideWidthFirst) {
    EXPECT_TRUE(SizeSteps({360, 180}, {360, 180}).empty());
    EXPECT_EQ(SizeSteps({300, 180}, {360, 180}), (std::vector<Extent>{{360, 180}}));
    EXPECT_EQ(SizeSteps({360, 100}, {360, 180}), (std::vector<Extent>{{360, 180}}));
    EXPECT_EQ(SizeSteps({300, 100}, {360, 180}), (std::vector<Extent>{{360, 100}, {360, 180}}));
}

AboutLayoutInput At96(int& measuredWidth) {
    AboutLayoutInput in;
    in.dpi = 96;
    in.frame = {6, 29}; // client area 354 x 151
    in.lineHeight = 13;
    in.messageHeight = [&measuredWidth](int width) {
        measuredWidth = width;
        return 91;
    };
    return in;
}

bool operator==(const AboutLayout& a, const AboutLayout& b) {
    return a.window == b.window && a.icon == b.icon && a.message == b.message && a.link == b.link &&
           a.ok == b.ok;
}

TEST(AboutLayout, PartsAt96Dpi) {
    int measuredWidth = 0;
    AboutLayoutInput in = At96(measuredWidth);
    const AboutLayout layout = LayoutAboutWindow(in);
    EXPECT_EQ(layout.window, (Extent{360, 180}));
    EXPECT_EQ(layout.icon, (Box{20, 20, 32, 32}));
    EXPECT_EQ(layout.message, (Box{62, 20, 282, 91}));
    EXPECT_EQ(measuredWidth, 282);
    EXPECT_EQ(layout.link, (Box{62, 111, 282, 13}));
    // The text ends above OK: nothing changes.
    EXPECT_EQ(layout.ok, (Box{272, 117, 72, 24}));
    EXPECT_FALSE(layout.messageCut);

    // The link shown below it would run under OK: the window grows by what is missing.
    in.linkVisible = true;
    const AboutLayout withLink = LayoutAboutWindow(in);
    EXPECT_EQ(withLink.window, (Extent{360, 180 + 111 + 13 - 117}));
    EXPECT_EQ(withLink.ok, (Box{272, 124, 72, 24}));
    EXPECT_EQ(withLink.link, layout.link);
    // Its own result fed back changes nothing: the layout reads no box it set.
    EXPECT_TRUE(LayoutAboutWindow(in) == withLink);
}

TEST(AboutLayout, AOneLineLineThatDoesNotFitWidensTheWindowByWhatItNeedsWithinTheWorkArea) {
    int measuredWidth = 0;
    AboutLayoutInput in = At96(measuredWidth);
    const struct {
        int widestLine;
        int workArea;
        int windowWidth;
    } cases[] = {
        {282, 1280, 360},                   // at the design's metrics the line fits: nothing moves
        {250, 1280, 360}, {293, 1280, 371}, // 11 pixels wider for the line that needs them
        {293, 365, 365},                    // never beyond the work area
        {293, 0, 371},    {293, 300, 360},  // nor narrower than designed
    };
    for (const auto& c : cases) {
        in.widestLine = c.widestLine;
        in.workArea.width = c.workArea;
        const AboutLayout layout = LayoutAboutWindow(in);
        EXPECT_EQ(layout.window, (Extent{c.windowWidth, 180})) << c.widestLine << " " << c.workArea;
        EXPECT_EQ(layout.message.width, c.windowWidth - 6 - 62 - 10);
        EXPECT_EQ(measuredWidth, layout.message.width) << "the text is measured as wide as shown";
        EXPECT_EQ(layout.ok.Right(), c.windowWidth - 6 - 10);
    }
}

// However tall its text (a path of thousands of characters), the window is no taller than
// the work area nor shorter than designed: the message is cut short (and scrolls), the
// link right below it, OK inside the window.
TEST(AboutLayout, NeverTallerThanTheWorkAreaWithOKInside) {
    int measuredWidth = 0;
    AboutLayoutInput in = At96(measuredWidth);
    in.messageHeight = [](int) { return 13000; };
    in.linkVisible = true;
    for (const auto& [workHeight, height] : {std::pair{1024, 1024}, {300, 300}, {100, 180}}) {
        in.workArea = {1280, workHeight};
        const AboutLayout layout = LayoutAboutWindow(in);
        EXPECT_TRUE(layout.window == (Extent{360, height}) && layout.messageCut) << workHeight;
        EXPECT_EQ(layout.ok, (Box{272, height - 29 - 10 - 24, 72, 24}));
        EXPECT_TRUE(layout.link.top == layout.message.Bottom() &&
                    layout.link.Bottom() == layout.ok.top);
    }
}

TEST(AboutLayout, PartsAt144DpiScaleEveryFixedSize) {
    AboutLayoutInput in;
    in.dpi = 144;
    in.frame = {10, 40};
    in.lineHeight = 19;
    in.messageHeight = [](int) { return 133; };
    const AboutLayout layout = LayoutAboutWindow(in);
    EXPECT_EQ(layout.window, (Extent{540, 270}));
    EXPECT_EQ(layout.icon, (Box{30, 30, 48, 48}));
    EXPECT_EQ(layout.message, (Box{93, 30, 422, 133}));
    EXPECT_EQ(layout.link, (Box{93, 163, 422, 19}));
    EXPECT_EQ(layout.ok, (Box{530 - 108 - 15, 230 - 36 - 15, 108, 36}));
}

} // namespace
