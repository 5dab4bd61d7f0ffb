// The layout /keyb asks for: installed Cyrillic layouts with their fallback order, and
// the layout name for everything else.
#include "viewer/LayoutChoice.h"

#include <gtest/gtest.h>

namespace {

TEST(LayoutName, EightUpperCaseHexDigits) {
    EXPECT_EQ(LayoutName(1049), L"00000419");
    EXPECT_EQ(LayoutName(1036), L"0000040C");
    EXPECT_EQ(LayoutName(1033), L"00000409");
    EXPECT_EQ(LayoutName(0), L"00000000");
    EXPECT_EQ(LayoutName(0x1000ABCD), L"1000ABCD");
    EXPECT_EQ(LayoutName(-1), L"FFFFFFFF");
}

// A Cyrillic language installed is taken, first in the system's order; a missing one falls
// back in a fixed order (Russian before Belarusian, whatever the installed list says); with
// no Cyrillic layout installed, and for every other language, the layout is loaded by name,
// of the low word only when the value is a layout handle's.
TEST(ChooseLayout, InstalledPositionOrTheLayoutNameToLoad) {
    const struct {
        std::int32_t language;
        std::vector<std::int32_t> installed;
        std::int32_t position;
        const wchar_t* layoutName;
    } rows[] = {
        {1049, {1033, 1049, 1058, 1049}, 1, L""},
        {1058, {1033, 1059, 1049}, 2, L""}, // no Ukrainian
        {1049, {1026, 1059, 1058}, 2, L""},
        {1026, {1033, 1059}, 1, L""},
        {1059, {1026}, 0, L""},
        {1049, {1033, 1031}, -1, L"00000419"},
        {1058, {}, -1, L"00000422"},
        {1033, {1033, 1049}, -1, L"00000409"},
        {1036, {1036}, -1, L"0000040C"},
        {0, {1049}, -1, L"00000000"},
        {0x04190419, {1049}, -1, L"04190419"},
    };
    for (const auto& row : rows) {
        const LayoutChoice choice = ChooseLayout(row.language, row.installed);
        EXPECT_EQ(choice.position, row.position) << "row " << &row - rows;
        EXPECT_EQ(choice.layoutName, row.layoutName) << "row " << &row - rows;
    }
}

} // namespace
