// The link control's window-free rules: click target, inside test, layout,
// and how it is saved and restored through the hosting window's property bag.
#include "controls/LinkBoxPersistence.h"
#include "controls/LinkBoxRules.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(ClickTarget, CaptionOrPathOrNothing) {
    // the caption is the path: Path is ignored
    EXPECT_EQ(ClickTarget(L"http://a.example", true, L"C:\\x.exe"), L"http://a.example");
    EXPECT_EQ(ClickTarget(L"Download", false, L"C:\\x.exe"), L"C:\\x.exe");
    // the caption is not the path and there is no path: nothing, whatever the caption
    EXPECT_EQ(ClickTarget(L"http://a.example", false, L""), L"");
    // the caption is the path but is empty
    EXPECT_EQ(ClickTarget(L"", true, L"C:\\x.exe"), L"");
    EXPECT_EQ(ClickTarget(L"", true, L""), L"");
}

TEST(CursorIsInside, EveryEdgeCounts) {
    const Box rect{100, 50, 100, 20}; // right 200, bottom 70: those edges count too
    for (const auto& [x, y] : {std::pair{150, 60}, {100, 50}, {200, 70}})
        EXPECT_TRUE(CursorIsInside(x, y, rect)) << x << "," << y;
    for (const auto& [x, y] : {std::pair{201, 60}, {150, 71}, {99, 60}, {150, 49}})
        EXPECT_FALSE(CursorIsInside(x, y, rect)) << x << "," << y;
}

TEST(LinkDrawColor, TheStoredColourUnlessItCannotBeReadOrAHighContrastThemeIsOn) {
    constexpr std::uint32_t Black = 0x000000, White = 0xFFFFFF, Yellow = 0x00FFFF,
                            LightGrey = 0xF0F0F0, Grey = 0x808080, DarkBlue = 0x800000;
    EXPECT_DOUBLE_EQ(ContrastRatio(Black, White), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(Grey, Grey), 1.0);
    EXPECT_NEAR(ContrastRatio(LinkBlue, LightGrey), 7.5, 0.1); // the design on a light scheme
    EXPECT_NEAR(ContrastRatio(LinkBlue, Black), 2.4, 0.05);
    const ReaderColors light{LightGrey, DarkBlue, Black, Grey, false};
    const ReaderColors dark{Black, Yellow, White, Grey, false}; // "High Contrast Black"
    const struct {
        std::uint32_t fore;
        bool enabled;
        ReaderColors reader;
        std::uint32_t drawn;
    } cases[] = {
        {LinkBlue, true, light, LinkBlue}, // nothing changes
        {LinkBlue, true, dark, Yellow},    // blue on black: unreadable
        {LinkBlue, true, {LightGrey, DarkBlue, Black, Grey, true}, DarkBlue}, // the theme's
        {LinkBlue, true, {Black, DarkBlue, White, Grey, false}, White},       // both unreadable
        {White, true, dark, White},    // a custom colour that reads
        {LinkBlue, false, dark, Grey}, // disabled
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinkDrawColor(c.fore, c.enabled, c.reader), c.drawn) << std::hex << c.fore;
}

TEST(LinkLayout, LabelFillsTheControlUnlessItSizesItself) {
    const LinkLayout fill = LayoutLinkBox(false, {267, 19}, {120, 13});
    EXPECT_EQ(fill.label, (Extent{267, 19}));
    EXPECT_EQ(fill.control, (Extent{267, 19}));
    const LinkLayout fit = LayoutLinkBox(true, {267, 19}, {120, 13});
    EXPECT_EQ(fit.label, (Extent{120, 13}));
    EXPECT_EQ(fit.control, (Extent{120, 13}));
}

TEST(FontText, RoundTripAndRefusals) {
    const LinkFont font{L"Tahoma; Bold", 9.75, 700, true, false, true, 0};
    EXPECT_EQ(FontFromText(FontToText(LabelDesignFont())), LabelDesignFont());
    EXPECT_EQ(FontToText(LabelDesignFont()), L"MS Sans Serif;8.25;400;0;1;0;204");
    EXPECT_FALSE(FontFromText(FontToText(font))); // the separator cannot be in a name
    const LinkFont plain{L"Arial", 10, 700, true, false, true, 0};
    EXPECT_EQ(FontFromText(FontToText(plain)), plain);
    EXPECT_FALSE(FontFromText(L""));
    EXPECT_FALSE(FontFromText(L"Arial;ten;400;0;0;0;0"));
    EXPECT_FALSE(FontFromText(L"Arial;10;400;0;0;0;300"));
    EXPECT_FALSE(FontFromText(L"Arial;10;400;0;0;0"));
}

// A control as the persistence sees it: every setter call is recorded, with the rules
// of the real control (Alignment refuses values outside 0..2).
struct FakeLinkBox final : LinkBoxState {
    std::int32_t alignment = 0;
    bool autoSize = true;
    std::uint32_t backColor = ButtonFaceColor;
    std::wstring caption;
    bool captionIsPath = false;
    bool enabled = true;
    LinkFont font;
    LinkFont labelFont = LabelDesignFont();
    std::uint32_t foreColor = 0;
    bool hotTracking = false;
    std::wstring path;
    std::vector<std::wstring> calls;

    template <typename T> void Record(const wchar_t* call, T& field, const T& value) {
        calls.push_back(call);
        field = value;
    }

    std::int32_t Alignment() const override { return alignment; }
    void SetAlignment(std::int32_t v) override {
        if (v < 0 || v > 2)
            throw std::invalid_argument("Alignment");
        Record(L"SetAlignment", alignment, v);
    }
    bool AutoSize() const override { return autoSize; }
    void SetLabelAutoSize(bool v) override { Record(L"LabelAutoSize", autoSize, v); }
    std::uint32_t BackColor() const override { return backColor; }
    void SetBackColor(std::uint32_t v) override { Record(L"SetBackColor", backColor, v); }
    std::wstring Caption() const override { return caption; }
    void SetLabelCaption(const std::wstring& v) override { Record(L"LabelCaption", caption, v); }
    bool CaptionIsPath() const override { return captionIsPath; }
    void SetCaptionIsPath(bool v) override { Record(L"SetCaptionIsPath", captionIsPath, v); }
    void StoreCaptionIsPath(bool v) override { Record(L"StoreCaptionIsPath", captionIsPath, v); }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool v) override { Record(L"SetEnabled", enabled, v); }
    LinkFont Font() const override { return font; }
    LinkFont LabelFont() const override { return labelFont; }
    void SetFont(const LinkFont& v) override {
        Record(L"SetFont", font, v);
        labelFont = v;
        if (hotTracking)
            labelFont.underline = false;
    }
    std::uint32_t ForeColor() const override { return foreColor; }
    void SetForeColor(std::uint32_t v) override { Record(L"SetForeColor", foreColor, v); }
    bool HotTracking() const override { return hotTracking; }
    void SetHotTracking(bool v) override {
        Record(L"SetHotTracking", hotTracking, v);
        if (v)
            labelFont.underline = false;
    }
    void StoreHotTracking(bool v) override { Record(L"StoreHotTracking", hotTracking, v); }
    std::wstring Path() const override { return path; }
    void SetPath(const std::wstring& v) override { Record(L"SetPath", path, v); }
};

TEST(LinkBoxPersistence, SaveWritesAllTenInOrder) {
    FakeLinkBox control;
    control.caption = L"http://www.example.com/Rurivur/Varnholt_Setup.exe";
    control.foreColor = LinkBlue;
    control.font = LinkFont{L"Arial", 10, 700, false, true, false, 0};
    PropertyBag bag;
    SaveLinkBox(control, bag);
    std::vector<std::wstring> names;
    for (const auto& entry : bag.Entries())
        names.push_back(entry.first);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Alignment", L"AutoSize", L"BackColor", L"Caption",
                                                L"CaptionIsPath", L"Enabled", L"Font", L"ForeColor",
                                                L"HotTracking", L"Path"}));
    EXPECT_EQ(bag.Read(L"backcolor"), L"-2147483633");
    EXPECT_EQ(bag.Read(L"FORECOLOR"), L"16711680");
    EXPECT_EQ(bag.Read(L"Path"), L""); // stored even when empty
    EXPECT_EQ(bag.Read(L"Font"), L"Arial;10;700;0;1;0;0");
}

TEST(LinkBoxPersistence, RoundTripAppliesEachValueTheWayItIsDefined) {
    FakeLinkBox saved;
    saved.alignment = 2;
    saved.autoSize = false;
    saved.backColor = 0x00112233;
    saved.caption = L"Download";
    saved.captionIsPath = false;
    saved.enabled = false;
    saved.font = LinkFont{L"Arial", 10, 700, false, true, false, 0};
    saved.foreColor = 0x000000FF;
    saved.hotTracking = true;
    saved.path = L"C:\\setup.exe";
    PropertyBag bag;
    SaveLinkBox(saved, bag);

    FakeLinkBox restored;
    RestoreLinkBox(bag, restored);
    EXPECT_EQ(restored.alignment, 2);
    EXPECT_FALSE(restored.autoSize);
    EXPECT_EQ(restored.backColor, 0x00112233u);
    EXPECT_EQ(restored.caption, L"Download");
    EXPECT_FALSE(restored.captionIsPath);
    EXPECT_FALSE(restored.enabled);
    EXPECT_EQ(restored.font, saved.font);
    EXPECT_EQ(restored.foreColor, 0x000000FFu);
    EXPECT_TRUE(restored.hotTracking);
    EXPECT_EQ(restored.path, L"C:\\setup.exe");
    // The font comes before hot tracking, so the label keeps the stored underline.
    EXPECT_TRUE(restored.labelFont.underline);
    EXPECT_EQ(restored.calls, (std::vector<std::wstring>{
                                  L"SetAlignment", L"LabelAutoSize", L"SetBackColor",
                                  L"LabelCaption", L"StoreCaptionIsPath", L"SetEnabled", L"SetFont",
                                  L"SetForeColor", L"StoreHotTracking", L"SetPath"}));
}

TEST(LinkBoxPersistence, MissingValuesTakeTheirDefaults) {
    FakeLinkBox control;
    control.alignment = 1;
    control.caption = L"kept";
    control.backColor = 0x00ABCDEF;
    control.foreColor = 0x00010203;
    control.path = L"kept path";
    PropertyBag empty;
    RestoreLinkBox(empty, control);
    EXPECT_EQ(control.alignment, 0); // a missing Alignment reads as 0
    EXPECT_FALSE(control.autoSize);
    EXPECT_EQ(control.backColor, 0x00ABCDEFu);
    EXPECT_EQ(control.caption, L"kept");
    EXPECT_TRUE(control.captionIsPath);
    EXPECT_TRUE(control.enabled);
    EXPECT_EQ(control.font, LabelDesignFont()); // the label's current font
    EXPECT_EQ(control.foreColor, 0x00010203u);
    EXPECT_TRUE(control.hotTracking);
    EXPECT_EQ(control.path, L"kept path");
}

TEST(LinkBoxPersistence, AValueThatCannotBeReadOrAppliedIsSkipped) {
    PropertyBag bag;
    bag.Write(L"Alignment", L"7");      // refused by the setter
    bag.Write(L"AutoSize", L"perhaps"); // unreadable
    bag.Write(L"BackColor", L"99999999999");
    bag.Write(L"Caption", L"Next");
    bag.Write(L"Font", L"Arial;big;400;0;0;0;0");
    bag.Write(L"ForeColor", L"255");
    bag.Write(L"HotTracking", L"False");
    bag.Write(L"Path", L"p");
    FakeLinkBox control;
    control.alignment = 1;
    control.autoSize = true;
    RestoreLinkBox(bag, control);
    EXPECT_EQ(control.alignment, 1);
    EXPECT_TRUE(control.autoSize);
    EXPECT_EQ(control.backColor, ButtonFaceColor);
    EXPECT_EQ(control.caption, L"Next");
    EXPECT_EQ(control.font, LinkFont{}); // untouched
    EXPECT_EQ(control.foreColor, 255u);
    EXPECT_FALSE(control.hotTracking);
    EXPECT_EQ(control.path, L"p");
}

TEST(LinkBoxPersistence, ANewInstanceTakesTheDesignFontBlueAndHotTracking) {
    FakeLinkBox control;
    InitializeLinkBox(control);
    EXPECT_EQ(control.font, LabelDesignFont());
    EXPECT_FALSE(control.labelFont.underline); // hot tracking switches it off
    EXPECT_TRUE(control.captionIsPath);
    EXPECT_EQ(control.foreColor, LinkBlue);
    EXPECT_TRUE(control.hotTracking);
    EXPECT_EQ(control.calls, (std::vector<std::wstring>{L"SetFont", L"SetCaptionIsPath",
                                                        L"SetForeColor", L"SetHotTracking"}));
}

TEST(PropertyBag, NamesMatchWithoutCaseAndRewritesStayInPlace) {
    PropertyBag bag;
    bag.Write(L"Caption", L"a");
    bag.Write(L"Path", L"b");
    bag.Write(L"CAPTION", L"c");
    ASSERT_EQ(bag.Entries().size(), 2u);
    EXPECT_EQ(bag.Entries()[0].second, L"c");
    EXPECT_EQ(bag.Read(L"path"), L"b");
    EXPECT_FALSE(bag.Read(L"Font"));
}

} // namespace
