#pragma once

// Painting the main window: frames, board, grid, labels, discs and (through
// the status panel) the panel. Operations that take a window draw at once
// through their own prepared device context; those that take a device
// context draw into it (from inside the paint). Windows code.

#include <windows.h>

#include "core/board.h"

// Rings of 1-pixel lines from the outside in, colourA on the left and top,
// colourB on the right and bottom; then the inside filled unless fill is
// NoFill.
constexpr COLORREF NoFill = CLR_INVALID;
void BevelFrame(HDC dc, int left, int top, int right, int bottom, int depth, COLORREF colourA, COLORREF colourB,
                COLORREF fill);

// Copies a cell of the disc strip onto a square, leaving its grid lines.
void DrawSquare(HDC dc, Square sq, int cell);
void DrawSquareFromBoard(HDC dc, Square sq);
void DrawSquareFromBoard(HWND window, Square sq);

// Draws all 64 squares and recounts the position's counters and disc counts.
void RedrawBoard(HDC dc);
void RedrawBoard(HWND window);

// WM_PAINT.
void PaintMainWindow(HWND window);
