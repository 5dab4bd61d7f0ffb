// /bmadd and /bmdel: the reader's Favorites in ext_BM.js beside the help file.
#pragma once
#include <cstdint>
#include <string>

void UpdateFavorites(const std::wstring& argument, bool add);

// Appends line and CR LF to the file (created when absent), keeping its attributes.
// While the file is in use (access denied, sharing violation) waits a second, handling
// window messages, and tries again: at most retryCount + 1 attempts. An empty path does
// nothing. Failures raise RunError(FileAccess). (Removing a file is RemoveFile's, in
// platform/Files.h.) UpdateFavorites does not append: it writes the whole file anew.
void AppendLineWithRetry(const std::wstring& path, const std::wstring& line,
                         std::int16_t retryCount);
