#include "favorites/FavoritesRequest.h"

#include "platform/PathText.h"
#include "platform/RunError.h"
#include "text/TextUtil.h"

#include <algorithm>

namespace {

constexpr std::size_t npos = std::wstring_view::npos;

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
    if (share != npos) {
        // An "=" there ends a name that held one ("E=mc2=\\server\...").
        const bool afterPrefix =
            share == 0 || reference[share - 1] == L':' || reference[share - 1] == L'=';
        const bool afterDrive = share >= 2 && IsAsciiLetter(reference[share - 2]) &&
                                (share == 2 || reference[share - 3] == L':');
        if (afterPrefix && !afterDrive && (drive == npos || drive + 1 >= share))
            return share;
    }
    return drive == npos || drive == 0 ? npos : drive - 1;
}

// "\\server\share\" and a file name after it, each part not empty.
bool IsSharePath(std::wstring_view path) {
    const std::size_t server = path.find(L'\\', 2);
    const std::size_t share = server == npos ? server : path.find(L'\\', server + 1);
    return server > 2 && share != npos && share > server + 1 && share + 1 < path.size();
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
    if (bad == npos)
        return {};
    return L"The favourite's " + std::wstring(what) + L" contains " + CharacterName(text[bad]) +
           L", which is not allowed." + Unchanged;
}

} // namespace

std::optional<FavoritesRequest> ReadFavoritesArgument(std::wstring_view argument, bool add) {
    const std::size_t firstEquals = argument.find(L'=');
    if (firstEquals == npos || firstEquals + 1 == argument.size())
        return std::nullopt;
    const std::wstring_view location = argument.substr(firstEquals + 1);
    // What names the help file: the location before "::", its "/" read as "\".
    std::wstring reference(TextBefore(location, L"::"));
    std::replace(reference.begin(), reference.end(), L'/', L'\\');
    const std::size_t pathStart = HelpFilePathStart(reference);
    if (pathStart == npos)
        throw RunError(ErrorKind::InvalidArgument, reference);
    const std::wstring helpFile = reference.substr(pathStart);
    if (helpFile.starts_with(L"\\\\") && !IsSharePath(helpFile))
        throw RunError(ErrorKind::InvalidArgument, helpFile);
    // The page's address holds no "=" before the help file's path: one there was the
    // reader's, in the name ("E=mc2"), which is then refused as a whole. So the name ends
    // at the last "=" before the path.
    const std::size_t pathInArgument = firstEquals + 1 + pathStart;
    const std::size_t nameEnd = argument.substr(0, pathInArgument).rfind(L'=');

    FavoritesRequest request;
    // Blanks after a name would keep it from matching its own stored line.
    request.name = TrimText(argument.substr(0, nameEnd), TextEnds::End, L" ");
    request.helpFile = helpFile;
    request.folder = FolderWithSlash(helpFile);
    request.section = TextBefore(FileNameOfPath(helpFile), L".chm");
    if (add)
        request.topic = TextAfter(location, L"::/");
    request.favoritesFile = request.folder + L"ext_BM.js";
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
