// Splitting a file path into folder and name.
#pragma once
#include <string>
#include <string_view>

// The path before its last "\" (no trailing "\"); empty when it has none.
std::wstring FolderOfPath(std::wstring_view path);
// The path up to and including its last "\"; empty when it has none.
std::wstring FolderWithSlash(std::wstring_view path);
// The part after the last "\" (the whole path when it has none).
std::wstring_view FileNameOfPath(std::wstring_view path);
// The file name cut before its last ".".
std::wstring FileNameWithoutExtension(std::wstring_view path);
