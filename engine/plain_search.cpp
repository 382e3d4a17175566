#include "engine/plain_search.h"

#include "engine/endgame.h"
#include "engine/evaluation.h"
#include "engine/search_loops.h"

namespace {

template <int Own>
int PlainMoves(const EngineState& es, const Position& pos, MoveList& list) {
    int n = 0;
    for (const Square* e = es.emptyList; *e != 0; ++e)
        if (pos.board[*e] == Empty && CanPlayAs<Own>(pos, *e)) list.moves[n++] = {*e, 0};
    list.moves[n] = {0, 0};
    return n;
}

// child(line) searches the position after the move for the other colour.
template <int Own, typename Child>
int PlayAndSearch(Position& pos, Square sq, Line& line, Child child) {
    FlipRecord flips;
    PlayMoveAs<Own>(pos, sq, flips);
    const int v = child(line);
    UndoMoveAs<Own>(pos, sq, flips);
    return v;
}

template <int Own>
int PlainSearch(EngineState& es, Position& pos, int depth, bool passed, int alpha, int beta, Line& line);

template <int Own>
void PlainOrder(EngineState& es, Position& pos, int depth, int lo, int hi, MoveList& list, bool display) {
    constexpr int Opp = 3 - Own;
    int n = 0;
    for (; list.moves[n].square != 0; ++n) {
        const Square sq = list.moves[n].square;
        if (display) ShowSearchMark(es, sq);
        Line child;
        const int v = PlayAndSearch<Own>(pos, sq, child, [&](Line& l) {
            return PlainSearch<Opp>(es, pos, depth - 1, false, lo, hi, l);
        });
        if (es.stopped) return;
        list.moves[n].value = Own == Black ? v : -v;
        if (display) ShowSearchMark(es, 0);
    }
    SortMoves(list, n);
}

template <int Own>
int PlainSearch(EngineState& es, Position& pos, int depth, bool passed, int alpha, int beta, Line& line) {
    constexpr int Opp = 3 - Own;
    line.squares[0] = 0;
    if (NodeMustStop(es)) return 0;
    if (depth == 0) return Evaluate(es, pos, Own == Black ? 0 : 1);
    MoveList list;
    const int n = PlainMoves<Own>(es, pos, list);
    if (n == 0) {
        if (passed) return TerminalScore(pos);
        return PlainSearch<Opp>(es, pos, depth, true, alpha, beta, line);
    }
    if (n >= 2 && depth > 3) {
        PlainOrder<Own>(es, pos, InteriorOrderDepth(depth), -FullWindow, FullWindow, list, false);
        if (es.stopped) return 0;
    }
    return RunNodeLoop<Own>(es, list, n, alpha, beta, line, [&](Square sq, int a, int b, Line& child) {
        return PlayAndSearch<Own>(pos, sq, child,
                                  [&](Line& l) { return PlainSearch<Opp>(es, pos, depth - 1, false, a, b, l); });
    });
}

template <int Own>
int PlainSolveLast(EngineState& es, const Position& pos, Line& line) {
    constexpr int Opp = 3 - Own;
    constexpr int sign = Own == Black ? 1 : -1;
    line.squares[0] = 0;
    ++es.nodes;
    const Square* e = es.emptyList;
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
int PlainSolveSmall(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta, Line& line) {
    constexpr int Opp = 3 - Own;
    line.squares[0] = 0;
    if (empties == 0) {
        ++es.nodes;
        return pos.discDifference;
    }
    if (empties == 1) return PlainSolveLast<Own>(es, pos, line);
    if (NodeMustStop(es)) return 0;
    bool moved = false;
    for (const Square* e = es.emptyList; *e != 0; ++e) {
        const Square sq = *e;
        if (pos.board[sq] != Empty) continue;
        FlipRecord flips;
        if (PlayMoveAs<Own>(pos, sq, flips) == 0) continue;
        moved = true;
        Line child;
        const int v = PlainSolveSmall<Opp>(es, pos, empties - 1, false, alpha, beta, child);
        UndoMoveAs<Own>(pos, sq, flips);
        if (es.stopped) return 0;
        if (Own == Black ? v > alpha : v < beta) {
            (Own == Black ? alpha : beta) = v;
            line.squares[0] = 0;
        }
        if (line.squares[0] == 0) {
            CopyLine(line, sq, child);
            if (alpha >= beta) break;
        }
    }
    if (moved) return Own == Black ? alpha : beta;
    if (passed) return pos.discDifference;
    return PlainSolveSmall<Opp>(es, pos, empties, true, alpha, beta, line);
}

template <int Own>
int PlainSolve(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta, Line& line) {
    constexpr int Opp = 3 - Own;
    if (empties <= SmallSolveEmpties) return PlainSolveSmall<Own>(es, pos, empties, passed, alpha, beta, line);
    line.squares[0] = 0;
    if (NodeMustStop(es)) return 0;
    MoveList list;
    const int n = PlainMoves<Own>(es, pos, list);
    if (n == 0) {
        if (passed) return pos.discDifference;
        return PlainSolve<Opp>(es, pos, empties, true, alpha, beta, line);
    }
    if (n >= 2) {
        PlainOrder<Own>(es, pos, DefaultOrderDepth(empties), -FullWindow, FullWindow, list, false);
        if (es.stopped) return 0;
    }
    return RunNodeLoop<Own>(es, list, n, alpha, beta, line, [&](Square sq, int a, int b, Line& child) {
        return PlayAndSearch<Own>(pos, sq, child,
                                  [&](Line& l) { return PlainSolve<Opp>(es, pos, empties - 1, false, a, b, l); });
    });
}

}  // namespace

void PlainSearchRoot(EngineState& es, Position& pos, int depth, int alpha, int beta, int slots,
                     ResultList& results, LineBuffer& lines, bool display, Pacing pacing) {
    if (depth < 1) depth = 1;
    MoveList list;
    const int n = PlainMoves<Black>(es, pos, list);
    RunRoot(
        es, pos.legalMoveCount, list, n, depth > 3,
        [&](MoveList& l) { PlainOrder<Black>(es, pos, RootOrderDepth(depth), -FullWindow, FullWindow, l, display); },
        alpha, beta, slots, depth + 1, results, lines, display, pacing, [&](Square sq, int a, int b, Line& child) {
            return PlayAndSearch<Black>(
                pos, sq, child, [&](Line& l) { return PlainSearch<White>(es, pos, depth - 1, false, a, b, l); });
        });
}

void PlainSolveRoot(EngineState& es, Position& pos, int empties, int lo, int hi, int orderDepth, int orderLo,
                    int orderHi, int slots, ResultList& results, LineBuffer& lines, bool display,
                    Pacing pacing) {
    MoveList list;
    const int n = PlainMoves<Black>(es, pos, list);
    const int depth = orderDepth != 0 ? orderDepth : DefaultOrderDepth(empties);
    const int oLo = orderDepth != 0 ? orderLo : -FullWindow, oHi = orderDepth != 0 ? orderHi : FullWindow;
    RunRoot(
        es, pos.legalMoveCount, list, n, orderDepth != 0 || empties > SmallSolveEmpties,
        [&](MoveList& l) { PlainOrder<Black>(es, pos, depth, oLo, oHi, l, display); }, lo, hi, slots, empties + 1,
        results, lines, display, pacing, [&](Square sq, int a, int b, Line& child) {
            return PlayAndSearch<Black>(
                pos, sq, child, [&](Line& l) { return PlainSolve<White>(es, pos, empties - 1, false, a, b, l); });
        });
}
