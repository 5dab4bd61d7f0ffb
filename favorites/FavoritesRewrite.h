// The Favorites file as text: the rewrite of ext_BM.js that a request asks for. No file
// is touched here.
//
// The file is a script the dictionary's pages include:
//   ;var ext_BM=""
//   +"[Quillbay]<U+0001>"        a section: the help file's name
//   +" Word=html/a.htm<U+0001>"  an entry of that section: name "=" topic
//   // ...                       comments, kept as they are
// The rewrite writes pure ASCII (favorites/ScriptString.h). A file written before in the
// ANSI code page is read in it, and is ASCII after its next rewrite. Its bytes are read as
// they stand (every ANSI code page holds ASCII as it is); only a line holding a byte
// outside ASCII is decoded, that line alone.
#pragma once
#include "favorites/FavoritesRequest.h"

#include <string>
#include <string_view>
#include <vector>

inline constexpr std::wstring_view FavoritesHeader = L";var ext_BM=\"\"";
inline constexpr std::wstring_view EntryPrefix = L"+\"";
inline constexpr std::wstring_view ClosingPair = L"\x01\"";

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
// The same rewrite of the file's bytes in the ANSI code page, into the new file's bytes.
// decode converts the bytes of a line that holds one outside ASCII (with its line end).
using AnsiDecoder = std::wstring (*)(std::string_view bytes);
std::string RewriteFavorites(std::string_view oldBytes, const FavoritesRequest& request,
                             AnsiDecoder decode);
