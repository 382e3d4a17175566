#include "engine/endgame.h"

#include "engine/search_loops.h"

int DefaultOrderDepth(int empties) {
    if (empties <= 14) return 1;
    if (empties <= 20) return (empties - 11) / 2;
    return 5;
}

namespace {

// Squares of the empty list that are empty now, for the small solver.
void CollectSmallEmpties(EngineState& es, const Position& pos) {
    int n = 0;
    for (const Square* e = es.emptyList; *e != 0; ++e)
        if (pos.board[*e] == Empty) es.smallEmpties[n++] = *e;
    es.smallEmpties[n] = 0;
}

// A move flips something only next to an opponent disc; the cheap test
// spares PlayMove's eight walks on most squares that flip nothing.
template <int Colour>
inline bool TouchesColour(const Position& pos, Square sq) {
    const std::uint8_t* b = pos.board;
    return b[sq - 11] == Colour || b[sq - 10] == Colour || b[sq - 9] == Colour || b[sq - 1] == Colour ||
           b[sq + 1] == Colour || b[sq + 9] == Colour || b[sq + 10] == Colour || b[sq + 11] == Colour;
}

// Makes a move as PlayMove does, noting the flipped squares so that the
// take-back only rewrites them. Returns the number flipped (0: no move made).
template <int Own>
inline int PlayMoveNoted(Position& pos, Square sq, Square* flipped) {
    constexpr std::uint8_t Opp = 3 - Own;
    std::uint8_t* b = pos.board;
    int total = 0;
    for (int i = 0; i < 8; ++i) {
        const int d = Directions[i];
        Square q = sq + d;
        if (b[q] != Opp) continue;
        do q += d; while (b[q] == Opp);
        if (b[q] != Own) continue;
        for (q -= d; q != sq; q -= d) {
            b[q] = Own;
            flipped[total++] = q;
        }
    }
    if (total > 0) {
        b[sq] = Own;
        pos.discDifference += (Own == Black ? 1 : -1) * (2 * total + 1);
    }
    return total;
}

template <int Own>
inline void UndoMoveNoted(Position& pos, Square sq, const Square* flipped, int count) {
    constexpr std::uint8_t Opp = 3 - Own;
    for (int k = 0; k < count; ++k) pos.board[flipped[k]] = Opp;
    pos.board[sq] = Empty;
    pos.discDifference -= (Own == Black ? 1 : -1) * (2 * count + 1);
}

template <int Own>
int SolveLastAs(EngineState& es, const Position& pos, Line& line) {
    constexpr int Opp = 3 - Own;
    constexpr int sign = Own == Black ? 1 : -1;
    line.squares[0] = 0;
    ++es.nodes;
    const Square* e = es.smallEmpties;
    while (pos.board[*e] != Empty) ++e;
    const Square sq = *e;
    if (const int n = CountFlipsAs<Own>(pos, sq); n > 0) {
        line.squares[0] = sq;
        line.squares[1] = 0;
        return pos.discDifference + sign * (2 * n + 1);
    }
    if (const int m = CountFlipsAs<Opp>(pos, sq); m > 0) {
        line.squares[0] = sq;
        line.squares[1] = 0;
        return pos.discDifference - sign * (2 * m + 1);
    }
    return pos.discDifference;
}

template <int Own>
int SolveSmallAs(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta, Line& line) {
    constexpr int Opp = 3 - Own;
    line.squares[0] = 0;
    if (empties == 0) {
        ++es.nodes;
        return pos.discDifference;
    }
    if (empties == 1) return SolveLastAs<Own>(es, pos, line);
    if (NodeMustStop(es)) return 0;
    bool moved = false;
    for (const Square* e = es.smallEmpties; *e != 0; ++e) {
        const Square sq = *e;
        if (pos.board[sq] != Empty || !TouchesColour<Opp>(pos, sq)) continue;
        Square flipped[24];  // at most 6 discs along each of the four lines through a square
        const int count = PlayMoveNoted<Own>(pos, sq, flipped);
        if (count == 0) continue;
        moved = true;
        Line child;
        const int v = SolveSmallAs<Opp>(es, pos, empties - 1, false, alpha, beta, child);
        UndoMoveNoted<Own>(pos, sq, flipped, count);
        if (es.stopped) return 0;
        if (Own == Black) {
            if (v > alpha) {
                alpha = v;
                line.squares[0] = 0;
            }
        } else {
            if (v < beta) {
                beta = v;
                line.squares[0] = 0;
            }
        }
        if (line.squares[0] == 0) {
            CopyLine(line, sq, child);
            if (alpha >= beta) return Own == Black ? alpha : beta;
        }
    }
    if (moved) return Own == Black ? alpha : beta;
    if (passed) return pos.discDifference;
    return SolveSmallAs<Opp>(es, pos, empties, true, alpha, beta, line);
}

template <int Own>
int SolveAs(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta, Line& line) {
    constexpr int Opp = 3 - Own;
    if (empties <= SmallSolveEmpties) {
        CollectSmallEmpties(es, pos);
        return SolveSmallAs<Own>(es, pos, empties, passed, alpha, beta, line);
    }
    line.squares[0] = 0;
    if (NodeMustStop(es)) return 0;
    MoveList list;
    const int n = GenerateMoves(es, pos, Own, list);
    if (n == 0) {
        if (passed) return pos.discDifference;
        return SolveAs<Opp>(es, pos, empties, true, alpha, beta, line);
    }
    if (n >= 2) {
        OrderMoves(es, pos, Own, DefaultOrderDepth(empties), -FullWindow, FullWindow, list, false);
        if (es.stopped) return 0;
    }
    return RunNodeLoop<Own>(es, pos, list, n, alpha, beta, line, [&](int a, int b, Line& child) {
        return SolveAs<Opp>(es, pos, empties - 1, false, a, b, child);
    });
}

}  // namespace

int SolveBlack(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta, Line& line) {
    return SolveAs<Black>(es, pos, empties, passed, alpha, beta, line);
}
int SolveWhite(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta, Line& line) {
    return SolveAs<White>(es, pos, empties, passed, alpha, beta, line);
}
int SolveSmallBlack(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta,
                    Line& line) {
    CollectSmallEmpties(es, pos);
    return SolveSmallAs<Black>(es, pos, empties, passed, alpha, beta, line);
}
int SolveSmallWhite(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta,
                    Line& line) {
    CollectSmallEmpties(es, pos);
    return SolveSmallAs<White>(es, pos, empties, passed, alpha, beta, line);
}
int SolveLastBlack(EngineState& es, const Position& pos, Line& line) {
    CollectSmallEmpties(es, pos);
    return SolveLastAs<Black>(es, pos, line);
}
int SolveLastWhite(EngineState& es, const Position& pos, Line& line) {
    CollectSmallEmpties(es, pos);
    return SolveLastAs<White>(es, pos, line);
}

void SolveRoot(EngineState& es, Position& pos, int empties, int lo, int hi, int orderDepth, int orderLo,
               int orderHi, int slots, ResultList& results, LineBuffer& lines, bool display,
               Pacing pacing) {
    results.entries[0] = {nullptr, 0};
    MoveList list;
    const int n = GenerateMoves(es, pos, Black, list);
    if (NodeMustStop(es) || n == 0) return;
    if (n >= 2) {
        if (orderDepth != 0) OrderMoves(es, pos, Black, orderDepth, orderLo, orderHi, list, display);
        else if (empties > SmallSolveEmpties)
            OrderMoves(es, pos, Black, DefaultOrderDepth(empties), -FullWindow, FullWindow, list, display);
        if (es.stopped) return;
    }
    RunRootLoop(es, pos, list, n, lo, hi, slots, empties + 1, results, lines, display, pacing,
                [&](int a, int b, Line& child) { return SolveWhite(es, pos, empties - 1, false, a, b, child); });
}
