#include "tests/support/TestRegistry.h"

#include "platform/UniqueHandle.h"
#include "tests/support/VersionInfo.h"

namespace {

REGSAM ViewFlag(View view) {
    return view == View::Bits64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

UniqueKey Open(HKEY root, const std::wstring& path, View view, REGSAM access) {
    UniqueKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, access | ViewFlag(view), key.put()) != ERROR_SUCCESS)
        key.release();
    return key;
}

// Value names in the tests are plain ASCII.
std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

} // namespace

bool OneRegistryView() {
    wchar_t arch[16] = {};
    const DWORD n = GetEnvironmentVariableW(L"WINEARCH", arch, 16);
    return n > 0 && n < 16 && std::wstring(arch) == L"win32";
}

bool KeyExists(HKEY root, const std::wstring& path, View view) {
    return static_cast<bool>(Open(root, path, view, KEY_READ));
}

std::optional<RawValue> ReadRawValue(HKEY root, const std::wstring& path, const std::wstring& name,
                                     View view) {
    const UniqueKey key = Open(root, path, view, KEY_READ);
    if (!key)
        return std::nullopt;
    DWORD size = 0;
    RawValue value;
    if (RegQueryValueExA(key.get(), Narrow(name).c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    if (RegQueryValueExA(key.get(), Narrow(name).c_str(), nullptr, &value.type, value.bytes.data(),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

bool SetRawValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                 const std::vector<std::uint8_t>& bytes, View view) {
    UniqueKey key;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | ViewFlag(view), nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
        key.release();
        return false;
    }
    return RegSetValueExA(key.get(), Narrow(name).c_str(), 0, type, bytes.data(),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name, View view) {
    const UniqueKey key = Open(root, path, view, KEY_SET_VALUE);
    if (key)
        RegDeleteValueW(key.get(), name.c_str());
}

void DeleteKeyTree(HKEY root, const std::wstring& path, View view) {
    {
        const UniqueKey key = Open(root, path, view, KEY_ALL_ACCESS);
        if (!key)
            return;
        wchar_t child[256];
        for (;;) {
            DWORD length = 256;
            if (RegEnumKeyExW(key.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            DeleteKeyTree(root, path + L"\\" + child, view);
        }
    }
    RegDeleteKeyExW(root, path.c_str(), ViewFlag(view), 0);
}

void DeleteKeyTreeBothViews(HKEY root, const std::wstring& path) {
    DeleteKeyTree(root, path, View::Bits64);
    DeleteKeyTree(root, path, View::Bits32);
}

std::uint64_t KeyLastWriteTime(HKEY root, const std::wstring& path, View view) {
    const UniqueKey key = Open(root, path, view, KEY_READ);
    if (!key)
        return 0;
    FILETIME time{};
    RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, &time);
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::wstring HelpFileKey(const std::wstring& program, const std::wstring& name) {
    return L"SOFTWARE\\" + VersionString(program, L"CompanyName") + L"\\" +
           VersionString(program, L"ProductName") + L"\\" + name;
}

std::optional<std::wstring> ReadTextValue(HKEY root, const std::wstring& path,
                                          const std::wstring& name, View view) {
    const auto raw = ReadRawValue(root, path, name, view);
    if (!raw || raw->type != REG_SZ)
        return std::nullopt;
    std::wstring text;
    for (auto b : raw->bytes)
        if (b)
            text += static_cast<wchar_t>(b);
    return text;
}

std::vector<std::uint8_t> StringBytes(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

namespace {
constexpr View BothViews[] = {View::Bits32, View::Bits64};
} // namespace

TestFileAssociation::TestFileAssociation(const std::wstring& extension, const std::wstring& command)
    : extensionKey_(L"SOFTWARE\\Classes\\" + extension),
      classKey_(L"SOFTWARE\\Classes\\VarnholtTest" + extension) {
    const std::string className = Narrow(L"VarnholtTest" + extension);
    // Both views first: they may share the key, and the first write would hide what the
    // second view had.
    for (int i = 0; i < 2; ++i)
        saved_[i] = ReadRawValue(HKEY_LOCAL_MACHINE, extensionKey_, L"", BothViews[i]);
    for (int i = 0; i < 2; ++i) {
        SetRawValue(HKEY_LOCAL_MACHINE, extensionKey_, L"", REG_SZ, StringBytes(className),
                    BothViews[i]);
        SetRawValue(HKEY_LOCAL_MACHINE, classKey_ + L"\\shell\\open\\command", L"", REG_SZ,
                    StringBytes(Narrow(command)), BothViews[i]);
    }
}

TestFileAssociation::~TestFileAssociation() {
    for (int i = 0; i < 2; ++i) {
        if (saved_[i])
            SetRawValue(HKEY_LOCAL_MACHINE, extensionKey_, L"", saved_[i]->type, saved_[i]->bytes,
                        BothViews[i]);
        else
            DeleteValue(HKEY_LOCAL_MACHINE, extensionKey_, L"", BothViews[i]);
    }
    DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, classKey_);
}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, std::wstring path, std::wstring name,
                                         DWORD type, const std::vector<std::uint8_t>& bytes,
                                         View view)
    : root_(root), path_(std::move(path)), name_(std::move(name)), view_(view),
      previous_(ReadRawValue(root_, path_, name_, view_)) {
    SetRawValue(root_, path_, name_, type, bytes, view_);
}

ScopedRegistryValue::~ScopedRegistryValue() {
    if (previous_)
        SetRawValue(root_, path_, name_, previous_->type, previous_->bytes, view_);
    else
        DeleteValue(root_, path_, name_, view_);
}
