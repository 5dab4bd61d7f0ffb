// Pictures of what is on the screen, saved as PNG build artefacts for a person to look at,
// and read back as pixels for the tests that check colours.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, rows top to bottom
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The screen's pixels inside rect (screen coordinates).
ScreenPixels CaptureScreen(const RECT& rect);
bool SavePng(const ScreenPixels& picture, const std::wstring& path);
// build/mingw/screenshots, created when missing.
std::wstring ScreenshotFolder();
