// Splitting a file path into folder and name.
#pragma once
#include <string>
#include <string_view>

// The path before its last "\" (no trailing "\"); empty when it has none.
std::wstring FolderOfPath(std::wstring_view path);
// The part after the last "\", cut before its last ".".
std::wstring FileNameWithoutExtension(std::wstring_view path);
