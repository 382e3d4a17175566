// What a person's click or the automatic move decides on a turn: the rules
// part of the turn loop, apart from the window that shows it.
#pragma once

#include "core/board.h"

// A left click at client point (x, y) with display unit u on the side to
// move's turn. With legal moves, only an empty square where the side may play
// is accepted; without one (a pass is due), any click is a pass (0). True
// and the move in chosen when accepted; chosen is untouched otherwise.
bool AcceptClick(const Position& pos, int x, int y, int u, Square& chosen);

// The automatic move: with at most one legal move for the side to move, that
// move (0 for a pass) goes into chosen and the result is true; with two or
// more the person chooses (false).
bool ChooseAutomaticMove(const Position& pos, Square& chosen);

// A chosen move the rules allow on pos: a legal empty square, or a pass (0)
// exactly when the side to move cannot move but the game goes on.
bool IsLegalChoice(const Position& pos, Square move);
