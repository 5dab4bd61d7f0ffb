// Case-insensitive matching as used for switches, classes, titles, keys and favourites.
// The same cases run natively against the table and under Windows against the system.
#include "app/SwitchTable.h"
#include "text/CaseFold.h"
#include "platform/PathText.h"

#include <gtest/gtest.h>

namespace {

TEST(CaseFold, LatinCyrillicAndGreekLetters) {
    EXPECT_TRUE(EqualsNoCase(L"HH Parent", L"hh parent"));
    EXPECT_TRUE(EqualsNoCase(L"Поиск", L"поиск"));
    EXPECT_TRUE(EqualsNoCase(L"ЁЖИК", L"ёжик"));
    EXPECT_TRUE(EqualsNoCase(L"ЇЄІЎ", L"їєіў"));
    EXPECT_TRUE(EqualsNoCase(L"ÀÉÖ", L"àéö"));
    EXPECT_TRUE(EqualsNoCase(L"ΣΩ", L"σω"));
    EXPECT_TRUE(EqualsNoCase(L"ΛΟΓΟΣ", L"λογος"));               // final sigma
    EXPECT_TRUE(EqualsNoCase(L"\u00b5\u039c", L"\u03bc\u00b5")); // micro sign and mu
    EXPECT_TRUE(EqualsNoCase(L"\u01a0\u01af", L"\u01a1\u01b0")); // horned O and U
    // The first and last letter of each range.
    EXPECT_TRUE(EqualsNoCase(L"АЯΑΩAZ", L"аяαωaz"));
    EXPECT_FALSE(EqualsNoCase(L"@[", L"`{")); // the neighbours of A and Z
    EXPECT_FALSE(EqualsNoCase(L"×", L"÷"));   // not letters
    EXPECT_FALSE(EqualsNoCase(L"\u0130", L"\u0131"));
    EXPECT_TRUE(EqualsNoCase(L"\u0100\u017D", L"\u0101\u017E"));
    EXPECT_FALSE(EqualsNoCase(L"Find", L"Finds"));
    EXPECT_FALSE(EqualsNoCase(L"Ф", L"Х"));
}

TEST(CaseFold, FindAndPrefix) {
    EXPECT_EQ(FindNoCase(L"a/VERSION", L"/ver"), 1u);
    EXPECT_EQ(FindNoCase(L"abc", L"x"), std::wstring_view::npos);
    EXPECT_EQ(FindNoCase(L"aXaX", L"xa", 2), std::wstring_view::npos);
    EXPECT_EQ(FindNoCase(L"aXaXa", L"xa", 2), 3u);
    EXPECT_EQ(FindNoCase(L"a", L"abc"), std::wstring_view::npos);
    EXPECT_TRUE(StartsWithNoCase(L";VAR ext_BM", L";var"));
    EXPECT_FALSE(StartsWithNoCase(L";v", L";var"));
}

// Under Windows these run in a Turkish user locale (the tests named TurkishLocale*): its
// casing pairs I with dotless i and dotted I with i. Switch names keep ASCII casing.
TEST(TurkishLocaleCaseFold, SwitchNamesInCapitalsAreFoundWhileTextKeepsTheLocalesCasing) {
#ifdef _WIN32
    ASSERT_FALSE(EqualsNoCase(L"I", L"i")) << "not run under Turkish casing rules";
    EXPECT_TRUE(EqualsNoCase(L"TITLE", L"t\u0131tle"));
#endif
    EXPECT_EQ(ChooseSwitch(L"/TITLE New").id, Switch::Title);
    EXPECT_EQ(ChooseSwitch(L"/EXIT").id, Switch::Exit);
    EXPECT_EQ(ChooseSwitch(L"/Find x").id, Switch::Find);
    EXPECT_EQ(ChooseSwitch(L"/T\u0131TLE New").id, Switch::Unknown);
    EXPECT_TRUE(EqualsAsciiNoCase(L"/TITLE", L"/title"));
    EXPECT_EQ(FindAsciiNoCase(L"ab/TiTlE", L"/title"), 2u);
    EXPECT_EQ(FindAsciiNoCase(L"/titl", L"/title"), std::wstring_view::npos);
}

TEST(PathText, FolderAndNameOfTheProgram) {
    EXPECT_EQ(FolderOfPath(L"C:\\Program Files\\Q\\Varnholt.exe"), L"C:\\Program Files\\Q");
    EXPECT_EQ(FileNameWithoutExtension(L"C:\\Q\\Varnholt.exe"), L"Varnholt");
    EXPECT_EQ(FileNameWithoutExtension(L"C:\\Q\\Varnholt.renamed.bin"), L"Varnholt.renamed");
    EXPECT_EQ(FileNameWithoutExtension(L"C:\\Q.d\\Varnholt"), L"Varnholt");
    EXPECT_EQ(FolderOfPath(L"Varnholt.exe"), L"");
}

} // namespace
