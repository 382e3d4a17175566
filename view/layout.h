#pragma once

// Client-area geometry of the main window. Everything scales with the layout
// unit u (the display size, pixels per unit); the toolbar keeps a fixed band
// of ToolbarBand pixels at the top. Rectangles are client coordinates, left
// and top inclusive, right and bottom exclusive.

#include "core/board.h"

constexpr int ToolbarBand = 28;
constexpr int SmallestDisplaySize = 4;

struct LayoutRect {
    int left;
    int top;
    int right;
    int bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LayoutRect&) const = default;
};

struct LayoutSize {
    int width;
    int height;
    bool operator==(const LayoutSize&) const = default;
};

LayoutSize LayoutClientSize(int u);

// The layout unit whose client area is exactly width x height, or 0 when no
// unit gives that size (a window not yet at its layout size).
int DisplaySizeFromClient(int width, int height);

// The largest unit whose window fits a screen of screenWidth x screenHeight,
// frameWidth and frameHeight being what the window's frame, caption and menu
// bar add to its client area. Never below SmallestDisplaySize.
int LargestDisplaySizeFor(int screenWidth, int screenHeight, int frameWidth, int frameHeight);

LayoutRect DrawingAreaRect(int u);
LayoutRect BoardFrameRect(int u);
LayoutRect BoardSurfaceRect(int u);
LayoutRect SquareRect(int u, Square sq);
LayoutRect ColumnLabelRect(int u);
LayoutRect RowLabelRect(int u);
LayoutRect PanelFrameRect(int u);

// Panel boxes 1 (move number, legal moves), 2 (sides) and 3 (message lines);
// the inside is the box less its 2-pixel border, where the text goes.
LayoutRect PanelBoxRect(int u, int box);
LayoutRect PanelBoxInsideRect(int u, int box);
