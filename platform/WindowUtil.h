// What every window of the program does with its windows and fonts: sizes and boxes, the
// frame and the work area, a font at the display's scale and the room a text takes in it.
#pragma once
#include "platform/FontDesign.h"
#include "platform/Geometry.h"
#include "platform/WindowHandles.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

// Sets a window's width and then its height, each only when it differs; a minimized
// top-level window is left alone.
void ApplySize(HWND window, std::int32_t width, std::int32_t height);
// Moves and sizes a child window to box, in its parent's client coordinates.
void MoveWindowTo(HWND window, const Box& box);
// What the frame and caption bar add to the window's client area.
Extent FrameExtent(HWND window);
// The work area (the screen without the taskbar) of the monitor the window is on.
RECT WorkAreaOf(HWND window);

// The font of a design at a display's scale.
UniqueGdiObject CreateFontAt(const FontDesign& design, int dpi);
// The room text takes drawn in font on window's display, tabs expanded: one line per line
// of it when wrapWidth is 0, else wrapped at wrapWidth as an edit control wraps it. An
// empty text is one line high and 0 wide.
SIZE MeasureText(HWND window, HGDIOBJ font, std::wstring_view text, int wrapWidth = 0);
