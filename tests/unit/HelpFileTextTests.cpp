// The registry texts of /reg, /run and /move.
#include "platform/RunError.h"
#include "platform/PathText.h"
#include "registry/HelpFileText.h"
#include "tests/support/RunErrorOf.h"

#include <gtest/gtest.h>

namespace {

TEST(ProductKeyPath, CompanyThenProduct) {
    EXPECT_EQ(ProductKeyPath(L"Varnholt", L"Quillbay"), L"SOFTWARE\\Varnholt\\Quillbay");
}

TEST(RegisterFields, ThreeFieldsAsGivenFurtherOnesIgnored) {
    const auto fields = RegisterFields(L" Atlas=C:\\Books\\=2.5");
    EXPECT_EQ(fields[0], L" Atlas");
    EXPECT_EQ(fields[1], L"C:\\Books\\");
    EXPECT_EQ(fields[2], L"2.5");
    const auto more = RegisterFields(L"a=b=c=d");
    EXPECT_EQ(more[2], L"c");
    const auto empty = RegisterFields(L"==");
    EXPECT_EQ(empty[0], L"");
    EXPECT_EQ(empty[2], L"");
}

TEST(RegisterFields, FewerThanThreeFieldsIsAMissingField) {
    EXPECT_EQ(KindOf([] { RegisterFields(L"Atlas"); }), ErrorKind::MissingField);
    EXPECT_EQ(KindOf([] { RegisterFields(L"Atlas=C:\\Books\\"); }), ErrorKind::MissingField);
    EXPECT_EQ(KindOf([] { RegisterFields(L""); }), ErrorKind::MissingField);
}

// The folder and the extension go, and so does a language suffix: from the last "-" after
// the first character on.
TEST(HelpFileName, ExtensionAndLanguageSuffixGo) {
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L" C:\\Books\\Atlas-1049.chm", L"Atlas"},
        {L"Atlas.chm", L"Atlas"},
        {L"a-b-c.chm", L"a-b"},
        {L"-x.chm", L"-x"},
        {L"x-1.chm", L"x"},
        {L"C:\\a.b\\x.y.chm", L"x.y"},
        {L"C:\\dir-1\\Book.chm", L"Book"}};
    for (const auto& [path, name] : rows)
        EXPECT_EQ(HelpFileName(path), name) << testing::PrintToString(path);
}

TEST(HelpFileName, FileNameWithoutDotIsAnError) {
    EXPECT_EQ(KindOf([] { HelpFileName(L"C:\\Books.d\\Atlas"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(KindOf([] { HelpFileName(L""); }), ErrorKind::InvalidArgument);
}

TEST(FolderWithSlash, UpToAndIncludingTheLastBackslash) {
    EXPECT_EQ(FolderWithSlash(L" C:\\Books\\Atlas-1049.chm"), L" C:\\Books\\");
    EXPECT_EQ(FolderWithSlash(L"Atlas.chm"), L"");
    EXPECT_EQ(FolderWithSlash(L"C:\\"), L"C:\\");
}

TEST(RectText, WidthAndHeightFromTheCorners) {
    EXPECT_EQ(RectText(100, 50, 900, 650), L"100,50,800,600");
    EXPECT_EQ(RectText(-8, 0, 1288, 1000), L"-8,0,1296,1000");
}

TEST(ParseRectText, FourNumbersOrNothing) {
    EXPECT_EQ(ParseRectText(L"10,20,800,600"), (Box{10, 20, 800, 600}));
    EXPECT_EQ(ParseRectText(L"-8,0,1296,1000"), (Box{-8, 0, 1296, 1000}));
    EXPECT_EQ(ParseRectText(L" 10, 20 ,800,600"), (Box{10, 20, 800, 600}));
    EXPECT_EQ(ParseRectText(L"10,\t20\t,800,\t600"), (Box{10, 20, 800, 600}));
    EXPECT_EQ(ParseRectText(L"1.5,2.5,3,4"), (Box{2, 2, 3, 4}));
    EXPECT_FALSE(ParseRectText(L"10,20,800"));
    EXPECT_FALSE(ParseRectText(L""));
    EXPECT_FALSE(ParseRectText(L"1,2,3,4,5"));
}

TEST(ParseRectText, FieldThatIsNotANumberIsAnError) {
    EXPECT_EQ(KindOf([] { ParseRectText(L"10,x,800,600"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(KindOf([] { ParseRectText(L"10,,800,600"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(KindOf([] { ParseRectText(L"10,20px,800,600"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(KindOf([] { ParseRectText(L"10,-,800,600"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(KindOf([] { ParseRectText(L"10,20,800,3000000000"); }), ErrorKind::Overflow);
}

} // namespace
