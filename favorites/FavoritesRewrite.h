// The Favorites file as text: what a /bmadd or /bmdel argument asks for, and the
// line-by-line rewrite of ext_BM.js. No file is touched here.
//
// The file is a script the dictionary's pages include:
//   ;var ext_BM=""
//   +"[Quillbay]<U+0001>"        a section: the help file's name
//   +" Word=html/a.htm<U+0001>"  an entry of that section: name "=" topic
//   // ...                       comments, kept as they are
// The rewrite writes pure ASCII: every other character as the script escape \uXXXX
// (UTF-16 units), so a page reads the same text whatever charset it decodes the file
// with. A file written before in the ANSI code page is read in it, and is ASCII after
// its next rewrite.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::wstring_view FavoritesHeader = L";var ext_BM=\"\"";
inline constexpr std::wstring_view EntryPrefix = L"+\"";
inline constexpr std::wstring_view ClosingPair = L"\x01\"";

struct FavoritesRequest {
    std::wstring name;     // a leading blank is part of it; trailing blanks are dropped
    std::wstring topic;    // empty for /bmdel, and for a location without "::/"
    std::wstring folder;   // the help file's folder, ending in "\"
    std::wstring section;  // the help file's name without the lower-case ".chm"
    std::wstring helpFile; // the help file's path, from its drive letter or share
    std::wstring favoritesFile;
    std::wstring temporaryFile;
};

// What the switch argument ("name=location") asks for; nothing when the location is
// empty. An "=" in the location before the help file's path belongs to the name. The help file's path begins (after a prefix such as "mk:@MSITStore:") with a
// drive letter before ":\" or with the "\\server\share\" of a share; a location with
// neither raises RunError(InvalidArgument).
std::optional<FavoritesRequest> ReadFavoritesArgument(std::wstring_view argument, bool add);

// Why the reader's entry is refused (a character that would end the name, the item or
// the line for the pages, or break the address a page's Remove button hands back; an
// "=" in the name), as a sentence for the reader; empty when fine. A request that
// writes nothing is refused only for an "=" in the name.
std::wstring FavoriteEntryProblem(const FavoritesRequest& request);

// Text as a comment of the file holds it: every character outside ASCII as \uXXXX, a
// character beyond U+FFFF as its two surrogate units.
std::wstring ScriptText(std::wstring_view text);
// The text of a string as the viewer's script engine (JScript, ECMAScript 3) reads what
// stands between its quotes: \D and \v are "D" and "v", \t a tab, \x41, \u0041 and \101
// "A", \0 U+0000; nothing when the engine refuses it (a raw quote or line break, a broken
// \x or \u escape, a backslash at the end).
std::optional<std::wstring> ReadScriptString(std::wstring_view quoted);

// An item line as the rewrite writes it: the text in a string, every character but
// printable ASCII, and the quote and the backslash, as \uXXXX; then U+0001 and the
// closing quote.
std::wstring ItemLine(std::wstring_view text);
std::wstring SectionLine(std::wstring_view section);
std::wstring EntryLine(std::wstring_view name, std::wstring_view topic);

// Whether a first line read from the file (untrimmed) is the header.
bool IsFavoritesHeader(std::wstring_view line);

// The first line of file text (text/TextSplit.h: a line ends at CR LF, CR or LF); the
// whole text when it has no line end.
std::wstring_view FirstFileLine(std::wstring_view text);
// The lines, each followed by CR LF.
std::wstring JoinFileLines(const std::vector<std::wstring>& lines);

// The new file text from the old one. The header first, exactly as FavoritesHeader;
// then every line a script engine reads, as the pages read it: comments, and items (each
// one string that ends in U+0001 and holds no other) written in ASCII as ItemLine writes
// them; a header line after the first and a line an engine refuses are dropped. A
// section that appears twice is merged into its first place. In the help file's section
// the first entry of that name is replaced (or removed when the topic is empty), or the
// entry added at the section's end. Lines end in CR LF.
std::wstring RewriteFavorites(std::wstring_view oldText, const FavoritesRequest& request);
