#include "core/bitboard.h"

Discs DiscsOf(const Position& pos) {
    Discs d = {0, 0};
    for (int bit = 0; bit < 64; ++bit) {
        const std::uint8_t c = pos.board[SquareOfBit(bit)];
        if (c == Black) d.black |= BitAt(bit);
        else if (c == White) d.white |= BitAt(bit);
    }
    return d;
}
