// The order and the pauses of the flip animation, worked out from the move's
// FlipRecord and the TurnSpeed setting, so that the window code only draws
// and waits.
#pragma once

#include <cstdint>

#include "core/board.h"

// Pauses in milliseconds: after the placed disc, for each of the two edge-on
// pictures of a turning disc, and after each turned disc.
struct FlipTiming {
    int placePause;
    int edgePause;
    int afterPause;
};
FlipTiming FlipTimingFor(int turnSpeed);

// The captured squares in turning order: direction by direction in the order
// of Directions, each run from its far end inwards towards the placed disc.
constexpr int MaxRunLength = 6;
struct FlipSequence {
    Square squares[8 * MaxRunLength];
    int count;
};
FlipSequence FlipOrder(Square placed, const FlipRecord& flips);

// The three disc pictures (DiscSprites cells) a disc shows while it turns to
// the colour now on the board: its old colour edge-on, the new colour
// edge-on, then the new colour flat. False, with nothing to draw, for a cell
// that holds no disc.
bool FlipPictures(std::uint8_t nowColour, int cells[3]);
