// /bmadd and /bmdel: the reader's Favorites in ext_BM.js beside the help file.
#pragma once
#include <string>

void UpdateFavorites(const std::wstring& argument, bool add);
