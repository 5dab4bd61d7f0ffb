#include "registry/RegisterCommand.h"

#include "registry/HelpFileText.h"
#include "registry/ProductKey.h"
#include "registry/Registry.h"
#include "registry/RegistryText.h"

#include <windows.h>

void RegisterCommand(const std::wstring& argument) {
    const auto [name, folder, version] = RegisterFields(argument);
    const std::wstring key = HelpFileKey(name);
    WriteRegistryValue(HKEY_LOCAL_MACHINE, key, L"", folder, RegSz);
    WriteRegistryValue(HKEY_LOCAL_MACHINE, key, L"CurrentVersion", version, RegSz);
}
