#include "tests/support/VersionInfo.h"

#include "platform/UniqueHandle.h"

#include <vector>

namespace {

std::vector<unsigned char> VersionData(const std::wstring& file) {
    DWORD ignored = 0;
    std::vector<unsigned char> data(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (!data.empty() &&
        !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()))
        data.clear();
    return data;
}

struct ModuleTraits {
    using Type = HMODULE;
    static Type None() { return nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};

} // namespace

std::wstring VersionString(const std::wstring& file, const std::wstring& field) {
    std::vector<unsigned char> data = VersionData(file);
    WORD* translation = nullptr;
    UINT length = 0;
    if (data.empty() ||
        !VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < 2 * sizeof(WORD))
        return {};
    wchar_t block[64];
    wsprintfW(block, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(data.data(), (block + field).c_str(), reinterpret_cast<void**>(&value),
                        &length))
        return {};
    return std::wstring(value, wcsnlen(value, length));
}

std::optional<VS_FIXEDFILEINFO> FixedVersion(const std::wstring& file) {
    std::vector<unsigned char> data = VersionData(file);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (data.empty() ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))
        return std::nullopt;
    return *fixed;
}

std::string ManifestOf(const std::wstring& file) {
    const UniqueHandle<ModuleTraits> module(
        LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const HRSRC found =
        module ? FindResourceW(module.get(), MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
    const HGLOBAL loaded = found ? LoadResource(module.get(), found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(module.get(), found)) : std::string();
}
