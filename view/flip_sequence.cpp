#include "view/flip_sequence.h"

#include "view/disc_shapes.h"

FlipTiming FlipTimingFor(int turnSpeed) {
    return {turnSpeed, 3 * turnSpeed / 10, 4 * turnSpeed / 10};
}

FlipSequence FlipOrder(Square placed, const FlipRecord& flips) {
    FlipSequence seq{};
    for (int d = 0; d < 8; ++d) {
        // A run never exceeds the six squares between the placed disc and the
        // frame; a damaged count must not walk off the board.
        int n = flips.count[d];
        if (n < 0) n = 0;
        if (n > MaxRunLength) n = MaxRunLength;
        for (int j = 0; j < n; ++j) {
            const Square s = placed + (n - j) * Directions[d];
            if (IsPlayable(s)) seq.squares[seq.count++] = s;
        }
    }
    return seq;
}

bool FlipPictures(std::uint8_t nowColour, int cells[3]) {
    if (nowColour == Black) {
        cells[0] = WhiteEdgeCell;
        cells[1] = BlackEdgeCell;
        cells[2] = BlackDiscCell;
        return true;
    }
    if (nowColour == White) {
        cells[0] = BlackEdgeCell;
        cells[1] = WhiteEdgeCell;
        cells[2] = WhiteDiscCell;
        return true;
    }
    return false;
}
