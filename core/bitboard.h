// The rules on 64-bit sets of squares: the engine's fast form of the board.
// Bit 8 * (row - 1) + (column - 1) stands for the square row * 10 + column,
// so a1 is bit 0, h1 bit 7, a8 bit 56 and h8 bit 63. The mailbox stays the
// board of the game; the engine converts at its boundary.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "core/board.h"

using Bits = std::uint64_t;

// Black's and white's discs.
struct Discs {
    Bits black;
    Bits white;
};

constexpr int BitOfSquare(Square sq) { return (sq / 10 - 1) * 8 + (sq % 10 - 1); }
constexpr Square SquareOfBit(int bit) { return (bit / 8 + 1) * 10 + bit % 8 + 1; }
constexpr Bits BitAt(int bit) { return Bits{1} << bit; }

// Portable population count: the 32-bit build runs on processors without
// a counting instruction.
constexpr int CountBits(Bits x) {
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

Discs DiscsOf(const Position& pos);

// BitOfCell of a frame cell.
constexpr std::uint8_t NoBit = 255;

namespace bitboard_detail {

constexpr std::array<std::uint8_t, 100> MakeBitOfCell() {
    std::array<std::uint8_t, 100> t{};
    for (auto& c : t) c = NoBit;
    for (int b = 0; b < 64; ++b) t[SquareOfBit(b)] = static_cast<std::uint8_t>(b);
    return t;
}

// The squares beyond each square along each direction, nearest first.
// Directions 0..3 lead to higher bits (+1, +7, +8, +9), 4..7 to lower ones.
struct RayTable {
    Bits ray[64][8];
    Bits neighbours[64];
    Bits diagonal[64], antiDiagonal[64];  // the whole line through the square
};

constexpr RayTable MakeRays() {
    RayTable t{};
    for (int b = 0; b < 64; ++b) t.diagonal[b] = t.antiDiagonal[b] = 0;
    constexpr int dr[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    constexpr int dc[8] = {1, -1, 0, 1, -1, 1, 0, -1};
    for (int b = 0; b < 64; ++b) {
        t.neighbours[b] = 0;
        for (int k = 0; k < 8; ++k) {
            Bits m = 0;
            int r = b / 8 + dr[k], c = b % 8 + dc[k];
            if (r >= 0 && r < 8 && c >= 0 && c < 8) t.neighbours[b] |= BitAt(r * 8 + c);
            for (; r >= 0 && r < 8 && c >= 0 && c < 8; r += dr[k], c += dc[k]) m |= BitAt(r * 8 + c);
            t.ray[b][k] = m;
        }
        t.diagonal[b] = BitAt(b) | t.ray[b][3] | t.ray[b][7];
        t.antiDiagonal[b] = BitAt(b) | t.ray[b][1] | t.ray[b][5];
    }
    return t;
}

inline constexpr RayTable Rays = MakeRays();

// Discs flipped along a line of eight by a move at place p, for each content
// of the other places (bit set: the mover's disc, clear: the opponent's).
constexpr std::array<std::array<std::uint8_t, 256>, 8> MakeLineFlips() {
    std::array<std::array<std::uint8_t, 256>, 8> t{};
    for (int p = 0; p < 8; ++p)
        for (int own = 0; own < 256; ++own) {
            int n = 0;
            for (int d : {-1, 1}) {
                int run = 0, q = p + d;
                while (q >= 0 && q < 8 && !((own >> q) & 1)) ++run, q += d;
                if (q >= 0 && q < 8) n += run;
            }
            t[p][own & ~(1 << p)] = static_cast<std::uint8_t>(n);
        }
    return t;
}

inline constexpr std::array<std::array<std::uint8_t, 256>, 8> LineFlips = MakeLineFlips();

}  // namespace bitboard_detail

// BitOfSquare by table, for the search's inner loops; NoBit on the frame.
inline int BitOfCell(Square sq) {
    static constexpr std::array<std::uint8_t, 100> table = bitboard_detail::MakeBitOfCell();
    return table[sq];
}

// The eight squares around a square.
inline Bits NeighboursOf(int bit) { return bitboard_detail::Rays.neighbours[bit]; }

namespace bitboard_detail {

// For a move at place p of a line of eight: the places just beyond each run
// of opponent discs next to p (where an own disc would outflank the run),
// by the opponent's discs of the line; and the discs between p and such
// outflanking places, by the places that do outflank.
struct LineMoveTables {
    std::uint8_t outflank[8][256];
    std::uint8_t between[8][256];
};

constexpr LineMoveTables MakeLineMoveTables() {
    LineMoveTables t{};
    for (int p = 0; p < 8; ++p)
        for (int x = 0; x < 256; ++x) {
            int out = 0, flips = 0;
            for (int d : {-1, 1}) {
                int q = p + d, run = 0;
                while (q >= 0 && q < 8 && ((x >> q) & 1)) q += d, ++run;
                if (run > 0 && q >= 0 && q < 8) out |= 1 << q;
                // x read as outflanking places: the discs between p and the
                // nearest one on this side.
                for (q = p + d; q >= 0 && q < 8 && !((x >> q) & 1); q += d) {}
                if (q >= 0 && q < 8)
                    for (int r = p + d; r != q; r += d) flips |= 1 << r;
            }
            t.outflank[p][x] = static_cast<std::uint8_t>(out);
            t.between[p][x] = static_cast<std::uint8_t>(flips);
        }
    return t;
}

inline constexpr LineMoveTables LineMoves = MakeLineMoveTables();

// The discs own flips along one line, given as bytes of the line's places.
inline unsigned LineFlipsAt(int p, unsigned own, unsigned opp) {
    return LineMoves.between[p][LineMoves.outflank[p][opp & ~(1u << p)] & own];
}

}  // namespace bitboard_detail

// The discs of opp that own flips by playing on the empty square bit; 0 when
// the move is not legal. Each of the four lines through the square is read
// into a byte, its flips looked up, and the result put back: no branch the
// processor would have to guess.
inline Bits FlipsOf(int bit, Bits own, Bits opp) {
    using bitboard_detail::LineFlipsAt;
    constexpr Bits FileA = 0x0101010101010101ull;
    const int row = bit >> 3, file = bit & 7;
    const auto& rays = bitboard_detail::Rays;
    auto rank = [&](Bits x) { return static_cast<unsigned>(x >> (8 * row)) & 0xFF; };
    // A file's discs gathered into a byte by rank, and spread back.
    auto column = [&](Bits x) { return static_cast<unsigned>((((x >> file) & FileA) * 0x0102040810204080ull) >> 56); };
    // A diagonal's discs gathered into a byte by file, and spread back.
    auto diagonal = [&](Bits x, Bits line) { return static_cast<unsigned>(((x & line) * FileA) >> 56); };
    const Bits diag = rays.diagonal[bit], anti = rays.antiDiagonal[bit];
    Bits flips = static_cast<Bits>(LineFlipsAt(file, rank(own), rank(opp))) << (8 * row);
    // Flipped discs never stand at a line's ends, so spreading a column's
    // byte back cannot carry.
    flips |= ((LineFlipsAt(row, column(own), column(opp)) * 0x0002040810204081ull) & FileA) << file;
    flips |= (LineFlipsAt(file, diagonal(own, diag), diagonal(opp, diag)) * FileA) & diag;
    flips |= (LineFlipsAt(file, diagonal(own, anti), diagonal(opp, anti)) * FileA) & anti;
    return flips;
}

namespace bitboard_detail {

// LegalMovesOf on B: Bits, or a vector of them (each lane a position of its
// own, shifted and masked alike).
template <class B>
inline B LegalMovesIn(B own, B opp) {
    constexpr Bits NotEdgeFiles = 0x7E7E7E7E7E7E7E7Eull;
    B moves{};
    auto spread = [&](B maskedOpp, int d) {
        B up = maskedOpp & (own << d);
        up |= maskedOpp & (up << d);
        const B pairsUp = maskedOpp & (maskedOpp << d);
        up |= pairsUp & (up << 2 * d);
        up |= pairsUp & (up << 2 * d);
        B down = maskedOpp & (own >> d);
        down |= maskedOpp & (down >> d);
        const B pairsDown = maskedOpp & (maskedOpp >> d);
        down |= pairsDown & (down >> 2 * d);
        down |= pairsDown & (down >> 2 * d);
        moves |= (up << d) | (down >> d);
    };
    spread(opp & NotEdgeFiles, 1);
    spread(opp, 8);
    spread(opp & NotEdgeFiles, 7);
    spread(opp & NotEdgeFiles, 9);
    return moves & ~(own | opp);
}

}  // namespace bitboard_detail

// Every empty square where own flips something.
inline Bits LegalMovesOf(Bits own, Bits opp) { return bitboard_detail::LegalMovesIn(own, opp); }

// The number of discs own flips on the last empty square, bit, of a board
// with 63 discs: every other square holds own or the opponent, so own's
// discs alone say what each of the four lines through it holds. A line
// shorter than eight is read with its missing places clear, which a run of
// the opponent's discs cannot cross to an own disc.
inline int CountLastFlips(int bit, Bits own) {
    const int row = bit >> 3, file = bit & 7;
    const auto& rays = bitboard_detail::Rays;
    const auto& table = bitboard_detail::LineFlips;
    constexpr Bits FileA = 0x0101010101010101ull;
    const unsigned rank = static_cast<unsigned>(own >> (8 * row)) & 0xFF;
    // The file's discs gathered into one byte by rank.
    const unsigned column = static_cast<unsigned>((((own >> file) & FileA) * 0x0102040810204080ull) >> 56);
    // A diagonal's discs gathered by file.
    const unsigned diagonal = static_cast<unsigned>(((own & rays.diagonal[bit]) * FileA) >> 56);
    const unsigned anti = static_cast<unsigned>(((own & rays.antiDiagonal[bit]) * FileA) >> 56);
    return table[file][rank] + table[row][column] + table[file][diagonal] + table[file][anti];
}
