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

// The ten values a control saves, as one value to set and compare whole.
struct LinkBoxFields {
    std::int32_t alignment = 0;
    bool autoSize = true;
    std::uint32_t backColor = ButtonFaceColor;
    std::wstring caption;
    bool captionIsPath = false;
    bool enabled = true;
    LinkFont font;
    std::uint32_t foreColor = 0;
    bool hotTracking = false;
    std::wstring path;
    bool operator==(const LinkBoxFields&) const = default;
};

void PrintTo(const LinkBoxFields& f, std::ostream* os) {
    *os << f.alignment << " " << f.autoSize << " " << f.backColor << " "
        << testing::PrintToString(f.caption) << " " << f.captionIsPath << " " << f.enabled << " "
        << testing::PrintToString(FontToText(f.font)) << " " << f.foreColor << " " << f.hotTracking
        << " " << testing::PrintToString(f.path);
}

// A control as the persistence sees it: every setter call is recorded, with the rules
// of the real control (Alignment refuses values outside 0..2).
struct FakeLinkBox final : LinkBoxState {
    LinkBoxFields f;
    LinkFont labelFont = LabelDesignFont();
    std::vector<std::wstring> calls;

    template <typename T> void Record(const wchar_t* call, T& field, const T& value) {
        calls.push_back(call);
        field = value;
    }

    std::int32_t Alignment() const override { return f.alignment; }
    void SetAlignment(std::int32_t v) override {
        if (v < 0 || v > 2)
            throw std::invalid_argument("Alignment");
        Record(L"SetAlignment", f.alignment, v);
    }
    bool AutoSize() const override { return f.autoSize; }
    void SetLabelAutoSize(bool v) override { Record(L"LabelAutoSize", f.autoSize, v); }
    std::uint32_t BackColor() const override { return f.backColor; }
    void SetBackColor(std::uint32_t v) override { Record(L"SetBackColor", f.backColor, v); }
    std::wstring Caption() const override { return f.caption; }
    void SetLabelCaption(const std::wstring& v) override { Record(L"LabelCaption", f.caption, v); }
    bool CaptionIsPath() const override { return f.captionIsPath; }
    void SetCaptionIsPath(bool v) override { Record(L"SetCaptionIsPath", f.captionIsPath, v); }
    void StoreCaptionIsPath(bool v) override { Record(L"StoreCaptionIsPath", f.captionIsPath, v); }
    bool Enabled() const override { return f.enabled; }
    void SetEnabled(bool v) override { Record(L"SetEnabled", f.enabled, v); }
    LinkFont Font() const override { return f.font; }
    LinkFont LabelFont() const override { return labelFont; }
    void SetFont(const LinkFont& v) override {
        Record(L"SetFont", f.font, v);
        labelFont = v;
        if (f.hotTracking)
            labelFont.underline = false;
    }
    std::uint32_t ForeColor() const override { return f.foreColor; }
    void SetForeColor(std::uint32_t v) override { Record(L"SetForeColor", f.foreColor, v); }
    bool HotTracking() const override { return f.hotTracking; }
    void SetHotTracking(bool v) override {
        Record(L"SetHotTracking", f.hotTracking, v);
        if (v)
            labelFont.underline = false;
    }
    void StoreHotTracking(bool v) override { Record(L"StoreHotTracking", f.hotTracking, v); }
    std::wstring Path() const override { return f.path; }
    void SetPath(const std::wstring& v) override { Record(L"SetPath", f.path, v); }
};

TEST(LinkBoxPersistence, SaveWritesAllTenInOrder) {
    FakeLinkBox control;
    control.f.caption = L"http://www.example.com/Rurivur/Varnholt_Setup.exe";
    control.f.foreColor = LinkBlue;
    control.f.font = LinkFont{L"Arial", 10, 700, false, true, false, 0};
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
    saved.f = {.alignment = 2,
               .autoSize = false,
               .backColor = 0x00112233,
               .caption = L"Download",
               .captionIsPath = false,
               .enabled = false,
               .font = LinkFont{L"Arial", 10, 700, false, true, false, 0},
               .foreColor = 0x000000FF,
               .hotTracking = true,
               .path = L"C:\\setup.exe"};
    PropertyBag bag;
    SaveLinkBox(saved, bag);

    FakeLinkBox restored;
    RestoreLinkBox(bag, restored);
    EXPECT_EQ(restored.f, saved.f);
    // The font comes before hot tracking, so the label keeps the stored underline.
    EXPECT_TRUE(restored.labelFont.underline);
    EXPECT_EQ(restored.calls, (std::vector<std::wstring>{
                                  L"SetAlignment", L"LabelAutoSize", L"SetBackColor",
                                  L"LabelCaption", L"StoreCaptionIsPath", L"SetEnabled", L"SetFont",
                                  L"SetForeColor", L"StoreHotTracking", L"SetPath"}));
}

TEST(LinkBoxPersistence, MissingValuesTakeTheirDefaults) {
    FakeLinkBox control;
    control.f.alignment = 1;
    control.f.caption = L"kept";
    control.f.backColor = 0x00ABCDEF;
    control.f.foreColor = 0x00010203;
    control.f.path = L"kept path";
    PropertyBag empty;
    RestoreLinkBox(empty, control);
    // A missing Alignment reads as 0; the font is the label's current one.
    EXPECT_EQ(control.f, (LinkBoxFields{0, false, 0x00ABCDEF, L"kept", true, true,
                                        LabelDesignFont(), 0x00010203, true, L"kept path"}));
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
    control.f.alignment = 1;
    RestoreLinkBox(bag, control);
    // The font untouched; the values missing from the bag take their defaults.
    EXPECT_EQ(control.f, (LinkBoxFields{1, true, ButtonFaceColor, L"Next", true, true, LinkFont{},
                                        255, false, L"p"}));
}

TEST(LinkBoxPersistence, ANewInstanceTakesTheDesignFontBlueAndHotTracking) {
    FakeLinkBox control;
    InitializeLinkBox(control);
    EXPECT_EQ(control.f.font, LabelDesignFont());
    EXPECT_FALSE(control.labelFont.underline); // hot tracking switches it off
    EXPECT_TRUE(control.f.captionIsPath);
    EXPECT_EQ(control.f.foreColor, LinkBlue);
    EXPECT_TRUE(control.f.hotTracking);
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
