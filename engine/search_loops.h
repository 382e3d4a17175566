// The loops shared by the midgame search and the endgame solver. Internal to
// the engine.
#pragma once

#include <chrono>
#include <thread>

#include "engine/midgame.h"
#include "engine/search_control.h"

// "move followed by the child line" into line.
inline void CopyLine(Line& line, Square move, const Line& child) {
    line.squares[0] = move;
    int k = 0;
    do line.squares[k + 1] = child.squares[k]; while (child.squares[k++] != 0);
}

// The alpha-beta loop of an interior node over its ordered moves: fail-hard,
// a move replaces the current one only when strictly better, so of equal
// moves the earliest stays. child(square, alpha, beta, line) makes the move,
// searches the position after it and takes it back.
template <int Own, typename ChildSearch>
int RunNodeLoop(EngineState& es, const MoveList& list, int count, int alpha, int beta, Line& line,
                ChildSearch child) {
    int best = Own == Black ? alpha : beta;
    for (int i = 0; i < count; ++i) {
        const Square sq = list.moves[i].square;
        Line childLine;
        const int v = Own == Black ? child(sq, best, beta, childLine) : child(sq, alpha, best, childLine);
        if (es.stopped) return 0;
        if (Own == Black ? v > best : v < best) {
            best = v;
            line.squares[0] = 0;
        }
        if (line.squares[0] == 0) {
            CopyLine(line, sq, childLine);
            if (Own == Black ? best >= beta : best <= alpha) break;
        }
    }
    return best;
}

// The root loop: searches every root move for black, paces them over the
// minimum thinking time, keeps the best slots moves with their lines and
// feeds the thinking display. child(square, alpha, beta, line) as above;
// legalMoveCount is the root position's, which paces the moves.
template <typename ChildSearch>
void RunRootLoop(EngineState& es, int legalMoveCount, const MoveList& list, int count, int alpha, int beta,
                 int slots, int slotSize, ResultList& results, LineBuffer& lines, bool display,
                 Pacing pacing, ChildSearch child) {
    if (slots < 1) slots = 1;
    if (slots > MaxMoves) slots = MaxMoves;
    int need = slots;
    int current = 0;
    Square* slot = lines.squares;
    const int movesForPacing = legalMoveCount > 0 ? legalMoveCount : count;
    for (int i = 0; i < count; ++i) {
        const Square move = list.moves[i].square;
        if (display) ShowSearchMark(es, move);
        Line childLine;
        int v = child(move, alpha, beta, childLine);
        if (es.stopped) return;
        if (pacing.minimum > 0) {
            const std::int64_t target = pacing.minimum * (i + 1) / movesForPacing;
            const std::int64_t wait = target - (NowMilliseconds() - pacing.start);
            if (wait > 0) {
                if (!es.control) std::this_thread::sleep_for(std::chrono::milliseconds(wait));
                else if (WaitUnlessStopped(*es.control, wait)) {
                    es.stopped = true;
                    return;
                }
            }
        }
        if (display) ShowSearchMark(es, 0);
        if (v < alpha) v = alpha;
        if (v > beta) v = beta;
        if (need == 0 && v > alpha) need = 1;
        if (need > 0) {
            slot[0] = move;
            int k = 0;
            do slot[k + 1] = childLine.squares[k]; while (childLine.squares[k++] != 0);
            results.entries[current] = {slot, v};
            results.entries[current + 1] = {nullptr, 0};
            for (int j = current; j > 0 && results.entries[j - 1].value < results.entries[j].value; --j) {
                const ResultEntry t = results.entries[j - 1];
                results.entries[j - 1] = results.entries[j];
                results.entries[j] = t;
            }
            --need;
            if (need > 0) {
                ++current;
                slot += slotSize;
            } else {
                slot = const_cast<Square*>(results.entries[current].line);
                alpha = results.entries[current].value;
            }
        }
        if (display && results.entries[0].line[0] == move)
            ShowBestLine(es, results.entries[0].line, results.entries[0].value);
        if (alpha >= beta) return;
    }
}

// A search's root after its moves are generated: nothing to record without a
// move; with two or more, order(list) runs the ordering pass when ordered;
// then the root loop as above.
template <typename OrderPass, typename ChildSearch>
void RunRoot(EngineState& es, int legalMoveCount, MoveList& list, int count, bool ordered, OrderPass order,
             int alpha, int beta, int slots, int slotSize, ResultList& results, LineBuffer& lines, bool display,
             Pacing pacing, ChildSearch child) {
    results.entries[0] = {nullptr, 0};
    if (NodeMustStop(es) || count == 0) return;
    if (count >= 2 && ordered) {
        order(list);
        if (es.stopped) return;
    }
    RunRootLoop(es, legalMoveCount, list, count, alpha, beta, slots, slotSize, results, lines, display, pacing,
                child);
}
