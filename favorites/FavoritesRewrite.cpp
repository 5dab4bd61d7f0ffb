#include "favorites/FavoritesRewrite.h"

#include "platform/RunError.h"
#include "text/CaseFold.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <cstdint>

namespace {

std::wstring_view TrimSpaces(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
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

void AppendScriptText(std::wstring& out, std::wstring_view text) {
    // A file's lines are mostly ASCII: runs of it go in whole.
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto u = static_cast<std::uint32_t>(text[i]);
        if (u < 0x80)
            continue;
        out.append(text.substr(start, i - start));
        start = i + 1;
        if (u > 0xFFFF) { // a 32-bit wchar_t holds what UTF-16 splits in two
            AppendUnitEscape(out, 0xD800 + ((u - 0x10000) >> 10));
            AppendUnitEscape(out, 0xDC00 + ((u - 0x10000) & 0x3FF));
        } else {
            AppendUnitEscape(out, u);
        }
    }
    out.append(text.substr(start));
}

// The unit of a \uXXXX escape at text[at], or nothing.
std::optional<std::uint32_t> EscapedUnit(std::wstring_view text, std::size_t at) {
    if (at + 6 > text.size() || text[at] != L'\\' || text[at + 1] != L'u')
        return std::nullopt;
    std::uint32_t unit = 0;
    for (std::size_t i = at + 2; i < at + 6; ++i) {
        const wchar_t c = text[i];
        const int digit = c >= L'0' && c <= L'9'   ? c - L'0'
                          : c >= L'a' && c <= L'f' ? c - L'a' + 10
                          : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                   : -1;
        if (digit < 0)
            return std::nullopt;
        unit = unit * 16 + static_cast<std::uint32_t>(digit);
    }
    return unit;
}

// A line of the old file as the pages' script reads it. text is what every test of the
// line looks at: the line itself, or its escapes decoded into decoded. ascii: the line as
// it stands holds nothing outside ASCII, so it is written as it is.
struct ReadLine {
    bool valid = false;
    std::wstring_view text;
    bool ascii = true;
};

// What one look at every character of a line finds (a file may hold many thousand).
struct LineScan {
    bool lineBreak = false;
    bool backslash = false;
    bool ascii = true;
    bool quoted =
        false; // a double quote or U+0001 between the first two characters and the last two
    int equals = 0;
};

LineScan ScanLine(std::wstring_view text) {
    LineScan scan;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c > L'\\') {
            if (c >= 0x80) {
                scan.ascii = false;
                scan.lineBreak |= c == L'\u2028' || c == L'\u2029';
            }
        } else if (c == L'\\') {
            scan.backslash = true;
        } else if (c == L'=') {
            scan.equals += 1;
        } else if (c == L'\r' || c == L'\n') {
            scan.lineBreak = true;
        } else if ((c == L'"' || c == L'\x01') && i >= 2 && i + 2 < text.size()) {
            scan.quoted = true;
        }
    }
    return scan;
}

// Whether the pages' script and the next rewrite both accept the (trimmed) line: the
// header and comments as they stand, an item as "+"...<U+0001>"" with nothing quoted,
// no U+0001 and at most one "=" in it once its escapes are read, and no backslash that
// is not a whole \uXXXX escape. A raw line break breaks any line.
ReadLine ReadFileLine(std::wstring_view line, std::wstring& decoded) {
    const LineScan raw = ScanLine(line);
    if (raw.lineBreak)
        return {};
    if (line.starts_with(L"//") || IsFavoritesHeader(line))
        return {true, line, raw.ascii};
    // The quotes that open and close the string are the script's own, never escapes.
    if (!line.starts_with(EntryPrefix) || !line.ends_with(L'"'))
        return {};
    if (!raw.backslash)
        return {line.ends_with(ClosingPair) && !raw.quoted && raw.equals <= 1, line, raw.ascii};
    auto plain = PlainText(line);
    if (!plain)
        return {};
    decoded = std::move(*plain);
    const LineScan read = ScanLine(decoded);
    const std::wstring_view text = decoded;
    return {text.ends_with(ClosingPair) && !read.quoted && read.equals <= 1, text, raw.ascii};
}

bool IsValidLine(std::wstring_view line) {
    std::wstring decoded;
    return ReadFileLine(line, decoded).valid;
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
        const bool afterPrefix = share == 0 || reference[share - 1] == L':';
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
    const std::wstring location = TextAfter(argument, L"=");
    if (location.empty())
        return std::nullopt;
    FavoritesRequest request;
    // Blanks after a name would keep it from matching its own stored line.
    request.name = TextBefore(argument, L"=");
    request.name.erase(request.name.find_last_not_of(L' ') + 1);

    std::wstring reference = TextBefore(location, L"::");
    std::replace(reference.begin(), reference.end(), L'/', L'\\');
    const std::size_t start = HelpFilePathStart(reference);
    if (start == std::wstring::npos)
        throw RunError(ErrorKind::InvalidArgument, reference);
    reference.erase(0, start);
    if (reference.starts_with(L"\\\\") && !IsSharePath(reference))
        throw RunError(ErrorKind::InvalidArgument, reference);
    request.helpFile = reference;

    const std::size_t lastSlash = reference.rfind(L'\\');
    request.folder = reference.substr(0, lastSlash + 1);
    request.section = TextBefore(std::wstring_view(reference).substr(lastSlash + 1), L".chm");
    if (add)
        request.topic = TextAfter(location, L"::/");
    request.favoritesFile = request.folder + L"ext_BM.js";
    request.temporaryFile = request.favoritesFile + L".tmp";
    return request;
}

std::wstring FavoriteEntryProblem(const FavoritesRequest& request) {
    static constexpr std::wstring_view Banned = L"\"\x01\r\n\\";
    // The argument's own first "=" ends the name, but a look-alike can still turn into
    // one when the name is converted for the file.
    static constexpr std::wstring_view BannedInEntry = L"\"\x01\r\n\\=";
    std::wstring problem = ProblemIn(L"name", request.name, BannedInEntry);
    if (problem.empty() && request.name.starts_with(L'['))
        // The pages and the rewrite would read the line as a section.
        problem = L"The favourite's name begins with \"[\", which is not allowed." +
                  std::wstring(Unchanged);
    if (problem.empty())
        problem = ProblemIn(L"topic", request.topic, BannedInEntry);
    if (problem.empty())
        problem = ProblemIn(L"help file name", request.section, Banned);
    if (problem.empty() && !IsValidLine(SectionLine(ScriptText(request.section))))
        problem = L"The name of the help file " + request.helpFile +
                  L" cannot head a section of the Favorites file: it may hold one equals sign "
                  L"at most." +
                  Unchanged;
    return problem;
}

std::wstring ScriptText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    AppendScriptText(out, text);
    return out;
}

std::optional<std::wstring> PlainText(std::wstring_view scriptText) {
    std::wstring out;
    out.reserve(scriptText.size());
    for (std::size_t i = 0; i < scriptText.size();) {
        if (scriptText[i] != L'\\') {
            out += scriptText[i++];
            continue;
        }
        const auto unit = EscapedUnit(scriptText, i);
        if (!unit)
            return std::nullopt;
        i += 6;
        const auto low = EscapedUnit(scriptText, i);
        if (sizeof(wchar_t) > 2 && IsSurrogate(*unit, 0xD800) && low && IsSurrogate(*low, 0xDC00)) {
            // A 32-bit wchar_t holds the pair as one character.
            out += static_cast<wchar_t>(0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00));
            i += 6;
        } else {
            out += static_cast<wchar_t>(*unit);
        }
    }
    return out;
}

std::wstring SectionLine(std::wstring_view section) {
    return std::wstring(EntryPrefix) + L"[" + std::wstring(section) + L"]" +
           std::wstring(ClosingPair);
}

std::wstring EntryLine(std::wstring_view name, std::wstring_view topic) {
    return std::wstring(EntryPrefix) + std::wstring(name) + L"=" + std::wstring(topic) +
           std::wstring(ClosingPair);
}

bool IsFavoritesHeader(std::wstring_view line) {
    return EqualsNoCase(line, FavoritesHeader);
}

namespace {

// Where the line that starts at from ends (a CR or an LF), or npos. A plain loop: the
// library's search for either of two characters looks each one up in the pair.
std::size_t LineEnd(std::wstring_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n')
            return i;
    }
    return std::wstring_view::npos;
}

// Calls visit with each line of file text, without its end (CR LF, CR or LF).
template <typename Visit> void ForEachFileLine(std::wstring_view text, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = LineEnd(text, start);
        if (end == std::wstring_view::npos) {
            visit(text.substr(start));
            return;
        }
        visit(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == L'\r' && start < text.size() && text[start] == L'\n')
            ++start;
    }
}

} // namespace

std::vector<std::wstring> SplitFileLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    ForEachFileLine(text, [&](std::wstring_view line) { lines.emplace_back(line); });
    return lines;
}

std::wstring_view FirstFileLine(std::wstring_view text) {
    return text.substr(0, LineEnd(text, 0));
}

std::wstring JoinFileLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines)
        text.append(line).append(CrLf);
    return text;
}

std::wstring RewriteFavorites(std::wstring_view oldText, const FavoritesRequest& request) {
    // As the pages read them; written as ScriptText, as every line is.
    const std::wstring sectionLine = SectionLine(request.section);
    const std::wstring entryLine = EntryLine(request.name, request.topic);
    const std::wstring entryStart = std::wstring(EntryPrefix) + request.name;
    const std::wstring sectionStart = std::wstring(EntryPrefix) + L"[";
    const bool adding = !request.topic.empty();

    std::wstring text;
    text.reserve(oldText.size() + sectionLine.size() + entryLine.size() + 2 * CrLf.size());
    const auto write = [&](std::wstring_view line, bool ascii = false) {
        if (ascii)
            text.append(line);
        else
            AppendScriptText(text, line);
        text.append(CrLf);
    };
    bool inSection = false;
    bool done = false;
    std::wstring decoded;
    ForEachFileLine(oldText, [&](std::wstring_view raw) {
        const std::wstring_view line = TrimSpaces(raw);
        const ReadLine read = ReadFileLine(line, decoded);
        if (!read.valid)
            return;
        const std::wstring_view seen = read.text;
        if (done) {
            write(line, read.ascii);
        } else if (EqualsNoCase(seen, sectionLine)) {
            write(line, read.ascii);
            inSection = true;
        } else if (inSection && seen.starts_with(sectionStart)) {
            // The next section begins: the entry goes at the end of this one.
            if (adding)
                write(entryLine);
            done = true;
            write(line, read.ascii);
            inSection = false;
        } else if (const std::size_t equals = seen.find(L'=');
                   inSection && equals != std::wstring_view::npos && equals >= 1 &&
                   EqualsNoCase(TrimSpaces(seen.substr(0, equals)), entryStart)) {
            if (adding)
                write(entryLine);
            done = true;
        } else {
            write(line, read.ascii);
        }
    });
    if (adding && !done) {
        if (!inSection)
            write(sectionLine);
        write(entryLine);
    }
    return text;
}
