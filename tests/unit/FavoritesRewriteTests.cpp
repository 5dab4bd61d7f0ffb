// The Favorites argument and the rewrite of ext_BM.js, without files.
#include "platform/RunError.h"
#include "favorites/FavoritesRewrite.h"
#include "favorites/ScriptString.h"
#include "tests/support/FavoritesLines.h"
#include "tests/support/RunErrorOf.h"
#include "tests/support/StandInCodePage.h"
#include "text/TextSplit.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::wstring>;

const std::wstring Header = L";var ext_BM=\"\"";
const std::wstring Location = L"mk:@MSITStore:C:\\Dict\\Quillbay.chm::/html/a.htm";

std::wstring Section(const std::wstring& name) {
    return SectionLineOf(name);
}
std::wstring Entry(const std::wstring& name, const std::wstring& topic) {
    return EntryLineOf(name, topic);
}
// A file of these lines in the section of C:\\Dict\\Quillbay.chm, after the header.
Lines Quillbay(const Lines& lines) {
    Lines file{Header, Section(L"Quillbay")};
    file.insert(file.end(), lines.begin(), lines.end());
    return file;
}

FavoritesRequest Request(const std::wstring& argument, bool add = true) {
    const auto request = ReadFavoritesArgument(argument, add);
    EXPECT_TRUE(request) << "no request from the argument";
    return request.value_or(FavoritesRequest{});
}

// The rewrite of a file of these lines, as lines; the file's bytes in a code page (when
// it holds every character) give the same new file.
Lines Rewrite(const Lines& old, const FavoritesRequest& request) {
    const std::wstring text = RewriteFavorites(JoinFileLines(old), request);
    if (const auto bytes = ToStandInPage(JoinFileLines(old))) {
        EXPECT_EQ(RewriteFavorites(*bytes, request, FromStandInPage), ToStandInPage(text));
    }
    return SplitLines(text);
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

// The name is everything before the first "=" without trailing blanks; the help file's
// folder has backslashes (a drive kept, also with doubled separators, or a share); its name
// without a lower-case ".chm" is the section; the topic comes only after "::/", and never
// for /bmdel.
TEST(FavoritesArgument, DerivesEveryValueFromNameAndLocation) {
    const struct {
        std::wstring argument;
        bool add;
        const wchar_t* name;
        const wchar_t* topic;
        const wchar_t* folder;
        const wchar_t* section;
    } rows[] = {
        {L" Word=" + Location, true, L" Word", L"html/a.htm", L"C:\\Dict\\", L"Quillbay"},
        {L"W=ms-its:C:/Dict/Quillbay.chm::/html/sub/a.htm", true, L"W", L"html/sub/a.htm",
         L"C:\\Dict\\", L"Quillbay"},
        {L"W=C:\\D\\Q.CHM::/a", true, L"W", L"a", L"C:\\D\\", L"Q.CHM"},
        {L"W=C:\\D\\x.chm.chm::/a", true, L"W", L"a", L"C:\\D\\", L"x"},
        {L"W=C:\\D\\Book::/a", true, L"W", L"a", L"C:\\D\\", L"Book"},
        {L"W=c:\\d e\\q.chm::/a", true, L"W", L"a", L"c:\\d e\\", L"q"},
        {L"  a b  =C:\\D\\Q.chm::/p?x=1", true, L"  a b", L"p?x=1", L"C:\\D\\", L"Q"},
        {L"=C:\\D\\Q.chm::/a", true, L"", L"a", L"C:\\D\\", L"Q"},
        {L"W=C:\\D\\Q.chm", true, L"W", L"", L"C:\\D\\", L"Q"},
        {L"W=C:\\D\\Q.chm::a.htm", true, L"W", L"", L"C:\\D\\", L"Q"},
        {L" W=" + Location, false, L" W", L"", L"C:\\Dict\\", L"Quillbay"},
        {L"W=mk:@MSITStore://srv/b/Q.chm::/a", true, L"W", L"a", L"\\\\srv\\b\\", L"Q"},
        {L"W=mk:@MSITStore:C:\\\\D\\Q.chm::/a", true, L"W", L"a", L"C:\\\\D\\", L"Q"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.argument));
        const FavoritesRequest r = Request(row.argument, row.add);
        EXPECT_EQ(r.name, row.name);
        EXPECT_EQ(r.topic, row.topic);
        EXPECT_EQ(r.folder, row.folder);
        EXPECT_EQ(r.section, row.section);
    }
    EXPECT_EQ(Request(L" Word=" + Location).favoritesFile, L"C:\\Dict\\ext_BM.js");
    for (const wchar_t* prefix : {L"mk:@MSITStore:", L"ms-its:", L""}) {
        const FavoritesRequest r = Request(std::wstring(L"W=") + prefix +
                                           L"\\\\server\\books\\Dict\\Quillbay.chm::/a.htm");
        EXPECT_EQ(r.helpFile, L"\\\\server\\books\\Dict\\Quillbay.chm");
        EXPECT_EQ(r.favoritesFile, L"\\\\server\\books\\Dict\\ext_BM.js");
        EXPECT_EQ(r.section, L"Quillbay");
    }
}

TEST(FavoritesArgument, NothingWithoutALocation) {
    EXPECT_FALSE(ReadFavoritesArgument(L" Word", true));
    EXPECT_FALSE(ReadFavoritesArgument(L" Word=", true));
    EXPECT_FALSE(ReadFavoritesArgument(L"", false));
}

TEST(FavoritesArgument, AHelpFilePathWithoutDriveLetterOrShareIsAnInvalidArgument) {
    for (const wchar_t* argument :
         {L"W=Quillbay.chm::/a.htm", L"W=:\\Dict\\Q.chm::/a.htm", L"W=C::/a:\\b",
          L"W=\\\\server\\Q.chm::/a", L"W=\\\\server\\\\Q.chm::/a", L"W=\\\\\\share\\Q.chm::/a",
          L"W=mk:\\\\s\\b\\::/a"})
        EXPECT_EQ(KindOf([&] { ReadFavoritesArgument(argument, true); }),
                  ErrorKind::InvalidArgument)
            << std::wstring(argument).size();
}

TEST(FavoriteEntryProblem, NamesTheCharacterThatWouldBreakTheScript) {
    EXPECT_EQ(FavoriteEntryProblem(Request(L" Word=" + Location)), L"");
    const std::pair<std::wstring, const wchar_t*> refused[] = {
        {L" say \"hi\"=" + Location, L"name contains a double quote (\")"},
        {L"a\x01=" + Location, L"U+0001"},
        {L"a\r\nb=" + Location, L"line break"},
        {L"a\\b=" + Location, L"backslash"},
        {L"W=C:\\D\\Q.chm::/a\"b", L"topic"},
        {L"W=C:\\D\\Q\x01.chm::/a", L"help file"},
        {L"[x=" + Location, L"begins with \"[\""}}; // a line that would read as a section
    for (const auto& [argument, words] : refused) {
        const std::wstring problem = FavoriteEntryProblem(Request(argument));
        EXPECT_NE(problem.find(words), std::wstring::npos) << words;
        EXPECT_NE(problem.find(L"not changed"), std::wstring::npos) << words;
    }
    EXPECT_EQ(FavoriteEntryProblem(Request(L" [x=" + Location)), L"");
    // An "=" after the help file's path is read back as it was written.
    EXPECT_EQ(FavoriteEntryProblem(Request(L"W=C:\\D\\Q.chm::/p.htm?x=1")), L"");
    EXPECT_EQ(FavoriteEntryProblem(Request(L"W=C:\\D\\a=b=c.chm::/a")), L"");
    // An "=" before it was the reader's, in the name: refused, for /bmadd and /bmdel.
    for (const wchar_t* argument :
         {L"E=mc2=mk:@MSITStore:C:\\D\\Q.chm::/a.htm", L" a=b=c=C:/Users/Vera/Q.chm::/a",
          L"E=mc2=\\\\srv\\b\\Q.chm::/a", L"=x=C:\\D\\Q.chm"}) {
        for (const bool add : {true, false}) {
            const auto request = ReadFavoritesArgument(argument, add);
            ASSERT_TRUE(request) << add;
            EXPECT_EQ(FavoriteEntryProblem(*request),
                      L"The favourite's name contains an equals sign (=), which is not "
                      L"allowed.\r\nThe Favorites file was not changed.");
        }
    }
    // What /bmdel does not write, it need not refuse: any name the pages list is found.
    for (const wchar_t* name : {L"say \"hi\"", L"AC\\DC", L"[x", L"a\x01", L"t\tab"})
        EXPECT_EQ(FavoriteEntryProblem(Request(name + (L"=" + Location), false)), L"");
    EXPECT_EQ(Request(L"E=mc2=mk:@MSITStore:C:\\D\\Q.chm::/a.htm").name, L"E=mc2");
    EXPECT_EQ(Request(L"E=mc2=mk:@MSITStore:C:\\D\\Q.chm::/a.htm").helpFile, L"C:\\D\\Q.chm");
}

TEST(FavoritesFileLines, EndAtCrLfCrOrLf) {
    EXPECT_EQ(SplitLines(L"a\r\nb\rc\nd"), (Lines{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(SplitLines(L"a\n\nb\n\r"), (Lines{L"a", L"", L"b", L""}));
    EXPECT_EQ(FirstFileLine(L";var ext_BM=\"\"\n+\"x\x01\""), Header);
    EXPECT_EQ(FirstFileLine(Header + L"\r\n+\"x\x01\"\r\n"), Header);
    EXPECT_EQ(FirstFileLine(Header), Header);
    EXPECT_EQ(SplitLines(L"a\r\n"), (Lines{L"a"}));
    EXPECT_EQ(SplitLines(L"\r\n\r\nx"), (Lines{L"", L"", L"x"}));
    EXPECT_EQ(SplitLines(L"a\r\r\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_TRUE(SplitLines(L"").empty());
    EXPECT_EQ(JoinFileLines({L"a", L"", L"b"}), L"a\r\n\r\nb\r\n");
}

TEST(FavoritesFileLines, HeaderComparedUntrimmedButWithoutCase) {
    EXPECT_TRUE(IsFavoritesHeader(Header));
    EXPECT_TRUE(IsFavoritesHeader(L";VAR EXT_bm=\"\""));
    EXPECT_FALSE(IsFavoritesHeader(L" ;var ext_BM=\"\""));
    EXPECT_FALSE(IsFavoritesHeader(L";var ext_BM=\"\" "));
    EXPECT_FALSE(IsFavoritesHeader(L"\xEF\xBB\xBF;var ext_BM=\"\""));
}

// Each request on an old file and the new file it gives: the same name (in any case, blanks
// before "=" trimmed) replaced in place, a new one at the end of its own section, which a
// section line in any case names; the first match of its own section deleted, its section
// line kept; the header written once at the top; lines no engine reads dropped.
TEST(FavoritesRewrite, EachRequestGivesItsNewFile) {
    const Lines word = Quillbay({Entry(L" Word", L"a.htm"), Entry(L" Next", L"n")});
    const Lines once = Add({Header}, L" Word  ", L"a.htm");
    const Lines twoSections = Quillbay({Entry(L"a", L"1"), Section(L"Other"), Entry(L"b", L"2")});
    const Lines beforeAny{Header, Entry(L"a", L"0"), Section(L"Other"), Entry(L"a", L"1")};
    const Lines twice = Quillbay({Entry(L"a", L"1"), Entry(L"A", L"2")});
    // A header in capitals would make an engine refuse the file; one after the first would
    // empty ext_BM and hide every favourite above it from the pages.
    const Lines headers{L";VAR EXT_BM=\"\"", Section(L"Quillbay"), Entry(L"a", L"1"),
                        L";var ext_BM=\"\"", Entry(L"b", L"2"),    L"  ;Var Ext_bm=\"\" "};
    const Lines blanks{L"  " + Header + L" ", L"", L"  " + Entry(L"x", L"y") + L"  ",
                       L"//  a \"comment\" = = \x01  "};
    const Lines invalid = Quillbay({L"+\"in\x01side=a\x01\"", // U+0001 inside
                                    L"+\"no=closing\"",       // no closing pair
                                    L"+\"say \"hi\"=a\x01\"", // a raw double quote inside
                                    L"+\"a=b=c\x01\"", // a second equals sign: read as the topic's
                                    L"\"a=b\x01\"",    // no entry prefix
                                    L"+\"\x01\"",      // four characters: nothing inside
                                    L"+\"x\x01\" ",    // trailing blank only: trimmed
                                    L"\t+\"t=1\x01\"\t",  // tabs around it, as blanks, trimmed
                                    L"+\"x\x01\\u0022"}); // the closing quote escaped
    const struct {
        const char* what;
        Lines old;
        std::wstring name;
        std::optional<std::wstring> topic; // none: /bmdel
        Lines written;
        std::wstring helpFile = L"Quillbay.chm";
    } rows[] = {
        {"first add", Lines{Header}, L" Word", L"html/a.htm",
         Quillbay({Entry(L" Word", L"html/a.htm")})},
        {"same add", word, L" Word", L"a.htm", word},
        {"other case", word, L" WORD", L"b.htm",
         Quillbay({Entry(L" WORD", L"b.htm"), Entry(L" Next", L"n")})},
        {"trailing blanks", once, L" Word ", L"b.htm", Quillbay({Entry(L" Word", L"b.htm")})},
        {"trailing blanks, /bmdel", once, L" Word ", std::nullopt, Quillbay({})},
        {"stored blanks", Quillbay({L"+\" Word  =old\x01\""}), L" Word", L"new",
         Quillbay({Entry(L" Word", L"new")})},
        {"new name", twoSections, L"c", L"3",
         Quillbay({Entry(L"a", L"1"), Entry(L"c", L"3"), Section(L"Other"), Entry(L"b", L"2")})},
        {"new name, other section", twoSections, L"d", L"4",
         Quillbay({Entry(L"a", L"1"), Section(L"Other"), Entry(L"b", L"2"), Entry(L"d", L"4")}),
         L"Other.chm"},
        {"new section", twoSections, L"e", L"5",
         Quillbay({Entry(L"a", L"1"), Section(L"Other"), Entry(L"b", L"2"), Section(L"New.CHM"),
                   Entry(L"e", L"5")}),
         L"New.CHM"},
        {"section in other case", Lines{Header, Section(L"QUILLBAY"), Entry(L"a", L"1")}, L"A",
         L"2", Lines{Header, Section(L"QUILLBAY"), Entry(L"A", L"2")}},
        {"another section, /bmdel", beforeAny, L"a", std::nullopt, beforeAny},
        {"another section", beforeAny, L"a", L"2",
         Lines{Header, Entry(L"a", L"0"), Section(L"Other"), Entry(L"a", L"1"),
               Section(L"Quillbay"), Entry(L"a", L"2")}},
        {"first match only", twice, L"a", std::nullopt, Quillbay({Entry(L"A", L"2")})},
        {"second match", Delete(twice, L"a"), L"a", std::nullopt, Quillbay({})},
        {"headers", headers, L"absent", std::nullopt,
         Quillbay({Entry(L"a", L"1"), Entry(L"b", L"2")})},
        {"no header", Lines{}, L"absent", std::nullopt, Lines{Header}},
        {"absent name", blanks, L"absent", std::nullopt,
         Lines{Header, Entry(L"x", L"y"), L"//  a \"comment\" = = \x01"}},
        {"invalid lines", invalid, L"absent", std::nullopt,
         Quillbay({L"+\"a=b=c\x01\"", L"+\"\x01\"", L"+\"x\x01\"", L"+\"t=1\x01\""})},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.topic ? Add(row.old, row.name, *row.topic, row.helpFile)
                            : Delete(row.old, row.name, row.helpFile),
                  row.written)
            << row.what;
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

TEST(FavoritesRewrite, AFileReadAsBytesGivesWhatItsWholeTextGives) {
    // A lead byte takes a line end into its character, and the line goes on; bytes outside
    // ASCII that make ASCII are written as that text, not as they stood.
    const std::string top = ";var ext_BM=\"\"\r\n+\"[Quillbay]\x01\"\r\n";
    for (const std::string& old :
         {top + "+\"Name=x\x81\n+\"Other=y\x01\"\r\n", top + "+\"Other=y\x81\r+\"Name=y\x01\"\r\n",
          top + "// a\xFF\r\n+\"[B\x81\x82]\x01\"\r\n"})
        EXPECT_EQ(
            RewriteFavorites(old, Request(L"Name=" + Location), FromStandInPage),
            ToStandInPage(RewriteFavorites(FromStandInPage(old), Request(L"Name=" + Location))))
            << old;
}

TEST(FavoritesRewrite, StringsAreReadAsScriptEnginesReadThem) {
    // A 32-bit wchar_t holds U+1F600 whole; the file holds its two surrogate units.
    const std::wstring emoji(1, static_cast<wchar_t>(0x1F600));
    EXPECT_EQ(ScriptText(L"a" + emoji + L"\uff3c\x01~"), L"a\\uD83D\\uDE00\\uFF3C\x01~");
    EXPECT_EQ(ItemLine(L"a" + emoji + L"\t\"\\\x7f~"),
              L"+\"a\\uD83D\\uDE00\\u0009\\u0022\\u005C\\u007F~\x01\"");
    const struct {
        const wchar_t* quoted;
        std::wstring text;
    } read[] = {
        {L"a\\uD83D\\uDE00\\uff3c", L"a" + emoji + L"\uff3c"},
        {L"AC\\DC", L"ACDC"},
        {L"\\t\\b\\f\\v\\n\\r", L"\t\b\fv\n\r"}, // the viewer's engine reads "\v" as "v"
        {L"\\x41\\101\\u0041\\x7e", L"AAA~"},
        {L"\\'\\\"\\\\", L"'\"\\"},
        {L"\\0", std::wstring(1, L'\0')},
        {L"\\08", std::wstring(1, L'\0') + L"8"},
        {L"\\1\\12\\377\\400\\477", L"\x01\n\xff\x20"
                                    L"0\x27"
                                    L"7"},
        {L"\\8\\9\\q\\\u00e9", L"89q\u00e9"},
        {L"", L""},
    };
    for (const auto& r : read)
        EXPECT_EQ(ReadScriptString(r.quoted), r.text) << std::wstring(r.quoted).size();
    for (const wchar_t* refused : {L"\\u12", L"\\uZZZZ", L"\\u", L"\\", L"a\\", L"\\x4", L"\\xG1",
                                   L"a\"b", L"a\u2028b", L"\\\u2029", L"\\u{41}"})
        EXPECT_FALSE(ReadScriptString(refused)) << std::wstring(refused).size();
}

TEST(FavoritesRewrite, EveryLineAnEngineReadsIsKeptWithItsMeaningInAscii) {
    const Lines file{Header,
                     Section(L"Quillbay"),
                     Entry(L"AC\\DC", L"html/a.htm"), // an older client's raw backslash
                     Entry(L"tab\\tbed", L"b"),       // a tab: refused as a new name
                     Entry(L"\\x41\\101", L"c"),      // hexadecimal and octal escapes
                     Entry(L"O\\'Brien", L"d"),       // an escaped quote of either kind
                     Entry(L"say \\\"hi\\\"", L"e"),  //
                     Entry(L"a\\u003Db", L"c=d"),     // an "=" in the name and in the topic
                     L"+\"end\\u0001\"",              // the closing U+0001 escaped
                     Entry(L"nul\\0", L"f"),          //
                     Entry(L"bad", L"\\u12"),         // refused by every engine: dropped
                     L"+\"lone=x\x01\\\"",            // a backslash before the closing quote
                     Entry(L"in\\u0001side", L"a"),   // U+0001 inside: two items, dropped
                     L"+\"raw \"quote\"=a\x01\""};    //
    const Lines kept =
        Quillbay({Entry(L"ACDC", L"html/a.htm"), Entry(L"tab\\u0009bed", L"b"), Entry(L"AA", L"c"),
                  Entry(L"O'Brien", L"d"), Entry(L"say \\u0022hi\\u0022", L"e"),
                  Entry(L"a", L"b=c=d"), L"+\"end\x01\"", Entry(L"nul\\u0000", L"f")});
    EXPECT_EQ(Delete(file, L"absent"), kept);
    EXPECT_EQ(Delete(kept, L"absent"), kept) << "the next rewrite keeps them all";
    // Each is found by the name the pages show.
    EXPECT_EQ(Delete(file, L"acdc")[2], Entry(L"tab\\u0009bed", L"b"));
    EXPECT_EQ(Delete(file, L"tab\tbed")[3], Entry(L"AA", L"c"));
    EXPECT_EQ(Add(file, L"O'BRIEN", L"z")[5], Entry(L"O'BRIEN", L"z"));
    EXPECT_EQ(Delete(file, L"say \"hi\"").size(), kept.size() - 1);
    // An escaped "[" starts another section, as the pages read it: the entry goes before it
    // and that section's entry of the same name is left alone.
    const Lines two = Quillbay({Entry(L"w", L"1"), L"+\"\\u005BOther]\x01\"", Entry(L"x", L"2")});
    EXPECT_EQ(Add(two, L"x", L"9"), Quillbay({Entry(L"w", L"1"), Entry(L"x", L"9"),
                                              Section(L"Other"), Entry(L"x", L"2")}));
    EXPECT_EQ(Delete(two, L"x", L"Other.chm"), Quillbay({Entry(L"w", L"1"), Section(L"Other")}));
}

TEST(FavoritesRewrite, AddWithoutTopicRemovesTheEntry) {
    const Lines file = Quillbay({Entry(L"a", L"1"), Entry(L"b", L"2")});
    const FavoritesRequest noTopic = Request(L"a=C:\\Dict\\Quillbay.chm::a.htm");
    EXPECT_EQ(Rewrite(file, noTopic), Quillbay({Entry(L"b", L"2")}));
}

TEST(FavoritesRewrite, ASectionThatAppearsTwiceIsMergedIntoItsFirstPlace) {
    const Lines file{Header,
                     Section(L"Quillbay"),
                     Entry(L"a", L"1"),
                     Section(L"Other"),
                     Entry(L"o", L"5"),
                     Section(L"QUILLBAY"),
                     L"// second copy",
                     Entry(L"a", L"2"),
                     Entry(L"b", L"3"),
                     L"+\"[Other]\\u0001\""};
    const Lines merged = Quillbay({Entry(L"a", L"1"), L"// second copy", Entry(L"a", L"2"),
                                   Entry(L"b", L"3"), Section(L"Other"), Entry(L"o", L"5")});
    EXPECT_EQ(Delete(file, L"absent"), merged);
    // A name that stands twice stays twice; each /bmdel removes the first.
    EXPECT_EQ(Delete(file, L"a"), Quillbay({L"// second copy", Entry(L"a", L"2"), Entry(L"b", L"3"),
                                            Section(L"Other"), Entry(L"o", L"5")}));
    EXPECT_EQ(Add(file, L"b", L"9")[5], Entry(L"b", L"9"));
    EXPECT_EQ(Add(file, L"c", L"9", L"Other.chm").back(), Entry(L"c", L"9"));
}

} // namespace
