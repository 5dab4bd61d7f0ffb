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
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->bytes, StringBytes("C:\\Books\\"));
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

TEST_F(RegistryLayer, EmptyTextOverAValueStoresTheEmptyString) {
    ASSERT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Rect", L"1,2,3,4"));
    EXPECT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Rect", L""));
    const auto value = ReadRawValue(HKEY_LOCAL_MACHINE, key_, L"Rect", View::Bits64);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->bytes, StringBytes(""));
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Rect"), L"");
}

TEST_F(RegistryLayer, DefaultValueHasTheEmptyName) {
    ASSERT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"", L" C:\\Books\\"));
    const auto value = ReadRawValue(HKEY_LOCAL_MACHINE, key_, L"", View::Bits64);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->bytes, StringBytes(" C:\\Books\\"));
}

TEST_F(RegistryLayer, DoubleWordsAreWrittenAndReadAsDecimalText) {
    EXPECT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"D", L"1", RegDword));
    auto value = ReadRawValue(HKEY_LOCAL_MACHINE, key_, L"D", View::Bits64);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value->bytes, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key_, L"D"), L"1");
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

TEST_F(RegistryLayer, UnsupportedWriteTypeStoresNothing) {
    EXPECT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"X", L"x", RegMultiSz));
    EXPECT_FALSE(ReadRawValue(HKEY_LOCAL_MACHINE, key_, L"X", View::Bits64));
}

TEST_F(RegistryLayer, BinaryIsWrittenAsItsBytes) {
    EXPECT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Bin", L"ab", RegBinary));
    const auto value = ReadRawValue(HKEY_LOCAL_MACHINE, key_, L"Bin", View::Bits64);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(value->bytes, (std::vector<std::uint8_t>{'a', 'b'}));
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key_, L"Bin", RegBinary), L"ab");
}

} // namespace
