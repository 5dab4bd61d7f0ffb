// The shared text routines: the cases that catch real faults.
#include "text/TextSplit.h"
#include "text/TextUtil.h"

#include <gtest/gtest.h>

namespace {

using Tokens = std::vector<std::wstring>;

TEST(TextBefore, FirstOccurrenceCaseSensitive) {
    EXPECT_EQ(TextBefore(L"x.chm.chm", L".chm"), L"x");
    EXPECT_EQ(TextBefore(L"X.CHM", L".chm"), L"X.CHM");
    EXPECT_EQ(TextBefore(L"abc", L""), L"abc");
    EXPECT_EQ(TextBefore(L"=abc", L"="), L"");
}

// The text after the first separator, at most length characters (0: all); without the
// separator empty or the whole text; the separator found exactly or as text, in any case.
TEST(TextAfter, SeparatorFoundOrAbsentLengthAndCompareMode) {
    EXPECT_EQ(TextAfter(L"a=b=c", L"="), L"b=c");
    EXPECT_EQ(TextAfter(L"abc", L"="), L"");
    EXPECT_EQ(TextAfter(L"abc", L"=", 0, false), L"abc");
    EXPECT_EQ(TextAfter(L"abc=", L"="), L"");
    EXPECT_EQ(TextAfter(L"a::/b::/c", L"::/"), L"b::/c");
    EXPECT_EQ(TextAfter(L"a=bcdef", L"=", 3), L"bcd");
    EXPECT_EQ(TextAfter(L"a=bc", L"=", 10), L"bc");
    EXPECT_EQ(TextAfter(L"xABCy", L"abc"), L"");
    EXPECT_EQ(TextAfter(L"xABCy", L"abc", 0, true, CompareMode::Text), L"y");
    EXPECT_EQ(TextAfter(L"ПОИСК:x", L"поиск:", 0, true, CompareMode::Text), L"x");
}

TEST(IndexOfValue, PositionOrMinusOne) {
    const std::vector<std::int32_t> cyrillic{1049, 1058, 1059, 1026};
    EXPECT_EQ(IndexOfValue(&cyrillic, 1059), 2);
    EXPECT_EQ(IndexOfValue(&cyrillic, 1049), 0);
    EXPECT_EQ(IndexOfValue(&cyrillic, 7), -1);
    EXPECT_EQ(IndexOfValue(nullptr, 1049), -1);
    const std::vector<std::int32_t> twice{5, 7, 7};
    EXPECT_EQ(IndexOfValue(&twice, 7), 1);
}

TEST(CountOccurrences, OverlappingHitsCount) {
    EXPECT_EQ(CountOccurrences(L"aaa", L"aa"), 2);
    EXPECT_EQ(CountOccurrences(L"aaaa", L"aa"), 3);
    EXPECT_EQ(CountOccurrences(L"abc", L""), 0);
    EXPECT_EQ(CountOccurrences(L"", L"a"), 0);
    EXPECT_EQ(CountOccurrences(L"aAa", L"a"), 2); // case-sensitive
}

TEST(SplitText, EveryPartBetweenSeparatorsEmptyOnesIncluded) {
    EXPECT_EQ(SplitText(L"a;b;c", L";"), (Tokens{L"a", L"b", L"c"}));
    EXPECT_EQ(SplitText(L"a::b", L"::"), (Tokens{L"a", L"b"}));
    EXPECT_EQ(SplitText(L";a", L";"), (Tokens{L"", L"a"}));
    EXPECT_EQ(SplitText(L"a;;b;", L";"), (Tokens{L"a", L"", L"b", L""}));
    EXPECT_EQ(SplitText(L"", L";"), (Tokens{L""}));
    EXPECT_EQ(SplitText(L"abc", L""), (Tokens{L"abc"}));
    EXPECT_EQ(SplitText(L"line1\r\nline2", L"\r\n"), (Tokens{L"line1", L"line2"}));
}

TEST(SplitToArray, StopsAtTheFirstEmptyToken) {
    EXPECT_EQ(SplitToArray(L"2.127", L"."), (Tokens{L"2", L"127"}));
    EXPECT_EQ(SplitToArray(L"2..1", L"."), (Tokens{L"2"}));
    EXPECT_EQ(SplitToArray(L"1.2.", L"."), (Tokens{L"1", L"2"}));
    EXPECT_EQ(SplitToArray(L"abc", L"."), (Tokens{L"abc"}));
    EXPECT_EQ(SplitToArray(L"a\r\nb"), (Tokens{L"a", L"b"}));
}

TEST(SplitToArray, NoArrayIsNotAnEmptyArray) {
    EXPECT_FALSE(SplitToArray(L"", L"."));
    EXPECT_FALSE(SplitToArray(L".5", L"."));
    EXPECT_FALSE(SplitToArray(L".", L"."));
    const auto one = SplitToArray(L"5", L".");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->size(), 1u);
}

// The value of the key in any case, up to the terminator. An earlier longer key ending in
// the key wins; an occurrence not followed by "=", or inside a pair of U+0002, is passed
// over; an underscore in the key matches a blank.
TEST(GetKeyValue, FindsValueInAnyCaseUpToTheTerminator) {
    const std::wstring body = L"Version = 2.128;Size=1000";
    EXPECT_EQ(GetKeyValue(body, L"Version", L";"), L"2.128");
    EXPECT_EQ(GetKeyValue(body, L"VERSION", L";"), L"2.128");
    EXPECT_EQ(GetKeyValue(body, L"Size", L";"), L"1000");
    EXPECT_EQ(GetKeyValue(L"Version=\"2.128\";", L"Version", L";"), L"\"2.128\"");
    EXPECT_EQ(GetKeyValue(L"Version=2.128 ;", L"Version", L";"), L"2.128 ");
    EXPECT_EQ(GetKeyValue(L"a=1\r\nb=2\r\n", L"b"), L"2");
    EXPECT_EQ(GetKeyValue(L"AppVersion=9.9;Version=2.128;", L"Version", L";"), L"9.9");
    EXPECT_EQ(GetKeyValue(L"Version: x; Version=3;", L"Version", L";"), L"3");
    EXPECT_EQ(GetKeyValue(L"\x02Version=1\x02;Version=2;", L"Version", L";"), L"2");
    EXPECT_EQ(GetKeyValue(L"Setup Size=77;", L"Setup_Size", L";"), L"77");
}

TEST(GetKeyValue, PositionVariable) {
    std::int32_t position = 0;
    const std::wstring text = L"k=1;k=2;";
    EXPECT_EQ(GetKeyValue(text, L"k", L";", &position), L"1");
    EXPECT_EQ(position, 3); // set to 1, then advanced by 1 + length of the key
    EXPECT_EQ(GetKeyValue(text, L"k", L";", &position), L"2");
    EXPECT_EQ(GetKeyValue(text, L"absent", L";", &position), L"");
    EXPECT_EQ(position, -1);
}

// Numerically per component; a shorter version that agrees is the lower; the split stops at
// the first empty token.
TEST(CompareVersions, OrderOfDottedVersions) {
    const struct {
        const wchar_t* a;
        const wchar_t* b;
        int order;
    } rows[] = {{L"2.127", L"2.128", -1}, {L"2.128", L"2.127", 1}, {L"2.127", L"2.127", 0},
                {L"3", L"2.999", 1},      {L"2.10", L"2.9", 1},    {L"2.127", L"2.13", 1},
                {L"", L"1", -1},          {L"1", L"", 1},          {L"", L"", 0},
                {L"1.0", L"1.0.0", -1},   {L"1.0.0", L"1.0", 1},   {L"2..5", L"2", 0},
                {L".5", L"1", -1},        {L".5", L".7", 0}};
    for (const auto& row : rows)
        EXPECT_EQ(CompareVersions(row.a, row.b), row.order)
            << testing::PrintToString(row.a) << " " << testing::PrintToString(row.b);
}

} // namespace
