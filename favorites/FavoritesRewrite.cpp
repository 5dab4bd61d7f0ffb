#include "favorites/FavoritesRewrite.h"

#include "platform/PathText.h"
#include "platform/RunError.h"
#include "text/CaseFold.h"
#include "text/TextSplit.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

// A line without the blanks and tabs around it, which a script engine passes over.
std::wstring_view TrimBlanks(std::wstring_view text) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::wstring_view TrimTrailingSpaces(std::wstring_view text) {
    return text.substr(0, text.find_last_not_of(L' ') + 1);
}

bool IsSurrogate(std::uint32_t unit, std::uint32_t first) {
    return unit >= first && unit <= first + 0x3FF;
}

void AppendUnitEscape(std::wstring& out, std::uint32_t unit) {
    static constexpr wchar_t Hex[] = L"0123456789ABCDEF";
    out += L"\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += Hex[(unit >> shift) & 0xF];
}

void AppendCharacterEscape(std::wstring& out, std::uint32_t c) {
    if (c > 0xFFFF) { // a 32-bit wchar_t holds what UTF-16 splits in two
        AppendUnitEscape(out, 0xD800 + ((c - 0x10000) >> 10));
        AppendUnitEscape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        AppendUnitEscape(out, c);
    }
}

// Appends text with every character for which escape(c) holds written as \uXXXX. Runs of
// characters that need none (most of a file) go in whole.
template <typename NeedsEscape>
void AppendEscaped(std::wstring& out, std::wstring_view text, NeedsEscape escape) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint32_t>(text[i]);
        if (!escape(c))
            continue;
        out.append(text.substr(start, i - start));
        start = i + 1;
        AppendCharacterEscape(out, c);
    }
    out.append(text.substr(start));
}

bool OutsideAscii(std::uint32_t c) {
    return c >= 0x80;
}

// Inside a string: everything but printable ASCII, and the quote and backslash that would
// end the string or begin an escape.
bool NotPlainInString(std::uint32_t c) {
    return c < 0x20 || c >= 0x7F || c == L'"' || c == L'\\';
}

void AppendScriptText(std::wstring& out, std::wstring_view text) {
    AppendEscaped(out, text, OutsideAscii);
}

int HexDigit(wchar_t c) {
    return c >= L'0' && c <= L'9'   ? c - L'0'
           : c >= L'a' && c <= L'f' ? c - L'a' + 10
           : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                    : -1;
}

// The value of count hexadecimal digits at text[at], or nothing.
std::optional<std::uint32_t> HexValue(std::wstring_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size())
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

bool IsOctalDigit(wchar_t c) {
    return c >= L'0' && c <= L'7';
}

bool IsScriptLineBreak(wchar_t c) {
    return c == L'\r' || c == L'\n' || c == L'\u2028' || c == L'\u2029';
}

// What an escape stands for: the character and the length of the escape, backslash
// included; nothing where a script engine refuses it. As ECMAScript 3 engines read it,
// the octal escapes of every engine included (\101 is "A", \0 U+0000), and a backslash
// before any other character standing for that character (\D is "D", \8 is "8"). "\v"
// too is "v": the viewer's JScript has no vertical-tab escape, so an older client's raw
// "C:\vocab" is the favourite "C:vocab" on the page, and must stay so.
std::optional<std::pair<std::uint32_t, std::size_t>> ReadEscape(std::wstring_view text,
                                                                std::size_t at) {
    if (at + 1 >= text.size())
        return std::nullopt;
    const wchar_t c = text[at + 1];
    static constexpr std::wstring_view Letters = L"btnfr";
    static constexpr std::wstring_view Controls = L"\b\t\n\f\r";
    if (const std::size_t letter = Letters.find(c); letter != std::wstring_view::npos)
        return std::pair{static_cast<std::uint32_t>(Controls[letter]), std::size_t{2}};
    if (c == L'x' || c == L'u') {
        const std::size_t digits = c == L'x' ? 2 : 4;
        const auto value = HexValue(text, at + 2, digits);
        if (!value)
            return std::nullopt;
        return std::pair{*value, 2 + digits};
    }
    if (IsOctalDigit(c)) {
        // Three digits at most, and the value stays below 256: \377, \47, \7.
        const std::size_t most = c <= L'3' ? 3 : 2;
        std::uint32_t value = 0;
        std::size_t n = 0;
        while (n < most && at + 1 + n < text.size() && IsOctalDigit(text[at + 1 + n]))
            value = value * 8 + static_cast<std::uint32_t>(text[at + 1 + n++] - L'0');
        return std::pair{value, 1 + n};
    }
    if (IsScriptLineBreak(c))
        return std::nullopt;
    return std::pair{static_cast<std::uint32_t>(c), 2u};
}

} // namespace

std::optional<std::wstring> ReadScriptString(std::wstring_view quoted) {
    std::wstring out;
    out.reserve(quoted.size());
    for (std::size_t i = 0; i < quoted.size();) {
        const wchar_t c = quoted[i];
        if (c == L'"' || IsScriptLineBreak(c))
            return std::nullopt;
        if (c != L'\\') {
            out += c;
            ++i;
            continue;
        }
        const auto escape = ReadEscape(quoted, i);
        if (!escape)
            return std::nullopt;
        i += escape->second;
        std::uint32_t unit = escape->first;
        // A 32-bit wchar_t holds an escaped surrogate pair as one character.
        if (sizeof(wchar_t) > 2 && IsSurrogate(unit, 0xD800) && i < quoted.size() &&
            quoted[i] == L'\\') {
            const auto low = ReadEscape(quoted, i);
            if (low && IsSurrogate(low->first, 0xDC00)) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low->first - 0xDC00);
                i += low->second;
            }
        }
        out += static_cast<wchar_t>(unit);
    }
    return out;
}

namespace {

enum class LineKind { Dropped, Header, Comment, Item };

// A line of the old file, trimmed of blanks, as the pages' script reads it. An item's text
// is its string without the closing U+0001; written: the line is already exactly what
// the rewrite writes for it.
struct FileLine {
    LineKind kind = LineKind::Dropped;
    std::wstring_view line;
    std::wstring_view text;
    bool written = false;
};

// What one look at each character of a string's text finds (a file may hold many
// thousand lines): whether it must be read escape by escape, whether it is printable
// ASCII but for its U+0001, and how many U+0001 it holds.
struct StringScan {
    bool escaped = false; // a backslash, or what an engine refuses raw: a quote, a line break
    bool plain = true;
    std::size_t ones = 0;
};

StringScan ScanString(std::wstring_view quoted) {
    StringScan scan;
    for (const wchar_t c : quoted) {
        if (c >= 0x20 && c < 0x7F) {
            scan.escaped |= c == L'\\' || c == L'"';
        } else if (c == L'\x01') {
            ++scan.ones;
        } else {
            scan.plain = false;
            scan.escaped |= IsScriptLineBreak(c);
        }
    }
    return scan;
}

// Reads one line. A comment with a raw line break of the script (U+2028, U+2029) would
// end there: dropped. An item is kept when a script engine reads it as one string that
// ends with U+0001 and holds no other; decoded holds its text when escapes were read.
FileLine ReadFileLine(std::wstring_view raw, std::deque<std::wstring>& decoded) {
    FileLine read;
    read.line = TrimBlanks(raw);
    const std::wstring_view line = read.line;
    if (IsFavoritesHeader(line)) {
        read.kind = LineKind::Header;
        return read;
    }
    if (line.starts_with(L"//")) {
        if (line.find_first_of(L"\u2028\u2029") == std::wstring_view::npos) {
            read.kind = LineKind::Comment;
            read.written = std::none_of(line.begin(), line.end(), [](wchar_t c) {
                return OutsideAscii(static_cast<std::uint32_t>(c));
            });
        }
        return read;
    }
    if (line.size() < 3 || !line.starts_with(EntryPrefix) || !line.ends_with(L'"'))
        return read;
    const std::wstring_view quoted = line.substr(2, line.size() - 3);
    const StringScan scan = ScanString(quoted);
    std::wstring_view text = quoted;
    if (scan.escaped) {
        auto plain = ReadScriptString(quoted);
        if (!plain)
            return read;
        text = decoded.emplace_back(std::move(*plain));
    } else if (scan.ones != 1) {
        return read;
    }
    if (!text.ends_with(L'\x01') || (scan.escaped && text.find(L'\x01') != text.size() - 1))
        return read;
    read.kind = LineKind::Item;
    read.text = text.substr(0, text.size() - 1);
    read.written = !scan.escaped && scan.plain;
    return read;
}

const wchar_t* CharacterName(wchar_t c) {
    switch (c) {
    case L'"':
        return L"a double quote (\")";
    case L'\x01':
        return L"the control character U+0001";
    case L'\r':
    case L'\n':
        return L"a line break";
    case L'\\':
        return L"a backslash (\\)";
    case L'=':
        return L"an equals sign (=)";
    }
    return L"";
}

constexpr wchar_t Unchanged[] = L"\r\nThe Favorites file was not changed.";

std::wstring ProblemIn(std::wstring_view what, std::wstring_view text, std::wstring_view banned) {
    const std::size_t bad = text.find_first_of(banned);
    if (bad == std::wstring_view::npos)
        return {};
    return L"The favourite's " + std::wstring(what) + L" contains " + CharacterName(text[bad]) +
           L", which is not allowed." + Unchanged;
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// Where the help file's path begins in a reference whose "/" are "\" already: at the
// "\\" of a share when the reference begins with it or its prefix ends there in ":"
// (and that ":" is not a drive's), else one character before the first ":\"; npos when
// there is neither.
std::size_t HelpFilePathStart(std::wstring_view reference) {
    const std::size_t drive = reference.find(L":\\");
    const std::size_t share = reference.find(L"\\\\");
    if (share != std::wstring_view::npos) {
        // An "=" there ends a name that held one ("E=mc2=\\server\...").
        const bool afterPrefix =
            share == 0 || reference[share - 1] == L':' || reference[share - 1] == L'=';
        const bool afterDrive = share >= 2 && IsAsciiLetter(reference[share - 2]) &&
                                (share == 2 || reference[share - 3] == L':');
        if (afterPrefix && !afterDrive && (drive == std::wstring_view::npos || drive + 1 >= share))
            return share;
    }
    return drive == std::wstring_view::npos || drive == 0 ? std::wstring_view::npos : drive - 1;
}

// "\\server\share\" and a file name after it, each part not empty.
bool IsSharePath(std::wstring_view path) {
    const std::size_t server = path.find(L'\\', 2);
    const std::size_t share =
        server == std::wstring_view::npos ? server : path.find(L'\\', server + 1);
    return server > 2 && share != std::wstring_view::npos && share > server + 1 &&
           share + 1 < path.size();
}

} // namespace

std::optional<FavoritesRequest> ReadFavoritesArgument(std::wstring_view argument, bool add) {
    const std::size_t equals = argument.find(L'=');
    if (equals == std::wstring_view::npos || equals + 1 == argument.size())
        return std::nullopt;
    std::wstring_view location = argument.substr(equals + 1);
    std::wstring reference(TextBefore(location, L"::"));
    std::replace(reference.begin(), reference.end(), L'/', L'\\');
    const std::size_t start = HelpFilePathStart(reference);
    if (start == std::wstring::npos)
        throw RunError(ErrorKind::InvalidArgument, reference);
    // The page's address holds no "=" before the help file's path: one there was the
    // reader's, in the name ("E=mc2"), which is then refused as a whole.
    const std::size_t nameEquals = location.substr(0, start).rfind(L'=');
    const std::size_t nameEnd =
        nameEquals == std::wstring_view::npos ? equals : equals + 1 + nameEquals;
    if (nameEquals != std::wstring_view::npos) {
        location.remove_prefix(nameEquals + 1);
        reference.erase(0, nameEquals + 1);
    }
    reference.erase(0, start - (nameEquals == std::wstring_view::npos ? 0 : nameEquals + 1));
    if (reference.starts_with(L"\\\\") && !IsSharePath(reference))
        throw RunError(ErrorKind::InvalidArgument, reference);

    FavoritesRequest request;
    // Blanks after a name would keep it from matching its own stored line.
    request.name = TrimTrailingSpaces(argument.substr(0, nameEnd));
    request.helpFile = reference;
    request.folder = FolderWithSlash(reference);
    request.section = TextBefore(FileNameOfPath(reference), L".chm");
    if (add)
        request.topic = TextAfter(location, L"::/");
    request.favoritesFile = request.folder + L"ext_BM.js";
    request.temporaryFile = request.favoritesFile + L".tmp";
    return request;
}

std::wstring FavoriteEntryProblem(const FavoritesRequest& request) {
    // Each of these ends the name, the line or the run of items for the pages, or would
    // break the address that a page's Remove button hands back.
    static constexpr std::wstring_view Banned = L"\"\x01\r\n\\";
    static constexpr std::wstring_view BannedInName = L"\"\x01\r\n\\=";
    // A request that writes nothing (/bmdel) finds any name the pages list, but its
    // name still may not hold the "=" that would have ended it.
    if (request.topic.empty())
        return ProblemIn(L"name", request.name, L"=");
    std::wstring problem = ProblemIn(L"name", request.name, BannedInName);
    if (problem.empty() && request.name.starts_with(L'['))
        // The pages and the rewrite would read the line as a section.
        problem = L"The favourite's name begins with \"[\", which is not allowed." +
                  std::wstring(Unchanged);
    if (problem.empty())
        problem = ProblemIn(L"topic", request.topic, Banned);
    if (problem.empty())
        problem = ProblemIn(L"help file name", request.section, Banned);
    return problem;
}

std::wstring ScriptText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    AppendScriptText(out, text);
    return out;
}

std::wstring ItemLine(std::wstring_view text) {
    std::wstring line(EntryPrefix);
    AppendEscaped(line, text, NotPlainInString);
    return line.append(ClosingPair);
}

std::wstring SectionLine(std::wstring_view section) {
    return ItemLine(L"[" + std::wstring(section) + L"]");
}

std::wstring EntryLine(std::wstring_view name, std::wstring_view topic) {
    return ItemLine(std::wstring(name) + L"=" + std::wstring(topic));
}

bool IsFavoritesHeader(std::wstring_view line) {
    return EqualsNoCase(line, FavoritesHeader);
}

std::wstring_view FirstFileLine(std::wstring_view text) {
    return text.substr(0, text.find_first_of(L"\r\n"));
}

std::wstring JoinFileLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines)
        text.append(line).append(CrLf);
    return text;
}

namespace {

// Whether an item is the entry of that name: its text before the first "=", without
// blanks at its end, is the name in any letter case.
bool IsEntryOf(std::wstring_view text, std::wstring_view name) {
    const std::size_t equals = text.find(L'=');
    return equals != std::wstring_view::npos && !text.starts_with(L'[') &&
           EqualsNoCase(TrimTrailingSpaces(text.substr(0, equals)), name);
}

bool IsSectionLine(const FileLine& line) {
    return line.kind == LineKind::Item && line.text.starts_with(L'[');
}

// The new file, written line by line as the old one is read.
class NewFile {
  public:
    NewFile(std::size_t oldSize, const FavoritesRequest& request)
        : request_(request), entryLine_(EntryLine(request.name, request.topic)),
          sectionText_(L"[" + request.section + L"]") {
        text_.reserve(oldSize + 2 * entryLine_.size() + 32);
        Write(FavoritesHeader);
    }
    bool Adding() const { return !request_.topic.empty(); }
    bool IsOwnSection(const FileLine& line) const { return EqualsNoCase(line.text, sectionText_); }
    bool IsOwnEntry(const FileLine& line) const {
        return line.kind == LineKind::Item && IsEntryOf(line.text, request_.name);
    }
    // A line of the old file, as it stands when it is in the written form already.
    void Write(const FileLine& line) {
        if (line.written)
            Write(line.line);
        else if (line.kind == LineKind::Comment)
            Write(ScriptText(line.line));
        else
            Write(ItemLine(line.text));
    }
    void WriteEntry() {
        if (Adding())
            Write(entryLine_);
    }
    // At the end of the file: the entry, in a section of its own when the file had none.
    std::wstring Finish(bool sectionFound, bool done) {
        if (Adding() && !done) {
            if (!sectionFound)
                Write(SectionLine(request_.section));
            Write(entryLine_);
        }
        return std::move(text_);
    }

  private:
    void Write(std::wstring_view line) { text_.append(line).append(CrLf); }

    const FavoritesRequest& request_;
    const std::wstring entryLine_;
    const std::wstring sectionText_;
    std::wstring text_;
};

// The rewrite in one pass, for a file whose sections each appear once (nearly every file):
// nothing when a section appears again.
std::optional<std::wstring> RewriteInOrder(std::wstring_view oldText,
                                           const FavoritesRequest& request) {
    NewFile file(oldText.size(), request);
    std::deque<std::wstring> decoded;
    std::unordered_set<std::wstring> sections;
    bool inSection = false;
    bool sectionFound = false;
    bool done = false;
    bool repeated = false;
    ForEachLine(oldText, [&](std::wstring_view raw) {
        if (repeated)
            return;
        decoded.clear();
        const FileLine line = ReadFileLine(raw, decoded);
        if (line.kind == LineKind::Dropped || line.kind == LineKind::Header)
            return; // the header is written once, at the top
        if (IsSectionLine(line)) {
            repeated = !sections.insert(FoldCase(line.text)).second;
            if (inSection && !done) {
                file.WriteEntry(); // at the end of the help file's section
                done = true;
            }
            inSection = file.IsOwnSection(line);
            sectionFound |= inSection;
        } else if (inSection && !done && file.IsOwnEntry(line)) {
            file.WriteEntry(); // in the old entry's place
            done = true;
            return;
        }
        file.Write(line);
    });
    if (repeated)
        return std::nullopt;
    return file.Finish(sectionFound, done);
}

// The rewrite of a file in which a section appears again: each line is put in a block, 0
// for the lines before the first section, then one block per section in the order the
// sections first appear; the lines after a repeated section line join its first block.
std::wstring RewriteMerged(std::wstring_view oldText, const FavoritesRequest& request) {
    std::deque<std::wstring> decoded;
    std::vector<FileLine> lines;
    std::vector<std::size_t> blockOf;
    std::unordered_map<std::wstring, std::size_t> blockOfSection;
    std::size_t blocks = 1;
    std::size_t current = 0;
    ForEachLine(oldText, [&](std::wstring_view raw) {
        const FileLine line = ReadFileLine(raw, decoded);
        if (line.kind == LineKind::Dropped || line.kind == LineKind::Header)
            return;
        if (IsSectionLine(line)) {
            const auto [at, isNew] = blockOfSection.try_emplace(FoldCase(line.text), blocks);
            current = at->second;
            if (!isNew)
                return;
            ++blocks;
        }
        blockOf.push_back(current);
        lines.push_back(line);
    });
    // The lines block by block: a counting sort by block keeps each block's order.
    std::vector<std::size_t> blockStart(blocks + 1, 0);
    for (const std::size_t block : blockOf)
        ++blockStart[block + 1];
    for (std::size_t b = 1; b < blockStart.size(); ++b)
        blockStart[b] += blockStart[b - 1];
    std::vector<std::size_t> order(lines.size());
    std::vector<std::size_t> next(blockStart.begin(), blockStart.end() - 1);
    for (std::size_t i = 0; i < lines.size(); ++i)
        order[next[blockOf[i]]++] = i;

    NewFile file(oldText.size(), request);
    bool sectionFound = false;
    bool done = false;
    for (std::size_t block = 0; block < blocks; ++block) {
        const bool own = block > 0 && file.IsOwnSection(lines[order[blockStart[block]]]);
        sectionFound |= own;
        for (std::size_t k = blockStart[block]; k < blockStart[block + 1]; ++k) {
            const FileLine& line = lines[order[k]];
            if (own && !done && file.IsOwnEntry(line)) {
                file.WriteEntry();
                done = true;
            } else {
                file.Write(line);
            }
        }
        if (own && !done) {
            file.WriteEntry();
            done = true;
        }
    }
    return file.Finish(sectionFound, done);
}

} // namespace

std::wstring RewriteFavorites(std::wstring_view oldText, const FavoritesRequest& request) {
    if (auto text = RewriteInOrder(oldText, request))
        return std::move(*text);
    return RewriteMerged(oldText, request);
}
