// The only registry access of the program. Each key is used and closed within one call.
// Values are read and written in the 64-bit view when the program runs under WOW64 (on
// 32-bit Windows there is one view); only the probe that tells whether the user may
// create the key at all opens it without a view flag, as the system redirects it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

bool RunsUnderWow64();

// The value as text (see RegistryText.h); type, when given, replaces the stored type for
// the conversion. defaultText when the key or value cannot be read.
std::wstring ReadRegistryValue(HKEY root, const std::wstring& keyPath,
                               const std::wstring& valueName,
                               std::optional<std::uint32_t> type = std::nullopt,
                               const std::wstring& defaultText = L"");

// Writes only when the stored text differs from data. True when the value already held
// the data or was written.
bool WriteRegistryValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                        const std::wstring& data, std::optional<std::uint32_t> type = std::nullopt);
