#include <gtest/gtest.h>

#include <cstring>

#include "engine/evaluation.h"
#include "engine/random.h"
#include "engine_test_support.h"

namespace {

// Only weight i in force, with the given value.
void OnlyWeight(EngineState& es, int i, int value) {
    std::memset(es.evalWeights, 0, sizeof es.evalWeights);
    es.evalWeights[i] = value;
}

int CaptureDirections(const Position& pos, Square sq, int colour) {
    int n = 0;
    for (int i = 0; i < 8; ++i) {
        const int d = Directions[i];
        Square q = sq + d;
        int run = 0;
        while (pos.board[q] == Opponent(colour)) { q += d; ++run; }
        n += run > 0 && pos.board[q] == colour;
    }
    return n;
}

}  // namespace

TEST(Evaluate, InitialPositionIsZeroWithEverySetAndSide) {
    EngineState es;
    Position pos;
    SetInitialPosition(pos);
    for (int set = 0; set < 3; ++set)
        for (int side = 0; side < 2; ++side) {
            SelectWeights(es, set);
            EXPECT_EQ(Evaluate(es, pos, side), 0) << set << side;
        }
}

TEST(Evaluate, AfterF5MatchesTheHandCount) {
    EngineState es;
    Position pos;
    SetInitialPosition(pos);
    FlipRecord f;
    PlayMove(pos, 56, Black, f);
    const Position before = pos;
    SelectWeights(es, 0);
    EXPECT_EQ(Evaluate(es, pos, 1), -8);  // raw -34
    EXPECT_EQ(es.discFlags[56], LoneEnd | SemiExposed);
    EXPECT_EQ(es.discFlags[44] & (OpenEnd | Exposed), OpenEnd | Exposed);  // scores w1 + w3
    SelectWeights(es, 1);
    EXPECT_EQ(Evaluate(es, pos, 1), -20);  // raw -80
    SelectWeights(es, 2);
    EXPECT_EQ(Evaluate(es, pos, 1), -20);
    EXPECT_TRUE(SamePosition(pos, before));
}

TEST(Evaluate, RoundsTheRawSumDownAfterAddingTwo) {
    // A lone black disc on a1: an occupied corner and nothing else counts.
    const Position pos = PositionFrom(std::string("X") + std::string(63, '-') + " X");
    EngineState es;
    const int expected[][2] = {{1, 0}, {2, 1}, {-3, -1}, {-2, 0}, {-6, -1}, {5, 1}, {6, 2}};
    for (const auto& [raw, result] : expected) {
        OnlyWeight(es, 6, raw);
        EXPECT_EQ(Evaluate(es, pos, 0), result) << raw;
    }
}

TEST(LineScan, FullLinesAndFrameBoundBlocksGetNoFlags) {
    // Row 1 full and mixed; row 3 a white block touching the frame on the left.
    const Position pos = PositionFromRows({"XXOOXOXO", "--------", "OOO-----", "--------", "--------",
                                           "--------", "--------", "--------"});
    EngineState es;
    LineScan(es, pos, 11, 1);
    LineScan(es, pos, 31, 1);
    for (Square sq = 11; sq <= 38; ++sq) EXPECT_EQ(es.discFlags[sq], 0) << sq;
    for (Square sq = 11; sq <= 38; ++sq) EXPECT_EQ(es.blackCaptures[sq] + es.whiteCaptures[sq], 0) << sq;
    // Row 1 alone on the board: every disc touches the frame along each of its
    // lines, so each scores w5 only (five black, three white).
    const Position row = PositionFromRows({"XXOOXOXX", "--------", "--------", "--------", "--------",
                                           "--------", "--------", "--------"});
    OnlyWeight(es, 5, 4);
    EXPECT_EQ(Evaluate(es, row, 0), 2);
}

TEST(LineScan, MixedBlockMarksOpenEndsExposedRunsAndDeeperRuns) {
    // Row 4: - - X O O X - -  : a block of three runs with two empties each side.
    const Position pos = PositionFromRows({"--------", "--------", "--------", "--XOOX--", "--------",
                                           "--------", "--------", "--------"});
    EngineState es;
    LineScan(es, pos, 41, 1);
    EXPECT_EQ(es.discFlags[43], OpenEnd | Exposed);
    EXPECT_EQ(es.discFlags[44], SemiExposed);  // k = min(2, 2) = 2: one deeper run
    EXPECT_EQ(es.discFlags[45], SemiExposed);
    EXPECT_EQ(es.discFlags[46], OpenEnd | Exposed);
    EXPECT_EQ(es.whiteCaptures[42], 1);  // white captures the black end run from c4's neighbour
    EXPECT_EQ(es.whiteCaptures[47], 1);
    EXPECT_EQ(es.blackCaptures[42] + es.blackCaptures[47], 0);

    // With one empty beyond, k = 1: the deeper run is not reached.
    const Position tight = PositionFromRows({"--------", "--------", "--------", "-XOOX---", "--------",
                                             "--------", "--------", "--------"});
    EngineState es2;
    LineScan(es2, tight, 41, 1);
    EXPECT_EQ(es2.discFlags[42], OpenEnd | Exposed);
    EXPECT_EQ(es2.discFlags[43], SemiExposed);  // reached from the right end (3 empties)
    EXPECT_EQ(es2.discFlags[44], SemiExposed);
    EXPECT_EQ(es2.discFlags[45], OpenEnd | Exposed);
}

TEST(LineScan, CaptureCountsAgreeWithTheRulesOnRandomPositions) {
    std::mt19937 rng(7);
    EngineState es;
    SelectWeights(es, 0);
    for (int game = 0; game < 300; ++game) {
        const Position pos = RandomPosition(rng, static_cast<int>(rng() % 58) + 1);
        Evaluate(es, pos, 0);
        for (Square sq = 11; sq <= 88; ++sq) {
            if (pos.board[sq] != Empty) {
                EXPECT_EQ(es.blackCaptures[sq] + es.whiteCaptures[sq], 0);
                continue;
            }
            ASSERT_EQ(es.blackCaptures[sq], CaptureDirections(pos, sq, Black)) << PositionText(pos) << " " << sq;
            ASSERT_EQ(es.whiteCaptures[sq], CaptureDirections(pos, sq, White)) << PositionText(pos) << " " << sq;
        }
    }
}

TEST(CornerTerms, OneWhiteCaptureCostsBlackOnlyWithAnXDiscOrAnEdgeThreat) {
    EngineState es;
    OnlyWeight(es, 7, 40);
    // b1 black, c1 white: white takes a1 along the edge only.
    const Position plain = PositionFromRows({"-XO-----", "--------", "--------", "--------", "--------",
                                             "--------", "--------", "--------"});
    EXPECT_EQ(Evaluate(es, plain, 0), 0);
    EXPECT_EQ(es.whiteCaptures[11], 1);
    EXPECT_FALSE(EdgeThreatHolds(es, plain, 11, 1));
    // With white to move the same capture always costs black.
    EXPECT_EQ(Evaluate(es, plain, 1), -10);

    // A black disc on the X-square b2 (its diagonal is blocked, so still one capture).
    const Position xDisc = PositionFromRows({"-XO-----", "-X------", "--------", "--------", "--------",
                                             "--------", "--------", "--------"});
    EXPECT_EQ(Evaluate(es, xDisc, 0), -10);

    // White runs to the frame behind the exposed b1: the threat holds.
    const Position threat = PositionFromRows({"-XOOOOOO", "--------", "--------", "--------", "--------",
                                              "--------", "--------", "--------"});
    Evaluate(es, threat, 0);
    EXPECT_TRUE(EdgeThreatHolds(es, threat, 11, 1));
    EXPECT_FALSE(EdgeThreatHolds(es, threat, 11, 10));
    EXPECT_EQ(Evaluate(es, threat, 0), -10);
}

TEST(CornerTerms, OccupiedCornerScoresOnlyTheCornerWeight) {
    EngineState es;
    SelectWeights(es, 0);
    // Black a1 with an exposed white b2 and a lone white b1 pattern beside it.
    const Position pos = PositionFromRows({"XO------", "-O------", "--X-----", "--------", "--------",
                                           "--------", "--------", "--------"});
    for (int w : {8, 9, 10, 11}) {
        OnlyWeight(es, w, 400);
        EXPECT_EQ(Evaluate(es, pos, 0), 0) << w;
    }
    OnlyWeight(es, 6, 400);
    EXPECT_EQ(Evaluate(es, pos, 0), 100);
}

TEST(CornerPatterns, LoneCSquareAndEdgeRun) {
    // b1 white, c1 empty: a lone C-square; d1 black would protect it.
    const Position lone = PositionFromRows({"-O------", "--------", "--------", "--------", "--------",
                                            "--------", "--------", "--------"});
    EXPECT_EQ(LoneCSquare(lone, 11, 1), -1);
    EXPECT_EQ(LoneCSquare(lone, 11, 10), 0);
    const Position guarded = PositionFromRows({"-O-X----", "--------", "--------", "--------", "--------",
                                               "--------", "--------", "--------"});
    EXPECT_EQ(LoneCSquare(guarded, 11, 1), 0);

    // c1..g1 black with c2 black, b1 empty, h1 not black: an edge run for black.
    const Position run = PositionFromRows({"--XXXXX-", "--X-----", "--------", "--------", "--------",
                                           "--------", "--------", "--------"});
    EXPECT_EQ(EdgeRunPattern(run, 11, 1, 10), 1);
    const Position toCorner = PositionFromRows({"--XXXXXX", "--X-----", "--------", "--------", "--------",
                                                "--------", "--------", "--------"});
    EXPECT_EQ(EdgeRunPattern(toCorner, 11, 1, 10), 0);
    const Position shortRun = PositionFromRows({"--XXXX--", "--X-----", "--------", "--------", "--------",
                                                "--------", "--------", "--------"});
    EXPECT_EQ(EdgeRunPattern(shortRun, 11, 1, 10), 0);
}

TEST(SelectWeights, NegativeSetDrawsRowsFromTheGenerator) {
    EngineState es;
    SeedRandom(12345);
    int seen[3] = {};
    for (int i = 0; i < 60; ++i) {
        const int row = SelectWeights(es, -1);
        ASSERT_GE(row, 0);
        ASSERT_LE(row, 2);
        ++seen[row];
        EXPECT_EQ(std::memcmp(es.evalWeights, WeightSets[row], sizeof es.evalWeights), 0);
    }
    EXPECT_GT(seen[0] * seen[1] * seen[2], 0);
    SeedRandom(12345);
    EngineState again;
    SeedRandom(12345);
    const int first = SelectWeights(again, -1);
    SeedRandom(12345);
    EXPECT_EQ(SelectWeights(again, -1), first);
    EXPECT_EQ(SelectWeights(es, 2), 2);
    EXPECT_EQ(es.evalWeights[0], 29);
}
