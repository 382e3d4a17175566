#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <vector>

#include "engine/evaluation.h"
#include "engine/midgame.h"
#include "engine_test_support.h"

namespace {

// es ready for a search of pos with weight set `set`.
void Prepare(EngineState& es, const Position& pos, int set = 0) {
    SelectWeights(es, set);
    BuildEmptyList(es, pos);
}

std::vector<Square> LineOf(const Square* line) {
    std::vector<Square> v;
    for (; *line != 0; ++line) v.push_back(*line);
    return v;
}

int ResultCount(const ResultList& r) {
    int n = 0;
    while (r.entries[n].line) ++n;
    return n;
}

}  // namespace

TEST(TerminalScore, WinsAndLossesLieBeyondEveryEvaluation) {
    Position pos;
    SetInitialPosition(pos);
    pos.discDifference = 16;
    EXPECT_EQ(TerminalScore(pos), 951);
    pos.discDifference = -16;
    EXPECT_EQ(TerminalScore(pos), -951);
    pos.discDifference = 0;
    EXPECT_EQ(TerminalScore(pos), 0);
}

TEST(EmptyList, FollowsSquareOrderCornersFirst) {
    Position pos;
    SetInitialPosition(pos);
    EngineState es;
    EXPECT_EQ(BuildEmptyList(es, pos), 60);
    EXPECT_EQ(es.emptyList[0], 11);
    EXPECT_EQ(es.emptyList[3], 88);
    EXPECT_EQ(es.emptyList[4], 43);  // the centre four are occupied
    EXPECT_EQ(es.emptyList[60], 0);
    MoveList list;
    EXPECT_EQ(GenerateMoves(es, pos, Black, list), 4);
    EXPECT_EQ(list.moves[0].square, 43);
    EXPECT_EQ(list.moves[1].square, 34);
    EXPECT_EQ(list.moves[2].square, 65);
    EXPECT_EQ(list.moves[3].square, 56);
    EXPECT_EQ(list.moves[4].square, 0);
}

TEST(SortMoves, HighestFirstAndEqualValuesKeepTheirOrder) {
    MoveList list = {{{11, 5}, {12, 7}, {13, 5}, {14, 9}, {15, 7}, {0, 0}}};
    SortMoves(list, 5);
    const Square expected[] = {14, 12, 15, 11, 13};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(list.moves[i].square, expected[i]);
}

TEST(OrderMoves, ValuesAreTheMoversOwnAndSortedBestFirstForEitherColour) {
    std::mt19937 rng(17);
    EngineState es;
    for (int game = 0; game < 10; ++game) {
        Position pos = RandomPosition(rng, 30 + game);
        Prepare(es, pos, 1);
        for (int colour : {Black, White}) {
            MoveList list;
            const int n = GenerateMoves(es, pos, colour, list);
            MoveList generated = list;
            OrderMoves(es, pos, colour, 2, -999, 999, list, false);
            for (int i = 0; i < n; ++i) {
                // The mover's value: the opponent's reply searched at depth 1,
                // negated for white.
                FlipRecord f;
                PlayMove(pos, list.moves[i].square, colour, f);
                const int child = ReferenceMidgame(es, pos, Opponent(colour), 1, false);
                UndoMove(pos, list.moves[i].square, colour, f);
                EXPECT_EQ(list.moves[i].value, colour == Black ? child : -child);
                if (i > 0) {
                    EXPECT_GE(list.moves[i - 1].value, list.moves[i].value);
                }
                // Equal values keep their generated order.
                if (i > 0 && list.moves[i - 1].value == list.moves[i].value) {
                    int a = 0, b = 0;
                    while (generated.moves[a].square != list.moves[i - 1].square) ++a;
                    while (generated.moves[b].square != list.moves[i].square) ++b;
                    EXPECT_LT(a, b);
                }
            }
        }
    }
}

TEST(SearchBlackWhite, AgreeWithPlainMinimaxOnRandomPositions) {
    std::mt19937 rng(11);
    EngineState es;
    for (int game = 0; game < 40; ++game) {
        Position pos = RandomPosition(rng, 6 + static_cast<int>(rng() % 50));
        const Position before = pos;
        Prepare(es, pos, game % 3);
        const int colour = ColourOfSide(pos.sideToMove);
        for (int depth = 1; depth <= (game % 8 == 0 ? 5 : 4); ++depth) {
            const int expected = ReferenceMidgame(es, pos, colour, depth, false);
            Line line;
            const int got = colour == Black ? SearchBlack(es, pos, depth, false, -999, 999, line)
                                            : SearchWhite(es, pos, depth, false, -999, 999, line);
            ASSERT_EQ(Clamp(got, -999, 999), Clamp(expected, -999, 999)) << PositionText(pos) << " d" << depth;
            ASSERT_TRUE(SamePosition(pos, before));
            // A narrow window is fail-hard: the bound on the side of the truth.
            const int lo = expected - 3, hi = expected + 2;
            const int narrow = colour == Black ? SearchBlack(es, pos, depth, false, lo + 5, hi + 5, line)
                                               : SearchWhite(es, pos, depth, false, lo - 5, hi - 5, line);
            if (colour == Black) {
                EXPECT_LE(narrow, lo + 5);
            } else {
                EXPECT_GE(narrow, hi - 5);
            }
        }
    }
}

TEST(SearchBlackWhite, PassUsesNoDepthAndLeavesNoLineEntry) {
    // Black (to move) has no move; white has: black's value is white's search
    // at the same depth and the line starts with white's move.
    const Position start = PositionFromRows({"OOOOOOOO", "OOOOOOOO", "OOOOOOOO", "OOOOOOOO", "OOOOOOOO",
                                             "OOOOOOOO", "OOOOOOOO", "-XOOOOOO"});
    Position pos = start;
    EngineState es;
    Prepare(es, pos);
    ASSERT_EQ(LegalSquares(pos, Black).size(), 0u);
    ASSERT_GT(LegalSquares(pos, White).size(), 0u);
    for (int depth = 1; depth <= 3; ++depth) {
        Line viaPass, direct;
        const int v = SearchBlack(es, pos, depth, false, -999, 999, viaPass);
        const int w = SearchWhite(es, pos, depth, true, -999, 999, direct);
        EXPECT_EQ(v, w) << depth;
        EXPECT_EQ(LineOf(viaPass.squares), LineOf(direct.squares));
        ASSERT_NE(viaPass.squares[0], 0);
        EXPECT_EQ(pos.board[viaPass.squares[0]], Empty);
        EXPECT_TRUE(CanPlay(pos, viaPass.squares[0], White));
    }
    EXPECT_TRUE(SamePosition(pos, start));
}

TEST(SearchBlackWhite, GameEndScoresDiscsAloneAndDepthZeroDoesNotLookForIt) {
    // 33 black, 29 white; every line from the two empty corners holds black
    // discs only, so nobody can fill them and the game is over.
    const Position over = PositionFromRows({"-XXXXXXX", "XXOOOOOX", "XOXOOOOX", "XOXXOOOX", "XOOOXOOX",
                                            "XOOOOXOX", "XOOOOOXX", "XXXXXXX-"});
    Position pos = over;
    ASSERT_EQ(pos.legalMoveCount, -1);
    EngineState es;
    Prepare(es, pos);
    Line line;
    const int d = pos.discDifference;
    ASSERT_EQ(d, 4);
    EXPECT_EQ(SearchBlack(es, pos, 3, false, -999, 999, line), 939);
    EXPECT_EQ(line.squares[0], 0);
    EXPECT_EQ(SearchBlack(es, pos, 0, false, -999, 999, line), Evaluate(es, pos, 0));
}

TEST(SearchRoot, EqualValuesKeepListOrderAndShallowDepthsTryCornersFirst) {
    Position pos;
    SetInitialPosition(pos);
    EngineState es;
    Prepare(es, pos);
    ResultList results;
    LineBuffer lines;
    SearchRoot(es, pos, 1, -999, 999, 1, results, lines, false, {0, 0});
    EXPECT_EQ(results.entries[0].line[0], 43);  // four equal moves: c4 is first in square order
    SearchRoot(es, pos, 3, -999, 999, 4, results, lines, false, {0, 0});
    ASSERT_EQ(ResultCount(results), 4);
    const Square expected[] = {43, 34, 65, 56};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(results.entries[i].line[0], expected[i]);
        EXPECT_EQ(results.entries[i].value, results.entries[0].value);
        // Slot i of the buffer starts at i * (depth + 1).
        EXPECT_EQ(results.entries[i].line, lines.squares + i * 4);
    }
}

TEST(SearchRoot, AllSlotsReportEveryMoveWithItsValueAndNarrowWindowsClamp) {
    std::mt19937 rng(5);
    EngineState es;
    for (int game = 0; game < 25; ++game) {
        Position pos = RandomPosition(rng, 20 + static_cast<int>(rng() % 36));
        if (pos.sideToMove == 1) SwapColours(pos);
        const auto moves = LegalSquares(pos, Black);
        if (moves.size() < 2) continue;
        Prepare(es, pos, game % 3);
        const int depth = 1 + game % 4;
        std::map<Square, int> truth;
        for (Square sq : moves) {
            FlipRecord f;
            PlayMove(pos, sq, Black, f);
            truth[sq] = ReferenceMidgame(es, pos, White, depth - 1, false);
            UndoMove(pos, sq, Black, f);
        }
        ResultList results;
        LineBuffer lines;
        const int n = static_cast<int>(moves.size());
        SearchRoot(es, pos, depth, -999, 999, n, results, lines, false, {0, 0});
        ASSERT_EQ(ResultCount(results), n);
        for (int i = 0; i < n; ++i) {
            const ResultEntry& e = results.entries[i];
            EXPECT_EQ(e.value, Clamp(truth[e.line[0]], -999, 999));
            if (i > 0) {
                EXPECT_GE(results.entries[i - 1].value, e.value);
            }
            EXPECT_EQ(static_cast<int>(LineOf(e.line).size()) <= depth, true);
        }
        // A window around the median: values outside show the bound.
        std::vector<int> values;
        for (auto& [sq, v] : truth) values.push_back(v);
        std::sort(values.begin(), values.end());
        const int lo = values[values.size() / 2] - 1, hi = lo + 2;
        SearchRoot(es, pos, depth, lo, hi, n, results, lines, false, {0, 0});
        ASSERT_EQ(ResultCount(results), n);
        for (int i = 0; i < n; ++i) {
            const ResultEntry& e = results.entries[i];
            EXPECT_EQ(e.value, Clamp(truth[e.line[0]], lo, hi)) << PositionText(pos);
        }
        // One slot: the best value, and the first move of that value in the
        // ordered list (the same move the full listing puts first).
        SearchRoot(es, pos, depth, -999, 999, n, results, lines, false, {0, 0});
        const Square firstBest = results.entries[0].line[0];
        SearchRoot(es, pos, depth, -999, 999, 1, results, lines, false, {0, 0});
        EXPECT_EQ(results.entries[0].value, Clamp(values.back(), -999, 999));
        EXPECT_EQ(results.entries[0].line[0], firstBest);
        EXPECT_EQ(results.entries[1].line, nullptr);
    }
}

TEST(SearchRoot, DepthBelowOneSearchesDepthOne) {
    // A depth of 0 would never reach a leaf and search to the game's end.
    Position pos;
    SetInitialPosition(pos);
    EngineState es;
    Prepare(es, pos);
    ResultList zero, one;
    LineBuffer a, b;
    SearchRoot(es, pos, 0, -999, 999, 4, zero, a, false, {0, 0});
    SearchRoot(es, pos, 1, -999, 999, 4, one, b, false, {0, 0});
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(zero.entries[i].value, one.entries[i].value);
        EXPECT_EQ(zero.entries[i].line[0], one.entries[i].line[0]);
    }
}

TEST(SearchRoot, NoMoveGivesAnEmptyList) {
    const Position start = PositionFromRows({"OOOOOOOO", "OOOOOOOO", "OOOOOOOO", "OOOOOOOO", "OOOOOOOO",
                                             "OOOOOOOO", "OOOOOOOO", "-XOOOOOO"});
    Position pos = start;
    EngineState es;
    Prepare(es, pos);
    ResultList results;
    LineBuffer lines;
    results.entries[0] = {lines.squares, 5};
    SearchRoot(es, pos, 4, -999, 999, 1, results, lines, false, {0, 0});
    EXPECT_EQ(results.entries[0].line, nullptr);
}

namespace {

struct DisplayLog {
    std::vector<Square> marks;
    std::vector<std::int64_t> clearTimes;
    std::vector<std::pair<std::vector<Square>, int>> bestLines;
};

void LogMark(void* ctx, Square sq) {
    auto* log = static_cast<DisplayLog*>(ctx);
    log->marks.push_back(sq);
    if (sq == 0) log->clearTimes.push_back(NowMilliseconds());
}

void LogBestLine(void* ctx, const Square* line, int value) {
    auto* log = static_cast<DisplayLog*>(ctx);
    std::vector<Square> v;
    for (; *line; ++line) v.push_back(*line);
    log->bestLines.emplace_back(v, value);
}

}  // namespace

TEST(SearchRoot, ThinkingDisplayWalksTheOrderingPassAndTheRootMoves) {
    Position pos;
    SetInitialPosition(pos);
    FlipRecord f;
    PlayMove(pos, 56, Black, f);
    PlayMove(pos, 64, White, f);
    int b, w;
    pos.sideToMove = 0;
    RecountPosition(pos, b, w);
    EngineState es;
    Prepare(es, pos);
    DisplayLog log;
    const ThinkingDisplay hook = {&log, LogMark, LogBestLine};
    es.display = &hook;
    ResultList results;
    LineBuffer lines;
    const int n = pos.legalMoveCount;
    SearchRoot(es, pos, 4, -999, 999, 1, results, lines, true, {0, 0});
    // Ordering pass (depth 2) and root loop: each move marked, then cleared.
    ASSERT_EQ(static_cast<int>(log.marks.size()), 4 * n);
    for (int i = 0; i < 2 * n; ++i) EXPECT_EQ(log.marks[2 * i + 1], 0);
    ASSERT_FALSE(log.bestLines.empty());
    EXPECT_EQ(log.bestLines.back().first, LineOf(results.entries[0].line));
    EXPECT_EQ(log.bestLines.back().second, results.entries[0].value);
    // Without display nothing is shown.
    log = {};
    SearchRoot(es, pos, 4, -999, 999, 1, results, lines, false, {0, 0});
    EXPECT_TRUE(log.marks.empty());
}

TEST(SearchRoot, PacingSpreadsTheMinimumTimeOverTheRootMoves) {
    Position pos;
    SetInitialPosition(pos);
    EngineState es;
    Prepare(es, pos);
    DisplayLog log;
    const ThinkingDisplay hook = {&log, LogMark, LogBestLine};
    es.display = &hook;
    ResultList results;
    LineBuffer lines;
    const std::int64_t start = NowMilliseconds();
    SearchRoot(es, pos, 2, -999, 999, 4, results, lines, true, {start, 400});
    ASSERT_EQ(log.clearTimes.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_GE(log.clearTimes[i] - start, 100 * (i + 1)) << i;
    EXPECT_LT(log.clearTimes[3] - start, 2000);
}
