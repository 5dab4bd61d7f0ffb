#include "favorites/Favorites.h"

void UpdateFavorites(const std::wstring&, bool) {}
