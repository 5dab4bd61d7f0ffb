// TextAfter, LeadingNumber and the rounding of numeric switch arguments.
#include "platform/RunError.h"
#include "text/Numbers.h"
#include "text/TextUtil.h"

#include <gtest/gtest.h>

namespace {

TEST(TextAfter, SeparatorFoundOrAbsent) {
    EXPECT_EQ(TextAfter(L"a=b=c", L"="), L"b=c");
    EXPECT_EQ(TextAfter(L"abc", L"="), L"");
    EXPECT_EQ(TextAfter(L"abc", L"=", 0, false), L"abc");
    EXPECT_EQ(TextAfter(L"abc=", L"="), L"");
    EXPECT_EQ(TextAfter(L"a::/b::/c", L"::/"), L"b::/c");
}

TEST(TextAfter, LengthLimitsTheResult) {
    EXPECT_EQ(TextAfter(L"a=bcdef", L"=", 3), L"bcd");
    EXPECT_EQ(TextAfter(L"a=bc", L"=", 10), L"bc");
}

TEST(TextAfter, CompareModes) {
    EXPECT_EQ(TextAfter(L"xABCy", L"abc"), L"");
    EXPECT_EQ(TextAfter(L"xABCy", L"abc", 0, true, CompareMode::Text), L"y");
    EXPECT_EQ(TextAfter(L"ПОИСК:x", L"поиск:", 0, true, CompareMode::Text), L"x");
}

TEST(LeadingNumber, DecimalForms) {
    EXPECT_EQ(LeadingNumber(L" 1049"), 1049);
    EXPECT_EQ(LeadingNumber(L"12abc"), 12);
    EXPECT_EQ(LeadingNumber(L"abc"), 0);
    EXPECT_EQ(LeadingNumber(L""), 0);
    EXPECT_EQ(LeadingNumber(L"-3"), -3);
    EXPECT_EQ(LeadingNumber(L"+7"), 7);
    EXPECT_DOUBLE_EQ(LeadingNumber(L"2.75"), 2.75);
    EXPECT_DOUBLE_EQ(LeadingNumber(L".5"), 0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber(L"1.2.3"), 1.2);
    EXPECT_EQ(LeadingNumber(L"."), 0);
    EXPECT_EQ(LeadingNumber(L"-."), 0);
    EXPECT_EQ(LeadingNumber(L"3,5"), 3); // the point only, whatever the locale
}

TEST(LeadingNumber, BlanksTabsAndLineFeedsAreSkippedEverywhere) {
    EXPECT_EQ(LeadingNumber(L"1 0 4 9"), 1049);
    EXPECT_EQ(LeadingNumber(L" 1 2"), 12);
    EXPECT_EQ(LeadingNumber(L"\t-\n3"), -3);
    EXPECT_DOUBLE_EQ(LeadingNumber(L"2 . 5"), 2.5);
    EXPECT_EQ(LeadingNumber(L"1\r2"), 1); // a carriage return is not skipped
}

TEST(LeadingNumber, HexadecimalAndOctalWithThe16BitRule) {
    EXPECT_EQ(LeadingNumber(L"&H419"), 1049);
    EXPECT_EQ(LeadingNumber(L"& H4 19"), 1049); // blanks inside the prefix and the digits
    EXPECT_EQ(LeadingNumber(L"&H4 19"), 1049);
    EXPECT_EQ(LeadingNumber(L"&h419"), 1049);
    EXPECT_EQ(LeadingNumber(L"&HFFFF"), -1);
    EXPECT_EQ(LeadingNumber(L"&H8000"), -32768);
    EXPECT_EQ(LeadingNumber(L"&H7FFF"), 32767);
    EXPECT_EQ(LeadingNumber(L"&H0FFFF"), 65535); // five digits: 32-bit
    EXPECT_EQ(LeadingNumber(L"&HFFFFFFFF"), -1);
    EXPECT_EQ(LeadingNumber(L"&H10000"), 65536);
    EXPECT_EQ(LeadingNumber(L"&HFFG"), 255);
    EXPECT_EQ(LeadingNumber(L"&O17"), 15);
    EXPECT_EQ(LeadingNumber(L"&O177777"), -1);
    EXPECT_EQ(LeadingNumber(L"&O200000"), 65536);
    EXPECT_EQ(LeadingNumber(L"&O8"), 0);
    EXPECT_EQ(LeadingNumber(L"&X1"), 0);
    EXPECT_EQ(LeadingNumber(L"&"), 0);
}

TEST(LeadingNumber, Beyond32BitsKeepsTheFullValue) {
    EXPECT_EQ(LeadingNumber(L"&H100000000"), 4294967296.0);
    EXPECT_EQ(LeadingNumber(L"&O40000000000"), 4294967296.0);
    EXPECT_GT(LeadingNumber(L"&HFFFFFFFFFFFFFFFFFFFFFFFF"), 1e28);
    EXPECT_THROW(RoundToInt32(LeadingNumber(L"&H100000000")), RunError);
}

TEST(LeadingNumber, NarrowTextReadsTheSame) {
    EXPECT_EQ(LeadingNumber(std::string_view("1 0")), 10);
    EXPECT_EQ(LeadingNumber(std::string_view("\xC0"
                                             "1")),
              0);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundToInt16(2.5), 2);
    EXPECT_EQ(RoundToInt16(3.5), 4);
    EXPECT_EQ(RoundToInt16(-2.5), -2);
    EXPECT_EQ(RoundToInt16(-3.5), -4);
    EXPECT_EQ(RoundToInt16(0.5), 0);
    EXPECT_EQ(RoundToInt16(1.5), 2);
    EXPECT_EQ(RoundToInt16(2.51), 3);
    EXPECT_EQ(RoundToInt16(-0.4), 0);
    EXPECT_EQ(RoundToInt32(2147483646.5), 2147483646);
    EXPECT_EQ(RoundToInt32(-2147483648.4), -2147483647 - 1);
}

TEST(Rounding, BoundsOfEachTarget) {
    EXPECT_EQ(RoundToInt16(32767.49), 32767);
    EXPECT_THROW(RoundToInt16(32767.5), RunError); // rounds to 32768
    EXPECT_THROW(RoundToInt16(-32768.51), RunError);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768); // halves to even: -32768
    EXPECT_THROW(RoundToInt32(2147483647.5), RunError);
    EXPECT_THROW(RoundToInt32(-2147483649.0), RunError);
    EXPECT_EQ(RoundToInt32(-2147483648.5), -2147483647 - 1);
}

TEST(Rounding, OverflowReportNamesTheValue) {
    try {
        RoundToInt16(40000);
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(ErrorReportText(e), L"Run-time error: Overflow\r\n40000");
    }
}

TEST(ErrorReport, NamesEveryKindInFull) {
    const std::pair<ErrorKind, const wchar_t*> names[] = {
        {ErrorKind::Overflow, L"Overflow"},
        {ErrorKind::InvalidArgument, L"Invalid procedure call or argument"},
        {ErrorKind::MissingField, L"Missing field"},
        {ErrorKind::FileAccess, L"File access error"},
        {ErrorKind::System, L"System error"}};
    for (const auto& [kind, name] : names)
        EXPECT_EQ(ErrorReportText(RunError(kind)), std::wstring(L"Run-time error: ") + name);
}

} // namespace
