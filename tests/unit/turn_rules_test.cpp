#include <gtest/gtest.h>

#include "core/board.h"
#include "core/position_text.h"
#include "view/layout.h"

#include "app/turn_rules.h"

namespace {

constexpr int U = 12;

Position Start() {
    Position pos;
    InitBoard(pos);
    pos.moveNumber = 0;
    pos.sideToMove = 0;
    pos.legalMoveCount = CountLegalMoves(pos, 0);
    return pos;
}



}  // namespace

TEST(AcceptClick, OnlyLegalEmptySquaresAreTakenWhileMovesExist) {
    const Position pos = Start();
    Square chosen = -7;
    const LayoutRect d3 = SquareRect(U, 34);
    EXPECT_TRUE(AcceptClick(pos, (d3.left + d3.right) / 2, (d3.top + d3.bottom) / 2, U, chosen));
    EXPECT_EQ(chosen, 34);

    chosen = -7;
    const LayoutRect d4 = SquareRect(U, 44);  // occupied
    EXPECT_FALSE(AcceptClick(pos, (d4.left + d4.right) / 2, (d4.top + d4.bottom) / 2, U, chosen));
    const LayoutRect a1 = SquareRect(U, 11);  // empty but no capture
    EXPECT_FALSE(AcceptClick(pos, (a1.left + a1.right) / 2, (a1.top + a1.bottom) / 2, U, chosen));
    EXPECT_FALSE(AcceptClick(pos, d3.left, (d3.top + d3.bottom) / 2, U, chosen));  // on the grid line
    EXPECT_FALSE(AcceptClick(pos, 2, 2, U, chosen));                              // off the board
    EXPECT_EQ(chosen, -7);
}

TEST(AcceptClick, AnyClickIsThePassWhenNoMoveExists) {
    Position pos;
    // White to move has nothing; Black still can: a pass is due.
    ASSERT_TRUE(ParsePositionText("XXXXXXXX" "XXXXXXXX" "XXXXXXXX" "XXXXXXXX"
                                  "XXXXXXXX" "XXXXXXXX" "XXXXXXXX" "-OXXXXXX O", pos));
    ASSERT_EQ(pos.legalMoveCount, 0);
    Square chosen = -7;
    EXPECT_TRUE(AcceptClick(pos, 1, 1, U, chosen));
    EXPECT_EQ(chosen, 0);
}

TEST(ChooseAutomaticMove, ForcedMoveAndPassButNotAChoice) {
    Square chosen = -7;
    EXPECT_FALSE(ChooseAutomaticMove(Start(), chosen));
    EXPECT_EQ(chosen, -7);

    Position pos;
    ASSERT_TRUE(ParsePositionText("XXXXXXXX" "XXXXXXXX" "XXXXXXXX" "XXXXXXXX"
                                  "XXXXXXXX" "XXXXXXXX" "XXXXXXXX" "-OXXXXXX O", pos));
    EXPECT_TRUE(ChooseAutomaticMove(pos, chosen));
    EXPECT_EQ(chosen, 0);

    pos.sideToMove = 0;
    pos.legalMoveCount = CountLegalMoves(pos, 0);
    ASSERT_EQ(pos.legalMoveCount, 1);
    EXPECT_TRUE(ChooseAutomaticMove(pos, chosen));
    EXPECT_EQ(chosen, 81);
}

TEST(IsLegalChoice, PassOnlyWhenDueAndSquaresOnlyWhenPlayable) {
    const Position pos = Start();
    EXPECT_TRUE(IsLegalChoice(pos, 34));
    EXPECT_FALSE(IsLegalChoice(pos, 0));    // a pass while moves exist
    EXPECT_FALSE(IsLegalChoice(pos, 44));   // occupied
    EXPECT_FALSE(IsLegalChoice(pos, 11));   // captures nothing
    EXPECT_FALSE(IsLegalChoice(pos, 10));   // the frame
    EXPECT_FALSE(IsLegalChoice(pos, 95));   // beyond the board

    Position over = pos;
    over.legalMoveCount = -1;
    EXPECT_FALSE(IsLegalChoice(over, 0));   // no pass once the game is over
}
