// The Favorites argument and the rewrite of ext_BM.js, without files.
#include "platform/RunError.h"
#include "favorites/FavoritesRewrite.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::wstring>;

const std::wstring Header = L";var ext_BM=\"\"";
const std::wstring Location = L"mk:@MSITStore:C:\\Dict\\Quillbay.chm::/html/a.htm";

std::wstring Section(const std::wstring& name) {
    return L"+\"[" + name + L"]\x01\"";
}
std::wstring Entry(const std::wstring& name, const std::wstring& topic) {
    return L"+\"" + name + L"=" + topic + L"\x01\"";
}

FavoritesRequest Request(const std::wstring& argument, bool add = true) {
    const auto request = ReadFavoritesArgument(argument, add);
    EXPECT_TRUE(request) << "no request from the argument";
    return request.value_or(FavoritesRequest{});
}

// The rewrite of a file of these lines, as lines.
Lines Rewrite(const Lines& old, const FavoritesRequest& request) {
    return SplitFileLines(RewriteFavorites(JoinFileLines(old), request));
}

// /bmadd or /bmdel of name for a help file in C:\Dict.
Lines Add(const Lines& old, const std::wstring& name, const std::wstring& topic,
          const std::wstring& helpFile = L"Quillbay.chm") {
    return Rewrite(old, Request(name + L"=mk:@MSITStore:C:\\Dict\\" + helpFile + L"::/" + topic));
}
Lines Delete(const Lines& old, const std::wstring& name,
             const std::wstring& helpFile = L"Quillbay.chm") {
    return Rewrite(old,
                   Request(name + L"=mk:@MSITStore:C:\\Dict\\" + helpFile + L"::/x.htm", false));
}

TEST(FavoritesArgument, DerivesEveryValueFromNameAndLocation) {
    const FavoritesRequest r = Request(L" Word=" + Location);
    EXPECT_EQ(r.name, L" Word");
    EXPECT_EQ(r.topic, L"html/a.htm");
    EXPECT_EQ(r.folder, L"C:\\Dict\\");
    EXPECT_EQ(r.section, L"Quillbay");
    EXPECT_EQ(r.favoritesFile, L"C:\\Dict\\ext_BM.js");
    EXPECT_EQ(r.temporaryFile, L"C:\\Dict\\ext_BM.js.tmp");
}

TEST(FavoritesArgument, ForwardSlashesFindTheSameFileAndTopicKeepsThem) {
    const FavoritesRequest r = Request(L"W=ms-its:C:/Dict/Quillbay.chm::/html/sub/a.htm");
    EXPECT_EQ(r.folder, L"C:\\Dict\\");
    EXPECT_EQ(r.section, L"Quillbay");
    EXPECT_EQ(r.topic, L"html/sub/a.htm");
}

TEST(FavoritesArgument, OnlyTheLowerCaseExtensionIsCut) {
    EXPECT_EQ(Request(L"W=C:\\D\\Q.CHM::/a").section, L"Q.CHM");
    EXPECT_EQ(Request(L"W=C:\\D\\x.chm.chm::/a").section, L"x");
    EXPECT_EQ(Request(L"W=C:\\D\\Book::/a").section, L"Book");
    EXPECT_EQ(Request(L"W=c:\\d e\\q.chm::/a").folder, L"c:\\d e\\");
}

TEST(FavoritesArgument, NameIsEverythingBeforeTheFirstEqualsWithoutTrailingBlanks) {
    const FavoritesRequest r = Request(L"  a b  =C:\\D\\Q.chm::/p?x=1");
    EXPECT_EQ(r.name, L"  a b");
    EXPECT_EQ(r.topic, L"p?x=1");
    EXPECT_EQ(Request(L"=C:\\D\\Q.chm::/a").name, L"");
}

TEST(FavoritesArgument, NothingWithoutALocation) {
    EXPECT_FALSE(ReadFavoritesArgument(L" Word", true));
    EXPECT_FALSE(ReadFavoritesArgument(L" Word=", true));
    EXPECT_FALSE(ReadFavoritesArgument(L"", false));
}

TEST(FavoritesArgument, TopicOnlyAfterColonsAndSlashAndNeverForDelete) {
    EXPECT_EQ(Request(L"W=C:\\D\\Q.chm").topic, L"");
    EXPECT_EQ(Request(L"W=C:\\D\\Q.chm::a.htm").topic, L"");
    EXPECT_EQ(Request(L"W=C:\\D\\Q.chm::a.htm").section, L"Q");
    EXPECT_EQ(Request(L" W=" + Location, false).topic, L"");
}

TEST(FavoritesArgument, AHelpFileOnAShareIsFoundAfterAnyPrefix) {
    for (const wchar_t* prefix : {L"mk:@MSITStore:", L"ms-its:", L""}) {
        const FavoritesRequest r = Request(std::wstring(L"W=") + prefix +
                                           L"\\\\server\\books\\Dict\\Quillbay.chm::/a.htm");
        EXPECT_EQ(r.helpFile, L"\\\\server\\books\\Dict\\Quillbay.chm");
        EXPECT_EQ(r.favoritesFile, L"\\\\server\\books\\Dict\\ext_BM.js");
        EXPECT_EQ(r.section, L"Quillbay");
    }
    EXPECT_EQ(Request(L"W=mk:@MSITStore://srv/b/Q.chm::/a").folder, L"\\\\srv\\b\\");
    // A drive path keeps the drive, also with doubled separators.
    EXPECT_EQ(Request(L"W=mk:@MSITStore:C:\\\\D\\Q.chm::/a").folder, L"C:\\\\D\\");
}

TEST(FavoritesArgument, AHelpFilePathWithoutDriveLetterOrShareIsAnInvalidArgument) {
    for (const wchar_t* argument :
         {L"W=Quillbay.chm::/a.htm", L"W=:\\Dict\\Q.chm::/a.htm", L"W=C::/a:\\b",
          L"W=\\\\server\\Q.chm::/a", L"W=\\\\\\share\\Q.chm::/a", L"W=mk:\\\\s\\b\\::/a"}) {
        try {
            ReadFavoritesArgument(argument, true);
            ADD_FAILURE() << "accepted";
        } catch (const RunError& error) {
            EXPECT_EQ(error.Kind(), ErrorKind::InvalidArgument);
        }
    }
}

TEST(FavoriteEntryProblem, NamesTheCharacterThatWouldBreakTheScript) {
    EXPECT_EQ(FavoriteEntryProblem(Request(L" Word=" + Location)), L"");
    const std::wstring quote = FavoriteEntryProblem(Request(L" say \"hi\"=" + Location));
    EXPECT_NE(quote.find(L"name contains a double quote (\")"), std::wstring::npos) << quote;
    EXPECT_NE(quote.find(L"not changed"), std::wstring::npos);
    EXPECT_NE(FavoriteEntryProblem(Request(L"a\x01=" + Location)).find(L"U+0001"),
              std::wstring::npos);
    EXPECT_NE(FavoriteEntryProblem(Request(L"a\r\nb=" + Location)).find(L"line break"),
              std::wstring::npos);
    EXPECT_NE(FavoriteEntryProblem(Request(L"a\\b=" + Location)).find(L"backslash"),
              std::wstring::npos);
    const std::wstring query = FavoriteEntryProblem(Request(L"W=C:\\D\\Q.chm::/p.htm?x=1"));
    EXPECT_NE(query.find(L"topic contains an equals sign (=)"), std::wstring::npos) << query;
    EXPECT_NE(FavoriteEntryProblem(Request(L"W=C:\\D\\Q.chm::/a\"b")).find(L"topic"),
              std::wstring::npos);
    EXPECT_NE(FavoriteEntryProblem(Request(L"W=C:\\D\\Q\x01.chm::/a")).find(L"help file"),
              std::wstring::npos);
    // A line that would read as a section: refused, as is a help file whose section line
    // would not read back.
    EXPECT_NE(FavoriteEntryProblem(Request(L"[x=" + Location)).find(L"begins with \"[\""),
              std::wstring::npos);
    EXPECT_EQ(FavoriteEntryProblem(Request(L" [x=" + Location)), L"");
    EXPECT_EQ(FavoriteEntryProblem(Request(L"W=C:\\D\\a=b.chm::/a")), L"");
    EXPECT_NE(FavoriteEntryProblem(Request(L"W=C:\\D\\a=b=c.chm::/a")).find(L"C:\\D\\a=b=c.chm"),
              std::wstring::npos);
    // Not from the argument itself, but from a name converted for the file.
    FavoritesRequest converted = Request(L" Word=" + Location);
    converted.name = L"a=b";
    EXPECT_NE(FavoriteEntryProblem(converted).find(L"name contains an equals sign (=)"),
              std::wstring::npos);
}

TEST(FavoritesFileLines, EndAtCrLfCrOrLf) {
    EXPECT_EQ(SplitFileLines(L"a\r\nb\rc\nd"), (Lines{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(SplitFileLines(L"a\n\nb\n\r"), (Lines{L"a", L"", L"b", L""}));
    EXPECT_EQ(FirstFileLine(L";var ext_BM=\"\"\n+\"x\x01\""), Header);
    EXPECT_EQ(FirstFileLine(Header + L"\r\n+\"x\x01\"\r\n"), Header);
    EXPECT_EQ(FirstFileLine(Header), Header);
    EXPECT_EQ(SplitFileLines(L"a\r\n"), (Lines{L"a"}));
    EXPECT_EQ(SplitFileLines(L"\r\n\r\nx"), (Lines{L"", L"", L"x"}));
    EXPECT_EQ(SplitFileLines(L"a\r\r\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_TRUE(SplitFileLines(L"").empty());
    EXPECT_EQ(JoinFileLines({L"a", L"", L"b"}), L"a\r\n\r\nb\r\n");
}

TEST(FavoritesFileLines, HeaderComparedUntrimmedButWithoutCase) {
    EXPECT_TRUE(IsFavoritesHeader(Header));
    EXPECT_TRUE(IsFavoritesHeader(L";VAR EXT_bm=\"\""));
    EXPECT_FALSE(IsFavoritesHeader(L" ;var ext_BM=\"\""));
    EXPECT_FALSE(IsFavoritesHeader(L";var ext_BM=\"\" "));
    EXPECT_FALSE(IsFavoritesHeader(L"\xEF\xBB\xBF;var ext_BM=\"\""));
}

TEST(FavoritesRewrite, FirstAddMakesSectionAndEntry) {
    EXPECT_EQ(Add({Header}, L" Word", L"html/a.htm"),
              (Lines{Header, Section(L"Quillbay"), Entry(L" Word", L"html/a.htm")}));
}

TEST(FavoritesRewrite, SameNameInAnyCaseIsReplacedInPlace) {
    const Lines file{Header, Section(L"Quillbay"), Entry(L" Word", L"a.htm"),
                     Entry(L" Next", L"n")};
    EXPECT_EQ(Add(file, L" Word", L"a.htm"), file);
    EXPECT_EQ(
        Add(file, L" WORD", L"b.htm"),
        (Lines{Header, Section(L"Quillbay"), Entry(L" WORD", L"b.htm"), Entry(L" Next", L"n")}));
}

TEST(FavoritesRewrite, NameWithTrailingBlanksMatchesItsOwnLine) {
    const Lines once = Add({Header}, L" Word  ", L"a.htm");
    EXPECT_EQ(Add(once, L" Word ", L"b.htm"),
              (Lines{Header, Section(L"Quillbay"), Entry(L" Word", L"b.htm")}));
    EXPECT_EQ(Delete(once, L" Word "), (Lines{Header, Section(L"Quillbay")}));
}

TEST(FavoritesRewrite, EveryCharacterOutsideAsciiIsWrittenAsAnEscapeAndMatchedAsText) {
    const FavoritesRequest greek =
        Request(L" \u039b\u039f\u0393\u039f\u03a3=C:\\D\\\u0416.chm::/\u00e9.htm");
    const Lines once = Rewrite({Header}, greek);
    EXPECT_EQ(once, (Lines{Header, Section(L"\\u0416"),
                           Entry(L" \\u039B\\u039F\\u0393\\u039F\\u03A3", L"\\u00E9.htm")}));
    // The same name in small letters (final sigma) replaces it in place; /bmdel finds it.
    const FavoritesRequest small =
        Request(L" \u03bb\u03bf\u03b3\u03bf\u03c2=C:\\D\\\u0436.chm::/b");
    EXPECT_EQ(Rewrite(once, small), (Lines{Header, Section(L"\\u0416"),
                                           Entry(L" \\u03BB\\u03BF\\u03B3\\u03BF\\u03C2", L"b")}));
    EXPECT_EQ(Delete(once, L" \u03bb\u03bf\u03b3\u03bf\u03c2", L"\u0416.chm"),
              (Lines{Header, Section(L"\\u0416")}));
}

TEST(FavoritesRewrite, AFileWrittenInTheCodePageBecomesAsciiAndItsEntriesAreStillFound) {
    const Lines old{Header, Section(L"\u0421\u043b"), Entry(L"Caf\u00e9", L"\u00fc.htm"),
                    Entry(L"\u0421\u043b\u043e\u0432\u043e", L"a.htm"), L"// \u00e9t\u00e9"};
    EXPECT_EQ(Delete(old, L"\u0421\u041b\u041e\u0412\u041e", L"\u0421\u043b.chm"),
              (Lines{Header, Section(L"\\u0421\\u043B"), Entry(L"Caf\\u00E9", L"\\u00FC.htm"),
                     L"// \\u00E9t\\u00E9"}));
    // A raw line break of the script (U+2028) would end the string or comment: dropped.
    EXPECT_EQ(Delete({Header, Entry(L"a\u2028b", L"x"), L"// a\u2029b"}, L"absent"), Lines{Header});
}

TEST(FavoritesRewrite, EscapesAreUtf16UnitsAndReadBackOnlyWhenWhole) {
    // A 32-bit wchar_t holds U+1F600 whole; the file holds its two surrogate units.
    const std::wstring emoji(1, static_cast<wchar_t>(0x1F600));
    EXPECT_EQ(ScriptText(L"a" + emoji + L"\uff3c\x01~"), L"a\\uD83D\\uDE00\\uFF3C\x01~");
    EXPECT_EQ(PlainText(L"a\\uD83D\\uDE00\\uff3c"), L"a" + emoji + L"\uff3c");
    for (const wchar_t* broken : {L"\\u12", L"\\uZZZZ", L"\\u", L"\\", L"\\\\u0041", L"\\x41"})
        EXPECT_FALSE(PlainText(broken)) << std::wstring(broken).size();
}

TEST(FavoritesRewrite, ALineTheScriptCannotReadIsDroppedAndEscapesCountAsTheirCharacters) {
    const Lines file{Header,
                     Section(L"Quillbay"),
                     Entry(L"bad", L"\\u12"),       // a malformed escape
                     Entry(L"zz", L"\\uZZZZ"),      // another
                     Entry(L"lone", L"x\\"),        // a lone backslash
                     Entry(L"in\\u0001side", L"a"), // U+0001 inside, escaped
                     Entry(L"q\\u0022", L"a"),      // a double quote, escaped
                     Entry(L"a\\u003Db", L"c"),     // a second "=", escaped
                     L"+\"end\\u0001\"",            // the closing U+0001 escaped: read as it
                     Entry(L"\\u0041", L"x")};
    EXPECT_EQ(Delete(file, L"absent"),
              (Lines{Header, Section(L"Quillbay"), L"+\"end\\u0001\"", Entry(L"\\u0041", L"x")}));
    EXPECT_EQ(Delete(file, L"a"), (Lines{Header, Section(L"Quillbay"), L"+\"end\\u0001\""}));
    // An escaped "[" starts another section, as the pages read it: the entry goes before it
    // and that section's entry of the same name is left alone.
    const Lines two{Header, Section(L"Quillbay"), Entry(L"w", L"1"), L"+\"\\u005BOther]\x01\"",
                    Entry(L"x", L"2")};
    EXPECT_EQ(Add(two, L"x", L"9"),
              (Lines{Header, Section(L"Quillbay"), Entry(L"w", L"1"), Entry(L"x", L"9"),
                     L"+\"\\u005BOther]\x01\"", Entry(L"x", L"2")}));
    EXPECT_EQ(Delete(two, L"x", L"Other.chm"),
              (Lines{Header, Section(L"Quillbay"), Entry(L"w", L"1"), L"+\"\\u005BOther]\x01\""}));
    EXPECT_EQ(Delete({Header, L"+\"\\u005BQuillbay]\x01\"", Entry(L"x", L"2")}, L"x"),
              (Lines{Header, L"+\"\\u005BQuillbay]\x01\""}));
}

TEST(FavoritesRewrite, StoredNameIsComparedWithBlanksBeforeEqualsTrimmed) {
    const Lines file{Header, Section(L"Quillbay"), L"+\" Word  =old\x01\""};
    EXPECT_EQ(Add(file, L" Word", L"new"),
              (Lines{Header, Section(L"Quillbay"), Entry(L" Word", L"new")}));
}

TEST(FavoritesRewrite, NewNameGoesToTheEndOfItsOwnSection) {
    const Lines file{Header, Section(L"Quillbay"), Entry(L"a", L"1"), Section(L"Other"),
                     Entry(L"b", L"2")};
    EXPECT_EQ(Add(file, L"c", L"3"),
              (Lines{Header, Section(L"Quillbay"), Entry(L"a", L"1"), Entry(L"c", L"3"),
                     Section(L"Other"), Entry(L"b", L"2")}));
    EXPECT_EQ(Add(file, L"d", L"4", L"Other.chm"),
              (Lines{Header, Section(L"Quillbay"), Entry(L"a", L"1"), Section(L"Other"),
                     Entry(L"b", L"2"), Entry(L"d", L"4")}));
    EXPECT_EQ(Add(file, L"e", L"5", L"New.CHM"),
              (Lines{Header, Section(L"Quillbay"), Entry(L"a", L"1"), Section(L"Other"),
                     Entry(L"b", L"2"), Section(L"New.CHM"), Entry(L"e", L"5")}));
}

TEST(FavoritesRewrite, SectionLineInOtherCaseIsTheSameSection) {
    const Lines file{Header, Section(L"QUILLBAY"), Entry(L"a", L"1")};
    EXPECT_EQ(Add(file, L"A", L"2"), (Lines{Header, Section(L"QUILLBAY"), Entry(L"A", L"2")}));
}

TEST(FavoritesRewrite, SameNameInAnotherSectionOrBeforeAnySectionIsLeftAlone) {
    const Lines file{Header, Entry(L"a", L"0"), Section(L"Other"), Entry(L"a", L"1")};
    EXPECT_EQ(Delete(file, L"a"), file);
    EXPECT_EQ(Add(file, L"a", L"2"),
              (Lines{Header, Entry(L"a", L"0"), Section(L"Other"), Entry(L"a", L"1"),
                     Section(L"Quillbay"), Entry(L"a", L"2")}));
}

TEST(FavoritesRewrite, DeleteRemovesTheFirstMatchOnlyAndKeepsTheSectionLine) {
    const Lines file{Header, Section(L"Quillbay"), Entry(L"a", L"1"), Entry(L"A", L"2")};
    EXPECT_EQ(Delete(file, L"a"), (Lines{Header, Section(L"Quillbay"), Entry(L"A", L"2")}));
    EXPECT_EQ(Delete(Delete(file, L"a"), L"a"), (Lines{Header, Section(L"Quillbay")}));
}

TEST(FavoritesRewrite, AddWithoutTopicRemovesTheEntry) {
    const Lines file{Header, Section(L"Quillbay"), Entry(L"a", L"1"), Entry(L"b", L"2")};
    const FavoritesRequest noTopic = Request(L"a=C:\\Dict\\Quillbay.chm::a.htm");
    EXPECT_EQ(Rewrite(file, noTopic), (Lines{Header, Section(L"Quillbay"), Entry(L"b", L"2")}));
}

TEST(FavoritesRewrite, AfterTheMatchLinesAreCopiedWithoutFurtherMatching) {
    const Lines file{Header,
                     Section(L"Quillbay"),
                     Entry(L"a", L"1"),
                     Section(L"Other"),
                     Section(L"Quillbay"),
                     Entry(L"a", L"2")};
    // The first section of the help file ends without a match: the entry goes there, and
    // the second section of the same name is only copied.
    EXPECT_EQ(Add(file, L"a", L"9"),
              (Lines{Header, Section(L"Quillbay"), Entry(L"a", L"9"), Section(L"Other"),
                     Section(L"Quillbay"), Entry(L"a", L"2")}));
    EXPECT_EQ(Add(file, L"b", L"9"),
              (Lines{Header, Section(L"Quillbay"), Entry(L"a", L"1"), Entry(L"b", L"9"),
                     Section(L"Other"), Section(L"Quillbay"), Entry(L"a", L"2")}));
}

TEST(FavoritesRewrite, DeleteOfAnAbsentNameOnlyRewrites) {
    const Lines file{L"  " + Header + L" ", L"", L"  " + Entry(L"x", L"y") + L"  ",
                     L"//  a \"comment\" = = \x01  "};
    EXPECT_EQ(Delete(file, L"absent"),
              (Lines{Header, Entry(L"x", L"y"), L"//  a \"comment\" = = \x01"}));
    EXPECT_EQ(Delete({}, L"absent"), Lines{});
}

TEST(FavoritesRewrite, InvalidLinesAreDroppedAndOthersKept) {
    const Lines file{Header,
                     L";VAR ext_bm=\"\"", // a second header, kept
                     Section(L"Quillbay"),
                     L"+\"in\x01side=a\x01\"", // U+0001 inside
                     L"+\"no=closing\"",       // no closing pair
                     L"+\"say \"hi\"=a\x01\"", // double quote inside
                     L"+\"a=b=c\x01\"",        // second equals sign
                     L"\"a=b\x01\"",           // no entry prefix
                     L"+\"\x01\"",             // four characters: nothing inside
                     L"+\"x\x01\" ",           // trailing blank only: trimmed
                     L"\t+\"t=1\x01\"",        // a tab is not trimmed
                     L"+\"x\x01\\u0022"};      // the closing quote escaped
    EXPECT_EQ(Delete(file, L"absent"), (Lines{Header, L";VAR ext_bm=\"\"", Section(L"Quillbay"),
                                              L"+\"\x01\"", L"+\"x\x01\""}));
}

TEST(FavoritesRewrite, LinesThatWouldBeDroppedAreWrittenWhenAsked) {
    // The rewrite itself writes what it is given; the argument check refuses such
    // entries before a file is touched.
    const Lines once = Add({Header}, L"a", L"p?x=1");
    EXPECT_EQ(once.back(), Entry(L"a", L"p?x=1"));
    EXPECT_EQ(Delete(once, L"absent"), (Lines{Header, Section(L"Quillbay")}));
}

} // namespace
