// Helpers shared by the engine tests: positions from text, random positions
// reached by legal play, and plain reference searches over the same rules.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/position_text.h"
#include "engine/engine_state.h"
#include "engine/evaluation.h"

inline Position PositionFrom(const std::string& text) {
    Position pos;
    EXPECT_TRUE(ParsePositionText(text, pos)) << text;
    return pos;
}

// Rows as eight strings (rank 1 first) with the side to move.
inline Position PositionFromRows(const std::vector<std::string>& rows, char side = 'X') {
    std::string t;
    for (const auto& r : rows) t += r;
    t += ' ';
    t += side;
    return PositionFrom(t);
}

inline std::vector<Square> LegalSquares(const Position& pos, int colour) {
    std::vector<Square> moves;
    for (Square sq = 11; sq <= 88; ++sq)
        if (pos.board[sq] == Empty && CanPlay(pos, sq, colour)) moves.push_back(sq);
    return moves;
}

// Plays random legal moves (passing when forced) from the initial position
// until empties squares are left or the game ends; the side to move is set.
inline Position RandomPosition(std::mt19937& rng, int empties) {
    Position pos;
    SetInitialPosition(pos);
    int colour = Black;
    for (int left = 60; left > empties;) {
        auto moves = LegalSquares(pos, colour);
        if (moves.empty()) {
            colour = Opponent(colour);
            if (LegalSquares(pos, colour).empty()) break;
            continue;
        }
        FlipRecord f;
        PlayMove(pos, moves[rng() % moves.size()], colour, f);
        colour = Opponent(colour);
        --left;
    }
    pos.sideToMove = colour - 1;
    int b, w;
    RecountPosition(pos, b, w);
    return pos;
}

inline int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(hi, v)); }

// Plain minimax over the midgame rules: no window, no ordering.
inline int ReferenceMidgame(EngineState& es, Position& pos, int colour, int depth, bool passed) {
    if (depth == 0) return Evaluate(es, pos, colour == Black ? 0 : 1);
    auto moves = LegalSquares(pos, colour);
    if (moves.empty()) {
        if (passed) {
            const int d = pos.discDifference;
            return d > 0 ? 935 + d : d < 0 ? d - 935 : 0;
        }
        return ReferenceMidgame(es, pos, Opponent(colour), depth, true);
    }
    int best = colour == Black ? -100000 : 100000;
    for (Square sq : moves) {
        FlipRecord f;
        PlayMove(pos, sq, colour, f);
        const int v = ReferenceMidgame(es, pos, Opponent(colour), depth - 1, false);
        UndoMove(pos, sq, colour, f);
        best = colour == Black ? std::max(best, v) : std::min(best, v);
    }
    return best;
}

// Plain minimax to the end of the game: the final disc difference, empties
// left at the end given to no one.
inline int ReferenceSolve(Position& pos, int colour, bool passed = false) {
    auto moves = LegalSquares(pos, colour);
    if (moves.empty()) {
        if (passed) return pos.discDifference;
        return ReferenceSolve(pos, Opponent(colour), true);
    }
    int best = colour == Black ? -1000 : 1000;
    for (Square sq : moves) {
        FlipRecord f;
        PlayMove(pos, sq, colour, f);
        const int v = ReferenceSolve(pos, Opponent(colour));
        UndoMove(pos, sq, colour, f);
        best = colour == Black ? std::max(best, v) : std::min(best, v);
    }
    return best;
}

inline int CountEmpties(const Position& pos) {
    int n = 0;
    for (Square sq = 11; sq <= 88; ++sq) n += pos.board[sq] == Empty;
    return n;
}

inline bool SamePosition(const Position& a, const Position& b) {
    return std::equal(std::begin(a.board), std::end(a.board), std::begin(b.board)) &&
           a.moveNumber == b.moveNumber && a.sideToMove == b.sideToMove &&
           a.legalMoveCount == b.legalMoveCount && a.discDifference == b.discDifference;
}
