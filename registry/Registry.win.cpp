#include "registry/Registry.h"

#include "platform/Ansi.h"
#include "platform/SystemFunction.h"
#include "platform/UniqueHandle.h"
#include "registry/RegistryText.h"

#include <vector>

bool RunsUnderWow64() {
    const auto isWow64 =
        OptionalSystemFunction<BOOL(WINAPI*)(HANDLE, PBOOL)>(L"kernel32.dll", "IsWow64Process");
    BOOL result = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &result) && result;
}

namespace {

REGSAM RegistryViewFlag() {
    return RunsUnderWow64() ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

UniqueKey CreateKey(HKEY root, const std::string& path, REGSAM access) {
    UniqueKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
        key.release();
    return key;
}

} // namespace

std::wstring ReadRegistryValue(HKEY root, const std::wstring& keyPath,
                               const std::wstring& valueName, std::optional<std::uint32_t> type,
                               const std::wstring& defaultText) {
    UniqueKey key;
    if (RegOpenKeyExA(root, ToAnsi(keyPath).c_str(), 0, KEY_QUERY_VALUE | RegistryViewFlag(),
                      key.put()) != ERROR_SUCCESS) {
        key.release();
        return defaultText;
    }
    const std::string name = ToAnsi(valueName);
    BYTE probe[2] = {};
    DWORD size = 0;
    RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, probe, &size);

    std::vector<std::uint8_t> buffer(size + 1, 0);
    DWORD storedType = REG_NONE;
    DWORD n = size;
    const LONG status =
        RegQueryValueExA(key.get(), name.c_str(), nullptr, &storedType, buffer.data(), &n);
    key.reset();
    if (status != ERROR_SUCCESS)
        return defaultText;
    if (n + 1 > buffer.size())
        n = static_cast<DWORD>(buffer.size() - 1);
    return FromAnsi(RegistryValueText(type.value_or(storedType), buffer, n));
}

bool WriteRegistryValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                        const std::wstring& data, std::optional<std::uint32_t> type) {
    if (data == ReadRegistryValue(root, keyPath, valueName, type, L""))
        return true;
    const std::string path = ToAnsi(keyPath);
    // Probe without the view flag: fails when the user may not create keys here.
    if (!CreateKey(root, path, KEY_ALL_ACCESS))
        return false;
    const UniqueKey key = CreateKey(root, path, KEY_ALL_ACCESS | RegistryViewFlag());
    if (!key)
        return false;
    const std::uint32_t valueType = type.value_or(RegSz);
    const auto bytes = RegistryValueBytes(valueType, ToAnsi(data));
    if (!bytes)
        return true; // no write for other types
    return RegSetValueExA(key.get(), ToAnsi(valueName).c_str(), 0, valueType, bytes->data(),
                          static_cast<DWORD>(bytes->size())) == ERROR_SUCCESS;
}
