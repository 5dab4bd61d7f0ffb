// The version resource and the manifest of a program file, as Windows reads them.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

// A string field ("FileVersion", "CompanyName", ...) of the file's first translation;
// empty when the file or the field is missing.
std::wstring VersionString(const std::wstring& file, const std::wstring& field);
std::optional<VS_FIXEDFILEINFO> FixedVersion(const std::wstring& file);
// The program's manifest (resource RT_MANIFEST 1); empty when it has none.
std::string ManifestOf(const std::wstring& file);
