// Positions in the common text notation: 64 characters a1..h1, a2..h8
// ('X' black, 'O' white, '-' empty), a space, and the side to move.
#pragma once

#include <string>

#include "core/board.h"

// Fills pos (all four fields derived from the board). False on a malformed text.
bool ParsePositionText(const std::string& text, Position& pos);
std::string PositionText(const Position& pos);
// The initial position with black to move and its fields set.
void SetInitialPosition(Position& pos);
