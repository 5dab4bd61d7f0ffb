// System colours set as a theme sets them, for the tests of the link's colours.
#pragma once
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

// Sets the colours for the whole session (under Wine: for this process and the programs
// started after it; a running program keeps the ones it read) and puts the ones before back.
class SystemColorsSet {
  public:
    explicit SystemColorsSet(const std::vector<std::pair<int, COLORREF>>& colors);
    SystemColorsSet(const SystemColorsSet&) = delete;
    SystemColorsSet& operator=(const SystemColorsSet&) = delete;
    ~SystemColorsSet();

  private:
    std::vector<int> elements_;
    std::vector<COLORREF> before_;
};

// "High Contrast Black": black button face, yellow hyperlinks, white text.
std::vector<std::pair<int, COLORREF>> HighContrastBlack();

// Pixels (0x00RRGGBB) that are clearly blue, or clearly yellow: a letter's edges blend with
// the background, its stems keep the colour; and how many a window on the screen has.
bool IsClearlyBlue(std::uint32_t pixel);
bool IsClearlyYellow(std::uint32_t pixel);
int BluePixels(HWND window);
int YellowPixels(HWND window);
