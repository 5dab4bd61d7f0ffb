#include "registry/RegistryText.h"

#include "text/Numbers.h"

std::string BytesToText(const std::vector<std::uint8_t>& bytes, std::size_t start,
                        std::optional<std::size_t> count, bool keepZeros) {
    std::string text;
    if (start >= bytes.size())
        return text;
    std::size_t end = bytes.size();
    if (count && *count < end - start)
        end = start + *count;
    for (std::size_t i = start; i < end; ++i) {
        if (bytes[i] == 0 && !keepZeros)
            break;
        text += static_cast<char>(bytes[i]);
    }
    return text;
}

std::string RegistryValueText(std::uint32_t type, const std::vector<std::uint8_t>& buffer,
                              std::size_t n) {
    switch (type) {
    case RegSz:
    case RegExpandSz:
    case RegMultiSz: {
        std::string text = BytesToText(buffer, 0, std::nullopt, true);
        text.resize(n > 1 ? n - 1 : 0);
        return text;
    }
    case RegDword: {
        std::uint64_t value = 0;
        for (std::size_t i = n < 4 ? n : 4; i-- > 0;)
            value = value * 256 + buffer[i];
        return std::to_string(value);
    }
    case RegDwordBigEndian: {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < n && i < 8; ++i)
            value = value * 256 + buffer[i];
        return std::to_string(value);
    }
    default: {
        std::string text = BytesToText(buffer, 0, std::nullopt, true);
        text.resize(n < text.size() ? n : text.size());
        return text;
    }
    }
}

std::optional<std::vector<std::uint8_t>> RegistryValueBytes(std::uint32_t type,
                                                            std::string_view ansiData) {
    const std::string data = ansiData.empty() ? std::string(1, '\0') : std::string(ansiData);
    switch (type) {
    case RegSz: {
        std::vector<std::uint8_t> bytes(data.begin(), data.end());
        if (!ansiData.empty())
            bytes.push_back(0); // the terminating zero; the empty string is the zero alone
        return bytes;
    }
    case RegBinary:
        return std::vector<std::uint8_t>(data.begin(), data.end());
    case RegDword: {
        const auto value = static_cast<std::uint32_t>(RoundToInt32(LeadingNumber(data)));
        return std::vector<std::uint8_t>{
            static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    }
    default:
        return std::nullopt;
    }
}
