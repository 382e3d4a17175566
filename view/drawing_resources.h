#pragma once

// The long-lived drawing resources of the main window: the display palette,
// the display font and the disc strip; the display colours in their
// palette-relative form; device contexts prepared with palette and font.
// Windows code.

#include <windows.h>

#include "view/display_colours.h"

// The layout unit in use (the DisplaySize setting).
int DisplayUnit();

// A display colour (index as in config/settings.h) as PALETTERGB, so that it
// maps onto the display palette on a palette device.
COLORREF DisplayColour(int index);
COLORREF LightDisplayShade(int index);
COLORREF DarkDisplayShade(int index);

void BuildDisplayPalette();
void CreateDisplayFont();
void BuildDiscSprites(HWND window);
void ReleaseDrawingResources();

HBITMAP DiscSprites();
// The display font (height 2u - 2), for the review window too.
HFONT DisplayFont();

// Selects the display palette (foreground) into dc and realises it; true
// when realising mapped at least one entry.
bool RealizeDisplayPalette(HDC dc);
// Selects palette and font into a device context of the window.
void PrepareDisplayContext(HDC dc);

// The palette notifications of the main window.
LRESULT HandleQueryNewPalette(HWND window);
LRESULT HandlePaletteChanged(HWND window, HWND changedBy);

// For the program's own windows that may stand over the main window (the
// review and database windows): when one of them moves, hides or closes,
// the owner is painted again. The owner draws outside its paints, and where
// such a window covered it, a desktop that keeps each window's picture (as
// Wine's does) shows the old picture once it is uncovered.
void RepaintOwnerUncovered(HWND owner, UINT message, LPARAM lParam);

// The window's client device context, prepared, for drawing outside the
// paint: lets a pending paint finish first, releases the context at the end.
class WindowDrawing {
public:
    explicit WindowDrawing(HWND window);
    ~WindowDrawing();
    WindowDrawing(const WindowDrawing&) = delete;
    WindowDrawing& operator=(const WindowDrawing&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
