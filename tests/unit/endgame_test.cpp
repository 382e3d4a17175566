#include <gtest/gtest.h>

#include <map>

#include "engine/endgame.h"
#include "engine/evaluation.h"
#include "engine_test_support.h"

namespace {

int Prepare(EngineState& es, const Position& pos, int set = 0) {
    SelectWeights(es, set);
    return BuildEmptyList(es, pos);
}

// A random position with black to move (colours exchanged if needed).
Position RandomBlackPosition(std::mt19937& rng, int empties) {
    Position pos = RandomPosition(rng, empties);
    if (pos.sideToMove == 1) SwapColours(pos);
    pos.sideToMove = 0;
    int b, w;
    RecountPosition(pos, b, w);
    return pos;
}

// The last empty square at a given cell with the rest of the board filled.
Position OneEmpty(const std::vector<std::string>& rows) { return PositionFromRows(rows); }

}  // namespace

TEST(DefaultOrderDepth, FollowsTheEmptyCount) {
    EXPECT_EQ(DefaultOrderDepth(9), 1);
    EXPECT_EQ(DefaultOrderDepth(14), 1);
    EXPECT_EQ(DefaultOrderDepth(15), 2);
    EXPECT_EQ(DefaultOrderDepth(16), 2);
    EXPECT_EQ(DefaultOrderDepth(17), 3);
    EXPECT_EQ(DefaultOrderDepth(20), 4);
    EXPECT_EQ(DefaultOrderDepth(21), 5);
    EXPECT_EQ(DefaultOrderDepth(25), 5);
}

TEST(SolveLast, BlackPassesAndWhiteTakesTheLastSquare) {
    // h8 empty: black flips nothing there, white flips the three black discs
    // e8..g8 (d8 white).
    Position pos = OneEmpty({"OOOOOOOO", "OOOOOOOO", "OOOOOOOO", "OOOOOOOO", "OOOOOOOO", "OOOOOOOO",
                             "XXXXXXOO", "OOOOXXX-"});
    EngineState es;
    ASSERT_EQ(Prepare(es, pos), 1);
    ASSERT_EQ(CountFlips(pos, 88, Black), 0);
    ASSERT_EQ(CountFlips(pos, 88, White), 3);
    Line line;
    EXPECT_EQ(SolveLastBlack(es, pos, line), pos.discDifference - 7);
    EXPECT_EQ(line.squares[0], 88);
    EXPECT_EQ(line.squares[1], 0);
    // White to move takes it at once, the same value.
    EXPECT_EQ(SolveLastWhite(es, pos, line), pos.discDifference - 7);
    EXPECT_EQ(line.squares[0], 88);
}

TEST(SolveLast, NobodyCanPlayTheLastSquare) {
    // Every line from h8 holds black discs only.
    Position pos = OneEmpty({"XXXXXXXX", "XXOOOOOX", "XOXOOOOX", "XOXXOOOX", "XOOOXOOX", "XOOOOXOX",
                             "XOOOOOXX", "XXXXXXX-"});
    EngineState es;
    ASSERT_EQ(Prepare(es, pos), 1);
    Line line;
    EXPECT_EQ(SolveLastBlack(es, pos, line), pos.discDifference);
    EXPECT_EQ(line.squares[0], 0);
    EXPECT_EQ(SolveLastWhite(es, pos, line), pos.discDifference);
}

TEST(Solve, EmptiesLeftAtTheEndGoToNoOne) {
    Position pos = PositionFromRows({"-XXXXXXX", "XXOOOOOX", "XOXOOOOX", "XOXXOOOX", "XOOOXOOX", "XOOOOXOX",
                                     "XOOOOOXX", "XXXXXXX-"});
    EngineState es;
    ASSERT_EQ(Prepare(es, pos), 2);
    Line line;
    EXPECT_EQ(SolveSmallBlack(es, pos, 2, false, -64, 64, line), 4);
    EXPECT_EQ(line.squares[0], 0);
}

TEST(Solve, AgreesWithPlainMinimaxToTheEnd) {
    std::mt19937 rng(21);
    EngineState es;
    for (int game = 0; game < 40; ++game) {
        const int empties = 2 + game % 9;  // 2..10: small solver and ordered nodes
        Position pos = RandomBlackPosition(rng, empties);
        const Position before = pos;
        const int e = Prepare(es, pos, game % 3);
        const int truth = ReferenceSolve(pos, Black);
        Line line;
        const int perfect = e > SmallSolveEmpties ? SolveBlack(es, pos, e, false, -64, 64, line)
                                                  : SolveSmallBlack(es, pos, e, false, -64, 64, line);
        ASSERT_EQ(perfect, truth) << PositionText(pos);
        ASSERT_TRUE(SamePosition(pos, before));
        // The line replays legally (passes inserted where forced) to a finish
        // with that value.
        Position replay = pos;
        int colour = Black;
        for (const Square* s = line.squares; *s; ++s) {
            if (!CanPlay(replay, *s, colour)) colour = Opponent(colour);
            ASSERT_TRUE(replay.board[*s] == Empty && CanPlay(replay, *s, colour)) << PositionText(pos);
            FlipRecord f;
            PlayMove(replay, *s, colour, f);
            colour = Opponent(colour);
        }
        EXPECT_EQ(replay.discDifference, truth) << PositionText(pos);
        // Win-loss: the sign of the truth, fail-hard at the bounds.
        const int winLoss = e > SmallSolveEmpties ? SolveBlack(es, pos, e, false, -1, 1, line)
                                                  : SolveSmallBlack(es, pos, e, false, -1, 1, line);
        EXPECT_EQ(Clamp(winLoss, -1, 1), Clamp(truth, -1, 1)) << PositionText(pos);
    }
}

TEST(SolveRoot, ListsEveryMoveWithItsExactValue) {
    std::mt19937 rng(33);
    EngineState es;
    for (int game = 0; game < 12; ++game) {
        Position pos = RandomBlackPosition(rng, 7 + game % 5);
        const auto moves = LegalSquares(pos, Black);
        if (moves.size() < 2) continue;
        const int e = Prepare(es, pos);
        std::map<Square, int> truth;
        for (Square sq : moves) {
            FlipRecord f;
            PlayMove(pos, sq, Black, f);
            truth[sq] = ReferenceSolve(pos, White);
            UndoMove(pos, sq, Black, f);
        }
        ResultList results;
        LineBuffer lines;
        const int n = static_cast<int>(moves.size());
        SolveRoot(es, pos, e, -64, 64, 0, -999, 999, n, results, lines, false, {0, 0});
        for (int i = 0; i < n; ++i) {
            ASSERT_NE(results.entries[i].line, nullptr);
            EXPECT_EQ(results.entries[i].value, truth[results.entries[i].line[0]]);
            EXPECT_EQ(results.entries[i].line, lines.squares + (results.entries[i].line - lines.squares) /
                                                                   (e + 1) * (e + 1));
        }
        EXPECT_EQ(results.entries[n].line, nullptr);
        // A narrow solving window shows clamped values.
        SolveRoot(es, pos, e, -2, 2, 0, -999, 999, n, results, lines, false, {0, 0});
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(results.entries[i].value, Clamp(truth[results.entries[i].line[0]], -2, 2));
    }
}

namespace {

int marksSeen = 0;
void CountMark(void*, Square sq) { marksSeen += sq != 0; }

}  // namespace

TEST(SolveRoot, WinLossStopsAtTheFirstWinningMoveOfTheOrderedList) {
    std::mt19937 rng(44);
    EngineState es;
    int checked = 0;
    while (checked < 6) {
        Position pos = RandomBlackPosition(rng, 10);
        const auto moves = LegalSquares(pos, Black);
        if (moves.size() < 3) continue;
        const int e = Prepare(es, pos, 2);
        // The root order the solver will use: a depth-2 pass in the full window.
        MoveList list;
        const int n = GenerateMoves(es, pos, Black, list);
        OrderMoves(es, pos, Black, 2, -999, 999, list, false);
        int firstWin = -1;
        for (int i = 0; i < n && firstWin < 0; ++i) {
            FlipRecord f;
            PlayMove(pos, list.moves[i].square, Black, f);
            if (ReferenceSolve(pos, White) > 0) firstWin = i;
            UndoMove(pos, list.moves[i].square, Black, f);
        }
        if (firstWin < 0 || firstWin == n - 1) continue;
        ++checked;
        ResultList results;
        LineBuffer lines;
        marksSeen = 0;
        const ThinkingDisplay hook = {nullptr, CountMark, nullptr};
        es.display = &hook;
        SolveRoot(es, pos, e, -1, 1, 2, -999, 999, 1, results, lines, true, {0, 0});
        es.display = nullptr;
        EXPECT_EQ(results.entries[0].value, 1);
        EXPECT_EQ(results.entries[0].line[0], list.moves[firstWin].square);
        // Marks: n for the ordering pass, then only the root moves up to the win.
        EXPECT_EQ(marksSeen, n + firstWin + 1);
    }
}

TEST(SolveRoot, OrderDepthZeroOrdersByTheDefaultRuleAboveEightEmpties) {
    // The root's ordering pass is visible through the search marks: one mark
    // per move in the pass, none with 8 or fewer empties.
    std::mt19937 rng(55);
    EngineState es;
    for (int empties : {8, 10}) {
        Position pos;
        do pos = RandomBlackPosition(rng, empties);
        while (LegalSquares(pos, Black).size() < 2 || CountEmpties(pos) != empties);
        const int n = static_cast<int>(LegalSquares(pos, Black).size());
        const int e = Prepare(es, pos);
        ResultList results;
        LineBuffer lines;
        marksSeen = 0;
        const ThinkingDisplay hook = {nullptr, CountMark, nullptr};
        es.display = &hook;
        SolveRoot(es, pos, e, -64, 64, 0, -999, 999, n, results, lines, true, {0, 0});
        es.display = nullptr;
        EXPECT_EQ(marksSeen, empties > 8 ? 2 * n : n) << empties;
    }
}

TEST(SolveSmall, TriesMovesInSquareOrderCornersFirst) {
    // Two moves for black of equal value: the one earlier in square order
    // is kept. a1 (corner) comes before everything.
    std::mt19937 rng(66);
    EngineState es;
    int checked = 0;
    for (int tries = 0; tries < 400 && checked < 8; ++tries) {
        Position pos = RandomBlackPosition(rng, 6);
        const int e = Prepare(es, pos);
        const auto moves = LegalSquares(pos, Black);
        if (moves.size() < 2) continue;
        std::map<Square, int> truth;
        int best = -100;
        for (Square sq : moves) {
            FlipRecord f;
            PlayMove(pos, sq, Black, f);
            truth[sq] = ReferenceSolve(pos, White);
            UndoMove(pos, sq, Black, f);
            best = std::max(best, truth[sq]);
        }
        Square expected = 0;
        for (const Square* s = es.emptyList; *s && !expected; ++s)
            if (truth.count(*s) && truth[*s] == best) expected = *s;
        Line line;
        EXPECT_EQ(SolveSmallBlack(es, pos, e, false, -64, 64, line), best);
        EXPECT_EQ(line.squares[0], expected) << PositionText(pos);
        ++checked;
    }
    EXPECT_EQ(checked, 8);
}
