// LeadingNumber, which reads every number a switch argument holds, and the rounding of it.
#include "platform/RunError.h"
#include "text/Numbers.h"

#include <gtest/gtest.h>

namespace {

// Each text and the number read from it: decimal with sign and fraction (the point only,
// whatever the locale), what follows ignored; blanks, tabs and line feeds skipped
// everywhere, a carriage return not; hexadecimal and octal with the 16-bit rule (five
// digits: 32-bit), blanks inside the prefix and the digits.
TEST(LeadingNumber, DecimalHexadecimalAndOctalForms) {
    const struct {
        const wchar_t* text;
        double value;
    } rows[] = {{L" 1049", 1049},     {L"12abc", 12},
                {L"abc", 0},          {L"", 0},
                {L"-3", -3},          {L"+7", 7},
                {L"2.75", 2.75},      {L".5", 0.5},
                {L"1.2.3", 1.2},      {L".", 0},
                {L"-.", 0},           {L"3,5", 3},
                {L"1 0 4 9", 1049},   {L" 1 2", 12},
                {L"\t-\n3", -3},      {L"2 . 5", 2.5},
                {L"1\r2", 1},         {L"&H419", 1049},
                {L"& H4 19", 1049},   {L"&H4 19", 1049},
                {L"&h419", 1049},     {L"&HFFFF", -1},
                {L"&H8000", -32768},  {L"&H7FFF", 32767},
                {L"&H0FFFF", 65535},  {L"&HFFFFFFFF", -1},
                {L"&H10000", 65536},  {L"&HFFG", 255},
                {L"&O17", 15},        {L"&O177777", -1},
                {L"&O200000", 65536}, {L"&O8", 0},
                {L"&X1", 0},          {L"&", 0}};
    for (const auto& row : rows) {
        const double read = LeadingNumber(row.text);
        if (row.value == static_cast<int>(row.value))
            EXPECT_EQ(read, row.value) << testing::PrintToString(row.text); // exactly
        else
            EXPECT_DOUBLE_EQ(read, row.value) << testing::PrintToString(row.text);
    }
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

} // namespace
