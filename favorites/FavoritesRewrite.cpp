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

// A line the pages' script and the next rewrite both accept. The header and comments
// are exempt.
bool IsValidLine(std::wstring_view line) {
    if (EqualsNoCase(line, FavoritesHeader) || line.starts_with(L"//"))
        return true;
    if (!line.starts_with(EntryPrefix) || !line.ends_with(ClosingPair))
        return false;
    const auto innerLength = static_cast<std::size_t>(MaxOf(std::int64_t(line.size()) - 4, 0));
    const std::wstring_view inner = line.substr(std::min<std::size_t>(2, line.size()), innerLength);
    if (std::any_of(inner.begin(), inner.end(),
                    [](wchar_t c) { return c == L'\x01' || c == L'"'; }))
        return false;
    const std::size_t equals = line.find(L'=');
    return equals == std::wstring_view::npos ||
           line.find(L'=', equals + 1) == std::wstring_view::npos;
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

bool IsSurrogate(std::uint32_t unit, std::uint32_t first) {
    return unit >= first && unit <= first + 0x3FF;
}

// One character: a surrogate pair counts as one.
std::size_t CharacterLength(std::wstring_view text, std::size_t at) {
    const bool pair =
        at + 1 < text.size() && IsSurrogate(text[at], 0xD800) && IsSurrogate(text[at + 1], 0xDC00);
    return pair ? 2 : 1;
}

void AppendUnitEscape(std::wstring& out, std::uint32_t unit) {
    static constexpr wchar_t Hex[] = L"0123456789ABCDEF";
    out += L"\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += Hex[(unit >> shift) & 0xF];
}

void AppendEscapes(std::wstring& out, std::wstring_view character) {
    for (const wchar_t c : character) {
        const auto u = static_cast<std::uint32_t>(c);
        if (u > 0xFFFF) { // a 32-bit wchar_t holds what UTF-16 splits in two
            AppendUnitEscape(out, 0xD800 + ((u - 0x10000) >> 10));
            AppendUnitEscape(out, 0xDC00 + ((u - 0x10000) & 0x3FF));
        } else {
            AppendUnitEscape(out, u);
        }
    }
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

// Whether text from the file, read as the pages read it, equals plain ignoring case.
bool MatchesNoCase(std::wstring_view fileText, std::wstring_view plain) {
    if (fileText.find(L'\\') == std::wstring_view::npos)
        return EqualsNoCase(fileText, plain);
    return EqualsNoCase(PlainText(fileText), plain);
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
    const std::size_t drive = FindNoCase(reference, L":\\");
    if (drive == std::wstring::npos || drive == 0)
        throw RunError(ErrorKind::InvalidArgument, reference);
    reference.erase(0, drive - 1);
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
    if (problem.empty() && !IsValidLine(SectionLine(request.section)))
        problem = L"The name of the help file " + request.helpFile +
                  L" cannot head a section of the Favorites file: it may hold one equals sign "
                  L"at most." +
                  Unchanged;
    return problem;
}

bool FitsAnyCodePage(std::wstring_view) {
    return true;
}

std::wstring ScriptText(std::wstring_view text, const FitsCodePage& fits) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::wstring_view character = text.substr(i, CharacterLength(text, i));
        if (character.front() < 0x80 || fits(character))
            out += character;
        else
            AppendEscapes(out, character);
        i += character.size();
    }
    return out;
}

std::wstring PlainText(std::wstring_view scriptText) {
    std::wstring out;
    out.reserve(scriptText.size());
    for (std::size_t i = 0; i < scriptText.size();) {
        const auto unit = EscapedUnit(scriptText, i);
        if (!unit) {
            // Any other escape pair is kept as it stands ("\\u0041" is no escape of A).
            const std::size_t n = scriptText[i] == L'\\' && i + 1 < scriptText.size() ? 2 : 1;
            out += scriptText.substr(i, n);
            i += n;
            continue;
        }
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

// Calls visit with each line of file text, without its end (CR or CR LF).
template <typename Visit> void ForEachFileLine(std::wstring_view text, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t cr = text.find(L'\r', start);
        if (cr == std::wstring_view::npos) {
            visit(text.substr(start));
            return;
        }
        visit(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == L'\n')
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
    return text.substr(0, text.find(L'\r'));
}

std::wstring JoinFileLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines)
        text.append(line).append(CrLf);
    return text;
}

std::wstring RewriteFavorites(std::wstring_view oldText, const FavoritesRequest& request,
                              const FitsCodePage& fits) {
    const std::wstring sectionMatch = SectionLine(request.section);
    const std::wstring sectionLine = SectionLine(ScriptText(request.section, fits));
    const std::wstring entryLine =
        EntryLine(ScriptText(request.name, fits), ScriptText(request.topic, fits));
    const std::wstring entryStart = std::wstring(EntryPrefix) + request.name;
    const std::wstring sectionStart = std::wstring(EntryPrefix) + L"[";
    const bool adding = !request.topic.empty();

    std::wstring text;
    text.reserve(oldText.size() + sectionLine.size() + entryLine.size() + 2 * CrLf.size());
    const auto write = [&](std::wstring_view line) { text.append(line).append(CrLf); };
    bool inSection = false;
    bool done = false;
    ForEachFileLine(oldText, [&](std::wstring_view raw) {
        const std::wstring_view line = TrimSpaces(raw);
        if (!IsValidLine(line))
            return;
        if (done) {
            write(line);
        } else if (MatchesNoCase(line, sectionMatch)) {
            write(line);
            inSection = true;
        } else if (inSection && line.starts_with(sectionStart)) {
            // The next section begins: the entry goes at the end of this one.
            if (adding)
                write(entryLine);
            done = true;
            write(line);
            inSection = false;
        } else if (const std::size_t equals = line.find(L'=');
                   inSection && equals != std::wstring_view::npos && equals >= 1 &&
                   MatchesNoCase(TrimSpaces(line.substr(0, equals)), entryStart)) {
            if (adding)
                write(entryLine);
            done = true;
        } else {
            write(line);
        }
    });
    if (adding && !done) {
        if (!inSection)
            write(sectionLine);
        write(entryLine);
    }
    return text;
}
