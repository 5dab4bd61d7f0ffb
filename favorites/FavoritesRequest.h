// What a /bmadd or /bmdel argument ("name=location") asks of the Favorites file, and the
// refusals of an entry the pages could not read back.
#pragma once
#include <optional>
#include <string>
#include <string_view>

struct FavoritesRequest {
    std::wstring name;     // a leading blank is part of it; trailing blanks are dropped
    std::wstring topic;    // empty for /bmdel, and for a location without "::/"
    std::wstring folder;   // the help file's folder, ending in "\"
    std::wstring section;  // the help file's name without the lower-case ".chm"
    std::wstring helpFile; // the help file's path, from its drive letter or share
    std::wstring favoritesFile;
};

// What the switch argument asks for; nothing when the location is empty. An "=" in the
// location before the help file's path belongs to the name. The help file's path begins
// (after a prefix such as "mk:@MSITStore:") with a drive letter before ":\" or with the
// "\\server\share\" of a share; a location with neither raises RunError(InvalidArgument).
std::optional<FavoritesRequest> ReadFavoritesArgument(std::wstring_view argument, bool add);

// Why the reader's entry is refused (a character that would end the name, the item or
// the line for the pages, or break the address a page's Remove button hands back; an
// "=" in the name), as a sentence for the reader; empty when fine. A request that
// writes nothing is refused only for an "=" in the name.
std::wstring FavoriteEntryProblem(const FavoritesRequest& request);
