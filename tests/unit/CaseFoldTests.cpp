// Case-insensitive matching as used for switches, classes, titles and keys.
#include "text/CaseFold.h"
#include "text/PathText.h"

#include <gtest/gtest.h>

namespace {

TEST(CaseFold, LatinCyrillicAndGreekLetters) {
    EXPECT_TRUE(EqualsNoCase(L"HH Parent", L"hh parent"));
    EXPECT_TRUE(EqualsNoCase(L"Поиск", L"поиск"));
    EXPECT_TRUE(EqualsNoCase(L"ЁЖИК", L"ёжик"));
    EXPECT_TRUE(EqualsNoCase(L"ЇЄІЎ", L"їєіў"));
    EXPECT_TRUE(EqualsNoCase(L"ÀÉÖ", L"àéö"));
    EXPECT_TRUE(EqualsNoCase(L"ΣΩ", L"σω"));
    EXPECT_FALSE(EqualsNoCase(L"×", L"÷")); // not letters
    EXPECT_TRUE(EqualsNoCase(L"\u0130", L"i"));
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

TEST(PathText, FolderAndNameOfTheProgram) {
    EXPECT_EQ(FolderOfPath(L"C:\\Program Files\\Q\\Varnholt.exe"), L"C:\\Program Files\\Q");
    EXPECT_EQ(FileNameWithoutExtension(L"C:\\Q\\Varnholt.exe"), L"Varnholt");
    EXPECT_EQ(FileNameWithoutExtension(L"C:\\Q\\Varnholt.renamed.bin"), L"Varnholt.renamed");
    EXPECT_EQ(FileNameWithoutExtension(L"C:\\Q.d\\Varnholt"), L"Varnholt");
    EXPECT_EQ(FolderOfPath(L"Varnholt.exe"), L"");
}

} // namespace
