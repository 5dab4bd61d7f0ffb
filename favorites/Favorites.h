// /bmadd and /bmdel: the reader's Favorites in ext_BM.js beside the help file.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

void UpdateFavorites(const std::wstring& argument, bool add);

// Appends line and CR LF to the file (created when absent), keeping its attributes.
// While the file is in use (access denied, sharing violation) waits a second, handling
// window messages, and tries again: at most retryCount + 1 attempts. Given NoLineRemoves
// instead of a line, it removes the file. An empty path does nothing. Failures raise
// RunError(FileAccess).
void AppendLineWithRetry(const std::wstring& path, const std::optional<std::wstring>& line,
                         std::int16_t retryCount);
// AppendLineWithRetry's "line" that removes the file, named so at the call.
inline const std::optional<std::wstring> NoLineRemoves = std::nullopt;
