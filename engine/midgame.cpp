#include "engine/midgame.h"

#include "engine/disc_search.h"
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
        if (pos.board[SquareOrder[i]] == Empty) {
            es.emptyBits[n] = static_cast<std::uint8_t>(BitOfSquare(SquareOrder[i]));
            es.emptyList[n++] = SquareOrder[i];
        }
    es.emptyList[n] = 0;
    es.emptyCount = n;
    return n;
}

template <int Own>
int GenerateDiscMoves(const EngineState& es, const Discs& d, MoveList& list) {
    const Bits moves = LegalMovesOf(OwnDiscs<Own>(d), OwnDiscs<3 - Own>(d));
    int n = 0;
    if (moves)
        for (int i = 0; i < es.emptyCount; ++i)
            if (moves & BitAt(es.emptyBits[i])) list.moves[n++] = {es.emptyList[i], 0};
    list.moves[n] = {0, 0};
    return n;
}

template <int Own>
void OrderDiscMoves(EngineState& es, const Discs& d, int depth, int lo, int hi, MoveList& list, bool display) {
    constexpr int Opp = 3 - Own;
    int n = 0;
    for (; list.moves[n].square != 0; ++n) {
        const Square sq = list.moves[n].square;
        if (display) ShowSearchMark(es, sq);
        Line child;
        const int v = SearchDiscs<Opp>(es, PlayedDiscs<Own>(d, BitOfCell(sq)), depth - 1, false, lo, hi, child);
        if (es.stopped) return;
        list.moves[n].value = Own == Black ? v : -v;
        if (display) ShowSearchMark(es, 0);
    }
    SortMoves(list, n);
}

template <int Own>
int SearchDiscs(EngineState& es, const Discs& d, int depth, bool passed, int alpha, int beta, Line& line) {
    constexpr int Opp = 3 - Own;
    line.squares[0] = 0;
    if (NodeMustStop(es)) return 0;
    if (depth == 0) return EvaluateDiscs(es, d, Own == Black ? 0 : 1);
    MoveList list;
    const int n = GenerateDiscMoves<Own>(es, d, list);
    if (n == 0) {
        if (passed) {
            const int diff = DiscDifferenceOf(d);
            return diff > 0 ? 935 + diff : diff < 0 ? diff - 935 : 0;
        }
        return SearchDiscs<Opp>(es, d, depth, true, alpha, beta, line);
    }
    if (n >= 2 && depth > 3) {
        OrderDiscMoves<Own>(es, d, InteriorOrderDepth(depth), -FullWindow, FullWindow, list, false);
        if (es.stopped) return 0;
    }
    return RunNodeLoop<Own>(es, list, n, alpha, beta, line, [&](Square sq, int a, int b, Line& child) {
        return SearchDiscs<Opp>(es, PlayedDiscs<Own>(d, BitOfCell(sq)), depth - 1, false, a, b, child);
    });
}

template int GenerateDiscMoves<Black>(const EngineState&, const Discs&, MoveList&);
template int GenerateDiscMoves<White>(const EngineState&, const Discs&, MoveList&);
template void OrderDiscMoves<Black>(EngineState&, const Discs&, int, int, int, MoveList&, bool);
template void OrderDiscMoves<White>(EngineState&, const Discs&, int, int, int, MoveList&, bool);
template int SearchDiscs<Black>(EngineState&, const Discs&, int, bool, int, int, Line&);
template int SearchDiscs<White>(EngineState&, const Discs&, int, bool, int, int, Line&);

int GenerateMoves(const EngineState& es, const Position& pos, int colour, MoveList& list) {
    const Discs d = DiscsOf(pos);
    return colour == Black ? GenerateDiscMoves<Black>(es, d, list) : GenerateDiscMoves<White>(es, d, list);
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
    const Discs d = DiscsOf(pos);
    if (colour == Black) OrderDiscMoves<Black>(es, d, depth, lo, hi, list, display);
    else OrderDiscMoves<White>(es, d, depth, lo, hi, list, display);
}

int SearchBlack(EngineState& es, Position& pos, int depth, bool passed, int alpha, int beta, Line& line) {
    return SearchDiscs<Black>(es, DiscsOf(pos), depth, passed, alpha, beta, line);
}

int SearchWhite(EngineState& es, Position& pos, int depth, bool passed, int alpha, int beta, Line& line) {
    return SearchDiscs<White>(es, DiscsOf(pos), depth, passed, alpha, beta, line);
}

void SearchRoot(EngineState& es, Position& pos, int depth, int alpha, int beta, int slots,
                ResultList& results, LineBuffer& lines, bool display, Pacing pacing) {
    // Below depth 1 no leaf would ever be reached.
    if (depth < 1) depth = 1;
    const Discs d = DiscsOf(pos);
    MoveList list;
    const int n = GenerateDiscMoves<Black>(es, d, list);
    RunRoot(
        es, pos.legalMoveCount, list, n, depth > 3,
        [&](MoveList& l) { OrderDiscMoves<Black>(es, d, RootOrderDepth(depth), -FullWindow, FullWindow, l, display); },
        alpha, beta, slots, depth + 1, results, lines, display, pacing, [&](Square sq, int a, int b, Line& child) {
            return SearchDiscs<White>(es, PlayedDiscs<Black>(d, BitOfCell(sq)), depth - 1, false, a, b, child);
        });
}
