#include "core/perft.h"

namespace {

std::uint64_t PerftSide(Position& pos, int colour, int depth, bool passed) {
    if (depth == 0) return 1;
    std::uint64_t total = 0;
    bool moved = false;
    FlipRecord flips;
    for (Square sq = 11; sq <= 88; ++sq) {
        if (pos.board[sq] != Empty) continue;
        if (PlayMove(pos, sq, colour, flips) == 0) continue;
        moved = true;
        total += PerftSide(pos, Opponent(colour), depth - 1, false);
        UndoMove(pos, sq, colour, flips);
    }
    if (moved) return total;
    if (passed) return 0;  // neither side can move: the game ended before this depth
    // Only a pass if the opponent can move; otherwise the game is over here.
    for (Square sq = 11; sq <= 88; ++sq)
        if (pos.board[sq] == Empty && CanPlay(pos, sq, Opponent(colour)))
            return PerftSide(pos, Opponent(colour), depth - 1, true);
    return 0;
}

}  // namespace

std::uint64_t Perft(Position& pos, int depth) {
    return PerftSide(pos, ColourOfSide(pos.sideToMove), depth, false);
}
