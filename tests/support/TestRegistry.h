// Direct registry access for tests, in an explicit view, to check where values land.
// Values go through the narrow API, as the program's own do: bytes are ANSI text.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// A 32-bit Windows has one registry view, which both name.
enum class View { Bits64, Bits32 };

// True when the test bed's Windows is a 32-bit one (wine-run.sh --win32 says so in
// WINEARCH): no WOW64, one registry view. Otherwise a 32-bit program has two views.
bool OneRegistryView();

// What the program writes at every start (in the 64-bit view under WOW64): its App Paths
// entry, and the viewer's frame-navigation value.
inline const std::wstring AppPathsKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Varnholt.exe";
inline const std::wstring RestrictionsKey = L"SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\HHRestrictions";
inline const std::wstring FrameNavigation = L"EnableFrameNavigationInSafeMode";

struct RawValue {
    DWORD type = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const RawValue&) const = default;
};
// In a test failure: the type and each byte.
inline void PrintTo(const RawValue& value, std::ostream* os) {
    *os << "type " << value.type << ", bytes";
    for (const std::uint8_t byte : value.bytes)
        *os << ' ' << static_cast<int>(byte);
}
// The frame-navigation value as the program writes it: the double word 1.
inline const RawValue DwordOne{REG_DWORD, {1, 0, 0, 0}};

bool KeyExists(HKEY root, const std::wstring& path, View view);
std::optional<RawValue> ReadRawValue(HKEY root, const std::wstring& path, const std::wstring& name,
                                     View view);
bool SetRawValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                 const std::vector<std::uint8_t>& bytes, View view);
void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name, View view);
void DeleteKeyTree(HKEY root, const std::wstring& path, View view);
void DeleteKeyTreeBothViews(HKEY root, const std::wstring& path);
// Last-write time of a key as a 64-bit count; 0 when the key does not exist.
std::uint64_t KeyLastWriteTime(HKEY root, const std::wstring& path, View view);
// "abc" with its terminator, as stored for REG_SZ
std::vector<std::uint8_t> StringBytes(const std::string& text);
// The key of the product's records for a help file name (SOFTWARE, CompanyName,
// ProductName, name), named by the version resource of the program file given.
std::wstring HelpFileKey(const std::wstring& program, const std::wstring& name);
// A REG_SZ value as text (ASCII in the tests); nothing when absent or of another type.
std::optional<std::wstring> ReadTextValue(HKEY root, const std::wstring& path,
                                          const std::wstring& name, View view);

// While it lives, a value holds what the test set; what it held before (or its absence)
// comes back when it goes.
class ScopedRegistryValue {
  public:
    ScopedRegistryValue(HKEY root, std::wstring path, std::wstring name, DWORD type,
                        const std::vector<std::uint8_t>& bytes, View view = View::Bits64);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

  private:
    HKEY root_;
    std::wstring path_;
    std::wstring name_;
    View view_;
    std::optional<RawValue> previous_;
};

// While it lives, the shell opens files of the extension (".chm") with command, through
// a test class of its own in both registry views; the previous association comes back
// when it goes.
class TestFileAssociation {
  public:
    TestFileAssociation(const std::wstring& extension, const std::wstring& command);
    ~TestFileAssociation();
    TestFileAssociation(const TestFileAssociation&) = delete;
    TestFileAssociation& operator=(const TestFileAssociation&) = delete;

  private:
    std::wstring extensionKey_;
    std::wstring classKey_;
    std::optional<RawValue> saved_[2]; // the class the extension had, in each view
};
