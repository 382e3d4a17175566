#include "engine/midgame.h"

#include "engine/evaluation.h"
#include "engine/search_loops.h"

// Corners first, then the centre and the squares around it, the edges, and
// last the squares next to the corners.
const Square SquareOrder[65] = {
    11, 81, 18, 88, 44, 54, 45, 55, 43, 53, 34, 64, 35, 65, 46, 56, 42, 52, 24, 74, 25, 75,
    47, 57, 33, 63, 36, 66, 31, 61, 13, 83, 16, 86, 38, 68, 32, 62, 23, 73, 26, 76, 37, 67,
    41, 51, 14, 84, 15, 85, 48, 58, 21, 71, 12, 82, 17, 87, 28, 78, 22, 72, 27, 77, 0,
};

int BuildEmptyList(EngineState& es, const Position& pos) {
    int n = 0;
    for (int i = 0; SquareOrder[i] != 0; ++i)
        if (pos.board[SquareOrder[i]] == Empty) es.emptyList[n++] = SquareOrder[i];
    es.emptyList[n] = 0;
    return n;
}

namespace {

template <int Own>
int GenerateMovesAs(const EngineState& es, const Position& pos, MoveList& list) {
    int n = 0;
    for (const Square* e = es.emptyList; *e != 0; ++e)
        if (pos.board[*e] == Empty && CanPlayAs<Own>(pos, *e)) list.moves[n++] = {*e, 0};
    list.moves[n] = {0, 0};
    return n;
}

// Ordering depth of an interior node.
inline int InteriorOrderDepth(int depth) { return depth <= 12 ? (depth - 1) / 3 : 4; }

// Ordering depth of the root.
inline int RootOrderDepth(int depth) { return depth <= 8 ? (depth - 1) / 2 + 1 : 5; }

template <int Own>
int SearchAs(EngineState& es, Position& pos, int depth, bool passed, int alpha, int beta, Line& line);

template <int Own>
void OrderMovesAs(EngineState& es, Position& pos, int depth, int lo, int hi, MoveList& list, bool display) {
    constexpr int Opp = 3 - Own;
    int n = 0;
    for (; list.moves[n].square != 0; ++n) {
        const Square sq = list.moves[n].square;
        if (display) ShowSearchMark(es, sq);
        FlipRecord flips;
        PlayMoveAs<Own>(pos, sq, flips);
        Line child;
        const int v = SearchAs<Opp>(es, pos, depth - 1, false, lo, hi, child);
        UndoMoveAs<Own>(pos, sq, flips);
        if (es.stopped) return;
        list.moves[n].value = Own == Black ? v : -v;
        if (display) ShowSearchMark(es, 0);
    }
    SortMoves(list, n);
}

template <int Own>
int SearchAs(EngineState& es, Position& pos, int depth, bool passed, int alpha, int beta, Line& line) {
    constexpr int Opp = 3 - Own;
    line.squares[0] = 0;
    if (NodeMustStop(es)) return 0;
    if (depth == 0) return Evaluate(es, pos, Own == Black ? 0 : 1);
    MoveList list;
    const int n = GenerateMovesAs<Own>(es, pos, list);
    if (n == 0) {
        if (passed) return TerminalScore(pos);
        return SearchAs<Opp>(es, pos, depth, true, alpha, beta, line);
    }
    if (n >= 2 && depth > 3) {
        OrderMovesAs<Own>(es, pos, InteriorOrderDepth(depth), -FullWindow, FullWindow, list, false);
        if (es.stopped) return 0;
    }
    return RunNodeLoop<Own>(es, pos, list, n, alpha, beta, line, [&](int a, int b, Line& child) {
        return SearchAs<Opp>(es, pos, depth - 1, false, a, b, child);
    });
}

}  // namespace

int GenerateMoves(const EngineState& es, const Position& pos, int colour, MoveList& list) {
    return colour == Black ? GenerateMovesAs<Black>(es, pos, list) : GenerateMovesAs<White>(es, pos, list);
}

int TerminalScore(const Position& pos) {
    if (pos.discDifference > 0) return 935 + pos.discDifference;
    if (pos.discDifference < 0) return pos.discDifference - 935;
    return 0;
}

void SortMoves(MoveList& list, int count) {
    for (int i = 1; i < count; ++i)
        for (int j = i; j > 0 && list.moves[j - 1].value < list.moves[j].value; --j) {
            const MoveEntry t = list.moves[j - 1];
            list.moves[j - 1] = list.moves[j];
            list.moves[j] = t;
        }
}

void OrderMoves(EngineState& es, Position& pos, int colour, int depth, int lo, int hi, MoveList& list,
                bool display) {
    if (colour == Black) OrderMovesAs<Black>(es, pos, depth, lo, hi, list, display);
    else OrderMovesAs<White>(es, pos, depth, lo, hi, list, display);
}

int SearchBlack(EngineState& es, Position& pos, int depth, bool passed, int alpha, int beta, Line& line) {
    return SearchAs<Black>(es, pos, depth, passed, alpha, beta, line);
}

int SearchWhite(EngineState& es, Position& pos, int depth, bool passed, int alpha, int beta, Line& line) {
    return SearchAs<White>(es, pos, depth, passed, alpha, beta, line);
}

void SearchRoot(EngineState& es, Position& pos, int depth, int alpha, int beta, int slots,
                ResultList& results, LineBuffer& lines, bool display, Pacing pacing) {
    results.entries[0] = {nullptr, 0};
    // Below depth 1 no leaf would ever be reached.
    if (depth < 1) depth = 1;
    MoveList list;
    const int n = GenerateMovesAs<Black>(es, pos, list);
    if (NodeMustStop(es) || n == 0) return;
    if (n >= 2 && depth > 3) {
        OrderMovesAs<Black>(es, pos, RootOrderDepth(depth), -FullWindow, FullWindow, list, display);
        if (es.stopped) return;
    }
    RunRootLoop(es, pos, list, n, alpha, beta, slots, depth + 1, results, lines, display, pacing,
                [&](int a, int b, Line& child) { return SearchAs<White>(es, pos, depth - 1, false, a, b, child); });
}
