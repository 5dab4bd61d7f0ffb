#include "tests/support/SystemColors.h"

#include "tests/support/Screenshot.h"
#include "tests/support/WindowText.h"

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

bool IsClearlyBlue(std::uint32_t p) {
    return (p & 0xFF) > 150 && ((p >> 8) & 0xFF) < 110 && ((p >> 16) & 0xFF) < 110;
}

bool IsClearlyYellow(std::uint32_t p) {
    return (p & 0xFF) < 110 && ((p >> 8) & 0xFF) > 150 && ((p >> 16) & 0xFF) > 150;
}

namespace {

int PixelsOf(HWND window, bool (*test)(std::uint32_t)) {
    const ScreenPixels pixels = CaptureScreen(WindowRect(window));
    return static_cast<int>(std::count_if(pixels.pixels.begin(), pixels.pixels.end(), test));
}

} // namespace

int BluePixels(HWND window) {
    return PixelsOf(window, IsClearlyBlue);
}

int YellowPixels(HWND window) {
    return PixelsOf(window, IsClearlyYellow);
}
