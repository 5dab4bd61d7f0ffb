#include "platform/PathText.h"

std::wstring FolderOfPath(std::wstring_view path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash));
}

std::wstring FolderWithSlash(std::wstring_view path) {
    return std::wstring(path.substr(0, path.size() - FileNameOfPath(path).size()));
}

std::wstring_view FileNameOfPath(std::wstring_view path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

std::wstring FileNameWithoutExtension(std::wstring_view path) {
    const std::wstring_view name = FileNameOfPath(path);
    return std::wstring(name.substr(0, name.rfind(L'.')));
}
