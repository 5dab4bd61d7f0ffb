// A font as a design names it; the Windows side makes it at a display's scale
// (platform/WindowUtil.h).
#pragma once
#include <cstdint>
#include <string>

struct FontDesign {
    std::wstring name = L"MS Sans Serif";
    double size = 8.25; // points
    std::int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::int32_t charset = 204;
    bool operator==(const FontDesign&) const = default;
};
