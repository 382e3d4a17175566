#include <gtest/gtest.h>

#include <cstring>

#include "core/board.h"
#include "core/perft.h"
#include "core/position_text.h"
#include "engine_test_support.h"

namespace {

int CountCells(const Position& pos, std::uint8_t value) {
    int n = 0;
    for (std::uint8_t c : pos.board) n += c == value;
    return n;
}

}  // namespace

TEST(InitBoard, FrameCentreAndOpeningMoves) {
    Position pos;
    std::memset(&pos, 0x5A, sizeof pos);
    InitBoard(pos);
    EXPECT_EQ(CountCells(pos, Border), 36);
    EXPECT_EQ(CountCells(pos, Empty), 60);
    EXPECT_EQ(pos.board[44], White);
    EXPECT_EQ(pos.board[45], Black);
    EXPECT_EQ(pos.board[54], Black);
    EXPECT_EQ(pos.board[55], White);
    EXPECT_EQ(pos.discDifference, 0);
    // The other three fields are left alone.
    EXPECT_EQ(pos.moveNumber, 0x5A5A5A5A);

    Square last = -7;
    EXPECT_EQ(CountLegalMoves(pos, 0, &last), 4);
    EXPECT_EQ(last, 65);
    for (Square sq : {34, 43, 56, 65}) EXPECT_TRUE(CanPlay(pos, sq, Black)) << sq;
    for (Square sq : {33, 35, 46, 64, 66}) EXPECT_FALSE(CanPlay(pos, sq, Black)) << sq;
}

TEST(Legality, EveryDirectionFlipsAndUndoRestores) {
    // d3 (34) empty, ringed by white discs (c2 d2 e2, c3 e3, c4 d4 e4), each
    // backed by a black disc one step further out (b1 d1 f1, b3 f3, b5 d5 f5).
    const std::vector<std::string> rows = {
        "-X-X-X--",
        "--OOO---",
        "-XO-OX--",
        "--OOO---",
        "-X-X-X--",
        "--------",
        "--------",
        "--------",
    };
    Position pos = PositionFromRows(rows);
    const Square sq = 34;
    ASSERT_EQ(pos.board[sq], Empty);
    ASSERT_TRUE(CanPlay(pos, sq, Black));
    EXPECT_FALSE(CanPlay(pos, sq, White));
    EXPECT_EQ(CountFlips(pos, sq, Black), 8);

    Position before = pos;
    FlipRecord flips;
    EXPECT_EQ(PlayMove(pos, sq, Black, flips), 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(flips.count[i], 1) << "direction " << i;
    EXPECT_EQ(pos.board[sq], Black);
    EXPECT_EQ(pos.discDifference, before.discDifference + 17);

    UndoMove(pos, sq, Black, flips);
    EXPECT_EQ(std::memcmp(pos.board, before.board, sizeof pos.board), 0);
    EXPECT_EQ(pos.discDifference, before.discDifference);
}

TEST(Legality, FlipRecordCountsEachDirectionSeparately) {
    const std::vector<std::string> rows = {
        "XOOOO---",  // a1 black, b1..e1 white: f1 captures four westward
        "-----O--",  // f2 white
        "-----X--",  // f3 black: f1 captures one southward
        "--------",
        "--------",
        "--------",
        "--------",
        "--------",
    };
    Position pos = PositionFromRows(rows);
    FlipRecord flips;
    const Position before = pos;
    ASSERT_EQ(PlayMoveBlack(pos, 16, flips), 5);
    const int expected[8] = {0, 0, 0, 4, 0, 0, 1, 0};  // -1 (west) and +10 (south)
    for (int i = 0; i < 8; ++i) EXPECT_EQ(flips.count[i], expected[i]) << "direction " << i;
    UndoMoveBlack(pos, 16, flips);
    EXPECT_EQ(std::memcmp(&pos, &before, sizeof pos), 0);
}

TEST(Legality, LinesEndingAtFrameOrEmptyFlipNothing) {
    const std::vector<std::string> rows = {
        "-OOOOOOO",  // a1 empty, b1..h1 white up to the frame
        "O-------",  // a2 white, a3 empty
        "--------",
        "-------O",
        "-------X",  // h5 black
        "--------",
        "--------",
        "--------",
    };
    Position pos = PositionFromRows(rows);
    EXPECT_FALSE(CanPlay(pos, 11, Black));  // white run eastward ends at the frame
    EXPECT_EQ(CountFlips(pos, 11, Black), 0);
    // h3 captures h4 southward (ending at h5) but nothing else.
    EXPECT_EQ(CountFlips(pos, 38, Black), 1);
    // Adjacent own disc with nothing in between is no capture.
    pos.board[37] = Black;
    EXPECT_EQ(CountFlips(pos, 36, Black), 0);

    const Position before = pos;
    FlipRecord flips;
    EXPECT_EQ(PlayMove(pos, 11, Black, flips), 0);
    EXPECT_EQ(std::memcmp(&pos, &before, sizeof pos), 0);
}

TEST(Legality, WhiteMirrorsBlack) {
    Position pos;
    SetInitialPosition(pos);
    FlipRecord flips;
    ASSERT_EQ(PlayMove(pos, 56, Black, flips), 1);  // f5
    EXPECT_EQ(pos.discDifference, 3);
    const Position afterBlack = pos;
    ASSERT_EQ(PlayMoveWhite(pos, 64, flips), 1);  // d6
    EXPECT_EQ(pos.discDifference, 0);
    UndoMoveWhite(pos, 64, flips);
    EXPECT_EQ(std::memcmp(&pos, &afterBlack, sizeof pos), 0);
}

TEST(SwapColours, TwiceRestoresAndKeepsSideToMove) {
    Position pos = PositionFrom("XXO-----OOX------------------X-----------------------------O--OX O");
    const Position before = pos;
    SwapColours(pos);
    EXPECT_EQ(pos.board[11], White);
    EXPECT_EQ(pos.board[13], Black);
    EXPECT_EQ(pos.discDifference, -before.discDifference);
    EXPECT_EQ(pos.sideToMove, 1);
    SwapColours(pos);
    EXPECT_EQ(std::memcmp(&pos, &before, sizeof pos), 0);
}

TEST(CountLegalMoves, PassAndGameOver) {
    // Black has no move but white has: 0, and last stays 0.
    Position pos = PositionFrom("OX-------------------------------------------------------------- X");
    Square last = 99;
    EXPECT_EQ(CountLegalMoves(pos, 0, &last), 0);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(CountLegalMoves(pos, 1), 1);
    // Only one colour on the board: nobody can move.
    pos = PositionFrom("XXX------------------------------------------------------------- X");
    EXPECT_EQ(CountLegalMoves(pos, 0), -1);
    // Full board.
    pos = PositionFrom(std::string(64, 'O').append(" O"));
    EXPECT_EQ(CountLegalMoves(pos, 1), -1);
    EXPECT_EQ(pos.legalMoveCount, -1);
}

TEST(RecountPosition, DerivesCountsAndFields) {
    Position pos;
    SetInitialPosition(pos);
    FlipRecord flips;
    PlayMove(pos, 56, Black, flips);
    pos.moveNumber = 77;
    pos.discDifference = 99;
    pos.sideToMove = 1;
    int black = 0, white = 0;
    RecountPosition(pos, black, white);
    EXPECT_EQ(black, 4);
    EXPECT_EQ(white, 1);
    EXPECT_EQ(pos.moveNumber, 1);
    EXPECT_EQ(pos.discDifference, 3);
    EXPECT_EQ(pos.legalMoveCount, 3);
}

TEST(SquareFromPoint, SquaresGridLinesAndFrame) {
    const int u = 10;  // squares are 40 px; the board starts at (40, 68)
    EXPECT_EQ(SquareFromPoint(41, 69, u), 11);
    EXPECT_EQ(SquareFromPoint(359, 387, u), 88);
    EXPECT_EQ(SquareFromPoint(40 + 4 * 40 + 20, 68 + 3 * 40 + 20, u), 45);
    // On the frame edges and on grid lines nothing is selected.
    EXPECT_EQ(SquareFromPoint(40, 100, u), 0);
    EXPECT_EQ(SquareFromPoint(360, 100, u), 0);
    EXPECT_EQ(SquareFromPoint(100, 68, u), 0);
    EXPECT_EQ(SquareFromPoint(100, 388, u), 0);
    EXPECT_EQ(SquareFromPoint(80, 100, u), 0);
    EXPECT_EQ(SquareFromPoint(100, 108, u), 0);
    EXPECT_EQ(SquareFromPoint(5, 5, u), 0);
    EXPECT_EQ(SquareFromPoint(9, 9 + 28 + 1, 2), 11);  // small display unit
}

TEST(Perft, KnownCountsFromTheStart) {
    Position pos;
    SetInitialPosition(pos);
    const Position before = pos;
    const std::uint64_t expected[] = {4, 12, 56, 244, 1396, 8200, 55092};
    for (int d = 1; d <= 7; ++d) EXPECT_EQ(Perft(pos, d), expected[d - 1]) << "depth " << d;
    EXPECT_EQ(std::memcmp(&pos, &before, sizeof pos), 0);
}

TEST(Perft, PassIsAMoveAndFinishedGameEndsSequences) {
    // Black must pass; white then has one move after which nobody can move.
    Position pos = PositionFrom("OX-------------------------------------------------------------- X");
    EXPECT_EQ(Perft(pos, 1), 1u);  // the pass
    EXPECT_EQ(Perft(pos, 2), 1u);  // pass, c1
    EXPECT_EQ(Perft(pos, 3), 0u);  // the game is over after c1
}

TEST(PositionText, RoundTripAndRejects) {
    Position pos;
    SetInitialPosition(pos);
    const std::string text = PositionText(pos);
    EXPECT_EQ(text, "---------------------------OX------XO--------------------------- X");
    Position back;
    ASSERT_TRUE(ParsePositionText(text, back));
    EXPECT_EQ(std::memcmp(back.board, pos.board, sizeof pos.board), 0);
    EXPECT_EQ(back.legalMoveCount, 4);
    EXPECT_FALSE(ParsePositionText("XO", back));
    EXPECT_FALSE(ParsePositionText(std::string(64, 'Z') + " X", back));
    EXPECT_FALSE(ParsePositionText(std::string(64, '-') + " Q", back));
}
