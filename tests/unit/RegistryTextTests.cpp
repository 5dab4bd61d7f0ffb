// Conversions between stored registry bytes and the text the program works with.
#include "platform/RunError.h"
#include "registry/RegistryText.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A read buffer as the registry layer fills it: the n stored bytes and one zero.
Bytes Buffer(Bytes stored) {
    stored.push_back(0);
    return stored;
}

std::string Read(std::uint32_t type, Bytes stored) {
    const std::size_t n = stored.size();
    return RegistryValueText(type, Buffer(std::move(stored)), n);
}

TEST(BytesToText, StopsAtZeroUnlessKept) {
    const Bytes b{'a', 'b', 0, 'c'};
    EXPECT_EQ(BytesToText(b), "ab");
    EXPECT_EQ(BytesToText(b, 0, std::nullopt, true), std::string("ab\0c", 4));
    EXPECT_EQ(BytesToText(b, 1, 1), "b");
    EXPECT_EQ(BytesToText(b, 3), "c");
    EXPECT_EQ(BytesToText(b, 9), "");
    EXPECT_EQ(BytesToText({}), "");
}

// Stored bytes as text: strings without their terminator (and not expanded), double words as
// unsigned decimal of every one of the n bytes (also beyond four), other types one character
// per byte, zeros included. The type given, not the stored one, decides.
TEST(RegistryRead, EachTypeAsText) {
    EXPECT_EQ(Read(RegSz, {'a', 'b', 'c', 0}), "abc");
    EXPECT_EQ(Read(RegExpandSz, {'%', 'X', '%', 0}), "%X%");
    EXPECT_EQ(Read(RegSz, {0}), "");
    EXPECT_EQ(Read(RegSz, {}), "");
    EXPECT_EQ(Read(RegMultiSz, {'a', 0, 'b', 0, 0}), std::string("a\0b\0", 4));
    EXPECT_EQ(Read(RegDword, {1, 0, 0, 0}), "1");
    EXPECT_EQ(Read(RegDword, {0xFF, 0xFF, 0xFF, 0xFF}), "4294967295");
    EXPECT_EQ(Read(RegDword, {0x19, 0x04, 0, 0}), "1049");
    EXPECT_EQ(Read(RegDwordBigEndian, {0, 0, 0x04, 0x19}), "1049");
    EXPECT_EQ(Read(RegDwordBigEndian, {0xFF, 0xFF, 0xFF, 0xFF}), "4294967295");
    EXPECT_EQ(Read(RegDwordBigEndian, {1, 0, 0, 0, 0}), "4294967296");
    EXPECT_EQ(Read(RegDwordBigEndian, Bytes(8, 0xFF)), "18446744073709551615");
    EXPECT_EQ(Read(RegDwordBigEndian, {0x04, 0x19}), "1049");
    EXPECT_EQ(Read(RegBinary, {'a', 0, 'b'}), std::string("a\0b", 3));
    EXPECT_EQ(Read(RegLink, {'x'}), "x");
    EXPECT_EQ(Read(0, {0, 0}), std::string("\0\0", 2));
    EXPECT_EQ(Read(11, {'q'}), "q");
    EXPECT_EQ(Read(RegBinary, {}), "");
    // the text "1" read as a double-word: '1' and its terminator, little-endian
    EXPECT_EQ(Read(RegDword, {'1', 0}), "49");
    // a double-word 1 read as a string: one character (byte 1) and no terminator dropped
    EXPECT_EQ(Read(RegSz, {1, 0, 0, 0}), std::string("\x01\0\0", 3));
    EXPECT_EQ(Read(RegBinary, {1, 0, 0, 0}), std::string("\x01\0\0\0", 4));
}

// The bytes each type stores: a string with its terminator, binary exactly its bytes, a double
// word from the leading number (an overflow when it does not fit 32 signed bits); other types
// store nothing.
TEST(RegistryWrite, EachTypeStoresItsOwnBytes) {
    EXPECT_EQ(*RegistryValueBytes(RegSz, "abc"), (Bytes{'a', 'b', 'c', 0}));
    EXPECT_EQ(*RegistryValueBytes(RegSz, ""), (Bytes{0}));
    EXPECT_EQ(Read(RegSz, *RegistryValueBytes(RegSz, "C:\\Books\\")), "C:\\Books\\");
    EXPECT_EQ(Read(RegSz, *RegistryValueBytes(RegSz, "")), "");
    EXPECT_EQ(*RegistryValueBytes(RegBinary, "ab"), (Bytes{'a', 'b'}));
    EXPECT_EQ(*RegistryValueBytes(RegBinary, ""), (Bytes{0}));
    EXPECT_EQ(*RegistryValueBytes(RegDword, "1"), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(*RegistryValueBytes(RegDword, ""), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(*RegistryValueBytes(RegDword, "-1"), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(*RegistryValueBytes(RegDword, "2.5"), (Bytes{2, 0, 0, 0}));
    EXPECT_EQ(*RegistryValueBytes(RegDword, "&H419"), (Bytes{0x19, 0x04, 0, 0}));
    EXPECT_THROW(RegistryValueBytes(RegDword, "4294967295"), RunError);
    EXPECT_FALSE(RegistryValueBytes(RegExpandSz, "x"));
    EXPECT_FALSE(RegistryValueBytes(RegMultiSz, "x"));
    EXPECT_FALSE(RegistryValueBytes(RegDwordBigEndian, "1"));
}

} // namespace
