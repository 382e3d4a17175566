// Counting move sequences from a position: the rules core's own check.
#pragma once

#include <cstdint>

#include "core/board.h"

// Sequences of exactly depth moves from pos. A pass is a move when the side to
// move has none and the opponent has one; a finished game ends a sequence early
// and is not counted at greater depths. pos must have sideToMove set; it is
// returned unchanged.
std::uint64_t Perft(Position& pos, int depth);
