#include "tests/support/SystemColors.h"

#include "tests/support/Screenshot.h"

#include <algorithm>

SystemColorsSet::SystemColorsSet(const std::vector<std::pair<int, COLORREF>>& colors) {
    std::vector<COLORREF> after;
    for (const auto& [element, color] : colors) {
        elements_.push_back(element);
        before_.push_back(GetSysColor(element));
        after.push_back(color);
    }
    SetSysColors(static_cast<int>(elements_.size()), elements_.data(), after.data());
}

SystemColorsSet::~SystemColorsSet() {
    SetSysColors(static_cast<int>(elements_.size()), elements_.data(), before_.data());
}

std::vector<std::pair<int, COLORREF>> HighContrastBlack() {
    return {{COLOR_BTNFACE, RGB(0, 0, 0)},
            {COLOR_HOTLIGHT, RGB(255, 255, 0)},
            {COLOR_WINDOWTEXT, RGB(255, 255, 255)}};
}

namespace {

template <typename Test> int PixelsOf(HWND window, Test test) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const ScreenPixels pixels = CaptureScreen(rect);
    return static_cast<int>(std::count_if(pixels.pixels.begin(), pixels.pixels.end(), test));
}

int Red(std::uint32_t p) {
    return (p >> 16) & 0xFF;
}
int Green(std::uint32_t p) {
    return (p >> 8) & 0xFF;
}
int Blue(std::uint32_t p) {
    return p & 0xFF;
}

} // namespace

int BluePixels(HWND window) {
    return PixelsOf(
        window, [](std::uint32_t p) { return Blue(p) > 150 && Green(p) < 110 && Red(p) < 110; });
}

int YellowPixels(HWND window) {
    return PixelsOf(
        window, [](std::uint32_t p) { return Blue(p) < 110 && Green(p) > 150 && Red(p) > 150; });
}
