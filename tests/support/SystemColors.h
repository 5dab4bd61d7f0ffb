// System colours set as a theme sets them, for the tests of the link's colours.
#pragma once
#include <windows.h>

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

// Pixels of a window on the screen that are clearly blue, or clearly yellow: a letter's
// edges blend with the background, its stems keep the colour.
int BluePixels(HWND window);
int YellowPixels(HWND window);
