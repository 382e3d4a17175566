// Showing a move that is already on the board: the placed disc, each
// captured disc turning over in turn, the counters following; a pass; and
// the marks of the legal squares while a person holds the button where no
// move is possible. Runs on the window thread and blocks it for its pauses.
// Windows code.
#pragma once

#include <windows.h>

#include "core/board.h"

// The side to move is still the mover and its move field holds square.
// Advances moveNumber and both disc counts as the discs turn.
void AnimateMove(HWND window, Square square, const FlipRecord& flips);
// Turns over one disc that the board already shows in its new colour.
void AnimateFlip(HWND window, Square square);
// The side to move passed: its last-move field shows the pass.
void ShowPass(HWND window);
// on: captures the mouse and marks every legal square of the side to move;
// off: undoes that, and does nothing unless the marks are shown.
void ShowLegalMoves(HWND window, bool on);
