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
// empty. The help file's path begins (after a prefix such as "mk:@MSITStore:") with a
// drive letter before ":\" or with the "\\server\share\" of a share; a location with
// neither raises RunError(InvalidArgument).
std::optional<FavoritesRequest> ReadFavoritesArgument(std::wstring_view argument, bool add);

// Why the entry cannot be written safely (a character that would break the script
// or be dropped by the next rewrite), as a sentence for the reader; empty when fine.
std::wstring FavoriteEntryProblem(const FavoritesRequest& request);

// Text as the file holds it: every character outside ASCII as \uXXXX, a character
// beyond U+FFFF as its two surrogate units. ASCII (U+0001 included) stays as it is.
std::wstring ScriptText(std::wstring_view text);
// Text as the pages read it: every \uXXXX escape back as its character; nothing when a
// backslash begins anything else (a script engine would read another escape, or refuse
// the file).
std::optional<std::wstring> PlainText(std::wstring_view scriptText);

std::wstring SectionLine(std::wstring_view section);
std::wstring EntryLine(std::wstring_view name, std::wstring_view topic);

// Whether a first line read from the file (untrimmed) is the header.
bool IsFavoritesHeader(std::wstring_view line);

// Lines of file text: each ends at CR LF, CR or LF; a last line without an end counts.
std::vector<std::wstring> SplitFileLines(std::wstring_view text);
// The first of them (the whole text when it has no line end).
std::wstring_view FirstFileLine(std::wstring_view text);
// The lines, each followed by CR LF.
std::wstring JoinFileLines(const std::vector<std::wstring>& lines);

// The new file text from the old one, in one pass: lines trimmed, invalid lines
// dropped, and the first entry of that name in the help file's section replaced (or
// removed when the topic is empty), or the entry added at the end of the section. Every
// line is written as ScriptText and ends in CR LF. Every test of a line (valid, header,
// section, entry name) looks at it as the pages read it, escapes decoded, so the pages
// and the rewrite see the same sections and entries.
std::wstring RewriteFavorites(std::wstring_view oldText, const FavoritesRequest& request);
