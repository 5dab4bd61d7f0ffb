#include "registry/ProductKey.h"

#include "platform/ProgramInfo.h"
#include "registry/HelpFileText.h"

std::wstring ProductKey() {
    return ProductKeyPath(VersionResourceString(L"CompanyName"),
                          VersionResourceString(L"ProductName"));
}

std::wstring HelpFileKey(const std::wstring& name) {
    return ProductKey() + L"\\" + name;
}
