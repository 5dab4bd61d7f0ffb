// The registry layer against the real registry: where values land (the 64-bit view under
// WOW64, the only view on a 32-bit Windows), what the probe leaves in the 32-bit view,
// conversions, and the write-only-when-different rule.
#include "registry/Registry.h"
#include "registry/RegistryText.h"
#include "tests/support/TestRegistry.h"

#include <gtest/gtest.h>

namespace {

const std::wstring Root = L"SOFTWARE\\VarnholtTests";

class RegistryLayer : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        key_ = Root + L"\\" + std::wstring(name, name + strlen(name));
        DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, key_);
    }
    void TearDown() override { DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, Root); }

    std::wstring key_;
};

TEST_F(RegistryLayer, ThirtyTwoBitProgramRunsUnderWow64OnlyInA64BitPrefix) {
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    EXPECT_EQ(RunsUnderWow64(), wow64 != FALSE);
    EXPECT_EQ(RunsUnderWow64(), !OneRegistryView())
        << "the test bed is a " << (OneRegistryView() ? "32" : "64") << "-bit Wine prefix";
}

TEST_F(RegistryLayer, StringLandsInThe64BitViewOnlyOrInTheOnlyView) {
    EXPECT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Name", L"C:\\Books\\"));
    const auto value = ReadRawValue(HKEY_LOCAL_MACHINE, key_, L"Name", View::Bits64);
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, (RawValue{REG_SZ, StringBytes("C:\\Books\\")}));
    // The probe may leave an empty key in the 32-bit view, never the value; on a 32-bit
    // Windows that view is the one the value is in.
    const auto in32 = ReadRawValue(HKEY_LOCAL_MACHINE, key_, L"Name", View::Bits32);
    if (OneRegistryView())
        EXPECT_TRUE(in32 && in32->bytes == value->bytes);
    else
        EXPECT_FALSE(in32);
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Name"), L"C:\\Books\\");
}

TEST_F(RegistryLayer, ReadUsesThe64BitViewToo) {
    // Written last, the 64-bit text is also what the only view of a 32-bit Windows holds.
    ASSERT_TRUE(SetRawValue(HKEY_LOCAL_MACHINE, key_, L"V", REG_SZ, StringBytes("thirty-two"),
                            View::Bits32));
    ASSERT_TRUE(SetRawValue(HKEY_LOCAL_MACHINE, key_, L"V", REG_SZ, StringBytes("sixty-four"),
                            View::Bits64));
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key_, L"V"), L"sixty-four");
}

TEST_F(RegistryLayer, MissingKeyOrValueGivesTheDefault) {
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Nope"), L"");
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Nope", std::nullopt, L"dflt"), L"dflt");
    ASSERT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Other", L"x"));
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Nope", std::nullopt, L"dflt"), L"dflt");
}

TEST_F(RegistryLayer, EmptyTextToAnAbsentValueCreatesNoKey) {
    EXPECT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Rect", L""));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key_, View::Bits64));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key_, View::Bits32));
}

// What each write stores and reads back as: empty text over a value the empty string, the
// default value under the empty name, double words in decimal text, binary as its bytes; a
// type it cannot write stores nothing.
TEST_F(RegistryLayer, EachWriteStoresItsValueAndReadsBackAsText) {
    ASSERT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Rect", L"1,2,3,4"));
    const struct {
        const wchar_t* name;
        const wchar_t* text;
        std::optional<std::uint32_t> type;
        std::optional<RawValue> stored;
        std::optional<std::uint32_t> readAs;
        const wchar_t* read;
    } rows[] = {
        {L"Rect", L"", {}, RawValue{REG_SZ, StringBytes("")}, {}, L""},
        {L"", L" C:\\Books\\", std::nullopt, RawValue{REG_SZ, StringBytes(" C:\\Books\\")},
         std::nullopt, L" C:\\Books\\"},
        {L"D", L"1", RegDword, RawValue{REG_DWORD, {1, 0, 0, 0}}, {}, L"1"},
        {L"Bin", L"ab", RegBinary, RawValue{REG_BINARY, {'a', 'b'}}, RegBinary, L"ab"},
        {L"X", L"x", RegMultiSz, std::nullopt, {}, L""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.name));
        EXPECT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, row.name, row.text, row.type));
        EXPECT_EQ(ReadRawValue(HKEY_LOCAL_MACHINE, key_, row.name, View::Bits64), row.stored);
        EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key_, row.name, row.readAs), row.read);
    }
}

// Stored values as text: double words in decimal (in either byte order), the given type
// over the stored one, other types one character per byte.
TEST_F(RegistryLayer, StoredValuesReadAsText) {
    const struct {
        DWORD type;
        std::vector<std::uint8_t> bytes;
        std::optional<std::uint32_t> readAs;
        std::wstring text;
    } rows[] = {
        {REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, {}, L"4294967295"},
        {REG_DWORD_BIG_ENDIAN, {0, 0, 4, 0x19}, {}, L"1049"},
        {REG_SZ, StringBytes("1"), RegDword, L"49"}, // GivenTypeOverridesTheStoredOne
        {REG_SZ, StringBytes("1"), {}, L"1"},
        {REG_BINARY, {'a', 0, 'b'}, {}, std::wstring(L"a\0b", 3)},
        {REG_MULTI_SZ, {'a', 0, 'b', 0, 0}, {}, std::wstring(L"a\0b\0", 4)},
        {REG_EXPAND_SZ, StringBytes("%SystemRoot%"), {}, L"%SystemRoot%"},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(SetRawValue(HKEY_LOCAL_MACHINE, key_, L"V", row.type, row.bytes, View::Bits64));
        EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key_, L"V", row.readAs), row.text)
            << "type " << row.type;
    }
}

TEST_F(RegistryLayer, TextAlreadyHeldIsNotWrittenAgain) {
    // Stored as REG_EXPAND_SZ; read as REG_SZ it is the same text, so nothing is written
    // and the stored type stays.
    ASSERT_TRUE(SetRawValue(HKEY_LOCAL_MACHINE, key_, L"E", REG_EXPAND_SZ, StringBytes("abc"),
                            View::Bits64));
    EXPECT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"E", L"abc"));
    EXPECT_EQ(ReadRawValue(HKEY_LOCAL_MACHINE, key_, L"E", View::Bits64)->type,
              static_cast<DWORD>(REG_EXPAND_SZ));
    // Different text is written, as REG_SZ.
    EXPECT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"E", L"abd"));
    EXPECT_EQ(ReadRawValue(HKEY_LOCAL_MACHINE, key_, L"E", View::Bits64)->type,
              static_cast<DWORD>(REG_SZ));
}

} // namespace
