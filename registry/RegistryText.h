// Registry values travel through the program as text. These are the conversions between
// stored bytes and that text; the text here is ANSI (one byte per stored byte), which
// the registry layer decodes through the system code page.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum RegistryType : std::uint32_t {
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegDwordBigEndian = 5,
    RegLink = 6,
    RegMultiSz = 7,
};

// The bytes from start to start + count - 1 as characters; without keepZeros it stops
// before the first zero byte.
std::string BytesToText(const std::vector<std::uint8_t>& bytes, std::size_t start = 0,
                        std::optional<std::size_t> count = std::nullopt, bool keepZeros = false);

// The text of a value of the given type, read into buffer (n data bytes followed by one
// zero byte, so buffer.size() == n + 1).
std::string RegistryValueText(std::uint32_t type, const std::vector<std::uint8_t>& buffer,
                              std::size_t n);

// The bytes to store for data (already in ANSI); nothing to store for types other than
// REG_SZ, REG_BINARY and REG_DWORD. The empty text stands for one zero character.
// A REG_DWORD number outside the signed 32-bit range throws RunError(Overflow).
std::optional<std::vector<std::uint8_t>> RegistryValueBytes(std::uint32_t type,
                                                            std::string_view ansiData);
