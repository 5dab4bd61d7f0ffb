#include "favorites/FavoritesRewrite.h"

#include "platform/RunError.h"
#include "text/CaseFold.h"
#include "text/TextUtil.h"

#include <algorithm>

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
    if (inner.find_first_of(L"\x01\"") != std::wstring_view::npos)
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

std::wstring ProblemIn(std::wstring_view what, std::wstring_view text, std::wstring_view banned) {
    const std::size_t bad = text.find_first_of(banned);
    if (bad == std::wstring_view::npos)
        return {};
    return L"The favourite's " + std::wstring(what) + L" contains " + CharacterName(text[bad]) +
           L", which is not allowed.\r\n"
           L"The Favorites file was not changed.";
}

} // namespace

std::optional<FavoritesRequest> ReadFavoritesArgument(std::wstring_view argument, bool add) {
    const std::wstring location = TextAfter(argument, L"=");
    if (location.empty())
        return std::nullopt;
    FavoritesRequest request;
    request.name = TextBefore(argument, L"=");

    std::wstring reference = TextBefore(location, L"::");
    std::replace(reference.begin(), reference.end(), L'/', L'\\');
    const std::size_t drive = FindNoCase(reference, L":\\");
    if (drive == std::wstring::npos || drive == 0)
        throw RunError(ErrorKind::InvalidArgument, reference);
    reference.erase(0, drive - 1);

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
    if (problem.empty())
        problem = ProblemIn(L"topic", request.topic, BannedInEntry);
    if (problem.empty())
        problem = ProblemIn(L"help file name", request.section, Banned);
    return problem;
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

std::vector<std::wstring> SplitFileLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t cr = text.find(L'\r', start);
        if (cr == std::wstring_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == L'\n')
            ++start;
    }
    return lines;
}

std::wstring JoinFileLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines)
        text.append(line).append(CrLf);
    return text;
}

std::vector<std::wstring> RewriteFavorites(const std::vector<std::wstring>& oldLines,
                                           const FavoritesRequest& request) {
    const std::wstring sectionLine = SectionLine(request.section);
    const std::wstring entryLine = EntryLine(request.name, request.topic);
    const std::wstring entryStart = std::wstring(EntryPrefix) + request.name;
    const std::wstring sectionStart = std::wstring(EntryPrefix) + L"[";
    const bool adding = !request.topic.empty();

    std::vector<std::wstring> lines;
    bool inSection = false;
    bool done = false;
    for (const auto& raw : oldLines) {
        const std::wstring_view line = TrimSpaces(raw);
        if (!IsValidLine(line))
            continue;
        if (done) {
            lines.emplace_back(line);
        } else if (EqualsNoCase(line, sectionLine)) {
            lines.emplace_back(line);
            inSection = true;
        } else if (inSection && line.starts_with(sectionStart)) {
            // The next section begins: the entry goes at the end of this one.
            if (adding)
                lines.push_back(entryLine);
            done = true;
            lines.emplace_back(line);
            inSection = false;
        } else if (const std::size_t equals = line.find(L'=');
                   inSection && equals != std::wstring_view::npos && equals >= 1 &&
                   EqualsNoCase(TrimSpaces(line.substr(0, equals)), entryStart)) {
            if (adding)
                lines.push_back(entryLine);
            done = true;
        } else {
            lines.emplace_back(line);
        }
    }
    if (adding && !done) {
        if (!inSection)
            lines.push_back(sectionLine);
        lines.push_back(entryLine);
    }
    return lines;
}
