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

TEST(ChooseLayout, RequestedCyrillicLanguageInstalledIsTakenFirstInSystemOrder) {
    const LayoutChoice choice = ChooseLayout(1049, {1033, 1049, 1058, 1049});
    EXPECT_EQ(choice.position, 1);
    EXPECT_EQ(choice.layoutName, L"");
}

TEST(ChooseLayout, MissingCyrillicLanguageFallsBackInFixedOrder) {
    // no Ukrainian; Belarusian comes before Russian in the installed list, but Russian
    // comes first in the fallback order
    EXPECT_EQ(ChooseLayout(1058, {1033, 1059, 1049}).position, 2);
    EXPECT_EQ(ChooseLayout(1049, {1026, 1059, 1058}).position, 2);
    EXPECT_EQ(ChooseLayout(1026, {1033, 1059}).position, 1);
    EXPECT_EQ(ChooseLayout(1059, {1026}).position, 0);
}

TEST(ChooseLayout, NoCyrillicLayoutInstalledLoadsByName) {
    const LayoutChoice choice = ChooseLayout(1049, {1033, 1031});
    EXPECT_EQ(choice.position, -1);
    EXPECT_EQ(choice.layoutName, L"00000419");
    EXPECT_EQ(ChooseLayout(1058, {}).layoutName, L"00000422");
}

TEST(ChooseLayout, OtherLanguagesAreAlwaysLoadedByName) {
    const LayoutChoice english = ChooseLayout(1033, {1033, 1049});
    EXPECT_EQ(english.position, -1);
    EXPECT_EQ(english.layoutName, L"00000409");
    EXPECT_EQ(ChooseLayout(1036, {1036}).layoutName, L"0000040C");
    EXPECT_EQ(ChooseLayout(0, {1049}).layoutName, L"00000000");
    // a layout handle's full value is not a language: only its low word is
    EXPECT_EQ(ChooseLayout(0x04190419, {1049}).layoutName, L"04190419");
}

} // namespace
