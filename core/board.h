// Board and rules: the 10 x 10 mailbox, colours, the Position, making and
// taking back moves, legality and counting.
#pragma once

#include <cstdint>

// Cell values.
constexpr std::uint8_t Empty = 0;
constexpr std::uint8_t Black = 1;
constexpr std::uint8_t White = 2;
constexpr std::uint8_t Border = 255;

// A playable square is its cell index 11..88 (row * 10 + column); 0 is a pass,
// a negative value no move at all.
using Square = int;
constexpr Square Pass = 0;

using Board = std::uint8_t[100];

// The eight step offsets in their fixed order, then the end marker.
constexpr int Directions[9] = {-11, -10, -9, -1, +1, +9, +10, +11, 0};

struct Position {
    Board board;
    std::int32_t moveNumber;
    std::int32_t sideToMove;      // 0 black, 1 white
    std::int32_t legalMoveCount;  // 0: pass due, -1: game over
    std::int32_t discDifference;  // black - white
};

// Discs flipped along each of the eight directions by one move.
struct FlipRecord {
    std::int32_t count[8];
};

// The moves of a continuation in playing order, passes omitted, ended by 0.
constexpr int MaxLineLength = 64;
struct Line {
    Square squares[MaxLineLength + 1];
};

inline int ColourOfSide(int side) { return side + 1; }
inline int Opponent(int colour) { return 3 - colour; }
inline bool IsPlayable(Square sq) { return sq >= 11 && sq <= 88 && sq % 10 >= 1 && sq % 10 <= 8; }

void InitBoard(Position& pos);
void SwapColours(Position& pos);

// The rules for one colour, written once and instantiated for each colour so
// that the search gets a separate fast routine for black and for white.
template <int Own>
inline bool CanPlayAs(const Position& pos, Square sq) {
    constexpr std::uint8_t Opp = 3 - Own;
    const std::uint8_t* b = pos.board;
    for (int i = 0; i < 8; ++i) {
        const int d = Directions[i];
        int q = sq + d;
        if (b[q] != Opp) continue;
        do q += d; while (b[q] == Opp);
        if (b[q] == Own) return true;
    }
    return false;
}

template <int Own>
inline int CountFlipsAs(const Position& pos, Square sq) {
    constexpr std::uint8_t Opp = 3 - Own;
    const std::uint8_t* b = pos.board;
    int total = 0;
    for (int i = 0; i < 8; ++i) {
        const int d = Directions[i];
        int q = sq + d;
        int n = 0;
        while (b[q] == Opp) { q += d; ++n; }
        if (b[q] == Own) total += n;
    }
    return total;
}

template <int Own>
inline int PlayMoveAs(Position& pos, Square sq, FlipRecord& flips) {
    constexpr std::uint8_t Opp = 3 - Own;
    std::uint8_t* b = pos.board;
    int total = 0;
    for (int i = 0; i < 8; ++i) {
        const int d = Directions[i];
        int q = sq + d;
        int n = 0;
        while (b[q] == Opp) { q += d; ++n; }
        if (b[q] == Own && n > 0) {
            flips.count[i] = n;
            total += n;
            for (q -= d; q != sq; q -= d) b[q] = Own;
        } else {
            flips.count[i] = 0;
        }
    }
    if (total > 0) {
        b[sq] = Own;
        pos.discDifference += (Own == Black ? 1 : -1) * (2 * total + 1);
    }
    return total;
}

template <int Own>
inline void UndoMoveAs(Position& pos, Square sq, const FlipRecord& flips) {
    constexpr std::uint8_t Opp = 3 - Own;
    std::uint8_t* b = pos.board;
    int total = 0;
    for (int i = 0; i < 8; ++i) {
        const int d = Directions[i];
        const int n = flips.count[i];
        total += n;
        int q = sq;
        for (int k = 0; k < n; ++k) { q += d; b[q] = Opp; }
    }
    b[sq] = Empty;
    pos.discDifference -= (Own == Black ? 1 : -1) * (2 * total + 1);
}

inline bool CanPlayBlack(const Position& p, Square sq) { return CanPlayAs<Black>(p, sq); }
inline bool CanPlayWhite(const Position& p, Square sq) { return CanPlayAs<White>(p, sq); }
inline int CountFlipsBlack(const Position& p, Square sq) { return CountFlipsAs<Black>(p, sq); }
inline int CountFlipsWhite(const Position& p, Square sq) { return CountFlipsAs<White>(p, sq); }
inline int PlayMoveBlack(Position& p, Square sq, FlipRecord& f) { return PlayMoveAs<Black>(p, sq, f); }
inline int PlayMoveWhite(Position& p, Square sq, FlipRecord& f) { return PlayMoveAs<White>(p, sq, f); }
inline void UndoMoveBlack(Position& p, Square sq, const FlipRecord& f) { UndoMoveAs<Black>(p, sq, f); }
inline void UndoMoveWhite(Position& p, Square sq, const FlipRecord& f) { UndoMoveAs<White>(p, sq, f); }

// The same rules for a colour known only at run time (the game, not the search).
bool CanPlay(const Position& pos, Square sq, int colour);
int CountFlips(const Position& pos, Square sq, int colour);
int PlayMove(Position& pos, Square sq, int colour, FlipRecord& flips);
void UndoMove(Position& pos, Square sq, int colour, const FlipRecord& flips);

// Legal moves of a side: the count if above 0, else 0 when only the opponent
// can move, else -1. last receives the highest legal square (0 if none).
int CountLegalMoves(const Position& pos, int side, Square* last = nullptr);

// Derives the two disc counts (written to the caller's places, which the game
// session owns), moveNumber, legalMoveCount and discDifference from the board.
void RecountPosition(Position& pos, int& blackDiscs, int& whiteDiscs);

// Client point to square for display unit u; 0 off the squares and on grid lines.
Square SquareFromPoint(int x, int y, int u);
