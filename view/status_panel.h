#pragma once

// The status panel: its frame, boxes and labels, the value fields, the
// message lines and the thinking display. Windows code.

#include <windows.h>

#include <string_view>

#include "core/board.h"
#include "view/panel_fields.h"

// Frame, three boxes and the fixed labels (part of the paint).
void DrawPanelPicture(HDC dc);

// Draws the selected PanelFields groups.
void RedrawPanelFields(HDC dc, unsigned fields);
void RedrawPanelFields(HWND window, unsigned fields);

// Draws a message line's place (0..5) with other text over it, as the
// message lines are drawn; the lines themselves stay as they are.
void DrawMessageLine(HDC dc, int line, std::string_view text);

// Lays StatusMessage id out into the message lines; callers redraw them.
void SetStatusMessage(UINT id);

// Search mark: square > 0 marks it, 0 clears the remembered one, -1 draws the
// remembered one again (after the board was painted).
void ShowSearchMark(HDC dc, Square sq);
void ShowSearchMark(HWND window, Square sq);

// A best line and its value in message lines 3 to 5.
void ShowBestLine(HWND window, const Square* line, int value);

// One clock tick for the side to move.
void TickClock(HWND window);
