#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/board.h"
#include "core/position_text.h"
#include "view/disc_shapes.h"
#include "view/flip_sequence.h"

TEST(FlipTiming, PausesFollowTurnSpeedWithIntegerDivision) {
    const FlipTiming t250 = FlipTimingFor(250);
    EXPECT_EQ(t250.placePause, 250);
    EXPECT_EQ(t250.edgePause, 75);
    EXPECT_EQ(t250.afterPause, 100);
    const FlipTiming t110 = FlipTimingFor(110);
    EXPECT_EQ(t110.placePause, 110);
    EXPECT_EQ(t110.edgePause, 33);
    EXPECT_EQ(t110.afterPause, 44);
}

TEST(FlipOrder, DirectionsInOrderEachRunFromItsFarEnd) {
    // Black plays d4 (44), capturing c3 up-left, d3 and d2 up, c4 left, e5 down-right.
    Position pos;
    InitBoard(pos);
    for (Square sq : {44, 45, 54, 55}) pos.board[sq] = Empty;
    for (Square sq : {33, 34, 24, 43, 55}) pos.board[sq] = White;
    for (Square sq : {22, 14, 42, 66}) pos.board[sq] = Black;
    FlipRecord flips;
    ASSERT_EQ(PlayMove(pos, 44, Black, flips), 5);
    const FlipSequence seq = FlipOrder(44, flips);
    const std::vector<Square> got(seq.squares, seq.squares + seq.count);
    EXPECT_EQ(got, (std::vector<Square>{33, 24, 34, 43, 55}));
}

TEST(FlipOrder, TurnsExactlyTheCapturedDiscsOfRandomGames) {
    std::mt19937 rng(99);
    int moves = 0;
    for (int game = 0; game < 50; ++game) {
        Position pos;
        SetInitialPosition(pos);
        while (CountLegalMoves(pos, pos.sideToMove) >= 0) {
            const int colour = ColourOfSide(pos.sideToMove);
            std::vector<Square> legal;
            for (Square sq = 11; sq <= 88; ++sq)
                if (pos.board[sq] == Empty && CanPlay(pos, sq, colour)) legal.push_back(sq);
            if (!legal.empty()) {
                const Square sq = legal[rng() % legal.size()];
                const Position before = pos;
                FlipRecord flips;
                const int total = PlayMove(pos, sq, colour, flips);
                std::vector<Square> changed;
                for (Square s = 11; s <= 88; ++s)
                    if (s != sq && pos.board[s] != before.board[s]) changed.push_back(s);
                const FlipSequence seq = FlipOrder(sq, flips);
                std::vector<Square> turned(seq.squares, seq.squares + seq.count);
                ASSERT_EQ(seq.count, total);
                std::sort(turned.begin(), turned.end());
                ASSERT_EQ(turned, changed) << "move " << sq;
                ++moves;
            }
            pos.sideToMove ^= 1;
        }
    }
    EXPECT_GT(moves, 2500);
}

TEST(FlipOrder, DamagedCountsStayOnTheBoard) {
    FlipRecord flips{};
    flips.count[7] = 40;  // down-right from a1: at most six squares exist
    flips.count[0] = 3;   // up-left from a1: none exist
    flips.count[4] = -2;
    const FlipSequence seq = FlipOrder(11, flips);
    ASSERT_EQ(seq.count, 6);
    EXPECT_EQ(seq.squares[0], 77);
    EXPECT_EQ(seq.squares[5], 22);
}

TEST(FlipPictures, EdgeOnOldColourThenNewColour) {
    int cells[3] = {-1, -1, -1};
    ASSERT_TRUE(FlipPictures(Black, cells));
    EXPECT_EQ(cells[0], WhiteEdgeCell);
    EXPECT_EQ(cells[1], BlackEdgeCell);
    EXPECT_EQ(cells[2], BlackDiscCell);
    ASSERT_TRUE(FlipPictures(White, cells));
    EXPECT_EQ(cells[0], BlackEdgeCell);
    EXPECT_EQ(cells[1], WhiteEdgeCell);
    EXPECT_EQ(cells[2], WhiteDiscCell);
    EXPECT_FALSE(FlipPictures(Empty, cells));
    EXPECT_FALSE(FlipPictures(Border, cells));
}
