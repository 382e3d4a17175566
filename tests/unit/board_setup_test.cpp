#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/board_setup_steps.h"
#include "record/record_file.h"
#include "res/resource.h"

namespace {

// A session three plies into a game, the cursor one ply back, as a user
// leaves it after stepping back: both sides have a last move and a clock.
GameSession SessionInAGame() {
    GameSession s{};
    NewGame(s);
    const Square plies[] = {56, 64, 53};
    int clock = 0;
    for (Square sq : plies) {
        FlipRecord flips;
        EXPECT_GT(PlayMove(s.position, sq, ColourOfSide(s.position.sideToMove), flips), 0);
        clock += 7;
        EXPECT_TRUE(AppendPly(s.record, sq, flips, clock));
        s.position.sideToMove ^= 1;
        RecountSession(s);
    }
    LastMoves last;
    EXPECT_TRUE(NavigateHistory(s.position, s.record, HistoryStep::Back, last));
    ReloadSessionLastMoves(s);
    RecountSession(s);
    return s;
}

bool SamePosition(const Position& a, const Position& b) {
    return std::memcmp(a.board, b.board, sizeof(Board)) == 0 && a.moveNumber == b.moveNumber &&
           a.sideToMove == b.sideToMove && a.legalMoveCount == b.legalMoveCount &&
           a.discDifference == b.discDifference;
}

// The counters a set-up position must carry: those a full recount gives.
void ExpectCountersOfTheBoard(const GameSession& s) {
    Position recount = s.position;
    int black = 0, white = 0;
    RecountPosition(recount, black, white);
    EXPECT_EQ(s.side[0].discs, black);
    EXPECT_EQ(s.side[1].discs, white);
    EXPECT_TRUE(SamePosition(s.position, recount));
}

}  // namespace

TEST(BoardSetup, ClicksCycleTheBrushAndKeepTheCounters) {
    struct Case {
        std::uint8_t before;  // on the square
        SetupBrush brush;
        std::uint8_t after;
        SetupBrush brushAfter;
        unsigned message;
    };
    const Case cases[] = {
        {Empty, Black, Black, Black, IDS_SETUP_PLACE_BLACK},
        {Black, Black, White, White, IDS_SETUP_PLACE_WHITE},
        {White, White, Empty, Empty, IDS_SETUP_REMOVE_DISC},
        {Empty, Empty, Black, Black, IDS_SETUP_PLACE_BLACK},
        {White, Black, Black, Black, IDS_SETUP_PLACE_BLACK},
        {Black, White, White, White, IDS_SETUP_PLACE_WHITE},
        {Black, Empty, Empty, Empty, IDS_SETUP_REMOVE_DISC},
    };
    for (const Case& c : cases) {
        GameSession s = SessionInAGame();
        BeginSetupSession(s);
        const Square sq = 11;
        if (c.before != Empty) {
            SetupBrush placing = c.before;
            s.position.board[sq] = Empty;
            RecountSession(s);
            ApplySetupClick(s, placing, sq);
        }
        SetupBrush brush = c.brush;
        const bool changed = ApplySetupClick(s, brush, sq);
        EXPECT_EQ(s.position.board[sq], c.after) << int(c.before) << " " << int(c.brush);
        EXPECT_EQ(brush, c.brushAfter);
        EXPECT_EQ(changed, c.brush != c.brushAfter);
        EXPECT_EQ(SetupBrushMessage(brush), c.message);
        ExpectCountersOfTheBoard(s);
    }
    // Off the squares nothing changes; an emptied board has move number -4
    // and no move for either side.
    GameSession s = SessionInAGame();
    SetupBrush brush = Black;
    EXPECT_FALSE(ApplySetupClick(s, brush, 10));
    EXPECT_EQ(s.position.board[10], Border);
    RemoveAllSetupDiscs(s);
    EXPECT_EQ(s.position.moveNumber, -4);
    EXPECT_EQ(s.position.legalMoveCount, -1);
}

TEST(BoardSetup, CancelBringsBackTheGameWithItsNavigableHistory) {
    GameSession s = SessionInAGame();
    const GameSession before = s;
    BeginSetupSession(s);
    EXPECT_EQ(s.mode, AppMode::BoardSetup);
    for (const SideInfo& side : s.side) {
        EXPECT_EQ(side.move, NoMoveYet) << "no last moves while setting up";
        EXPECT_EQ(side.clock, 0);
    }
    EXPECT_EQ(HistoryIndex(s.record), HistoryIndex(before.record));
    SetupBrush brush = Black;
    ApplySetupClick(s, brush, 88);
    RemoveAllSetupDiscs(s);
    s.position.sideToMove ^= 1;

    CancelSetupSession(s);
    EXPECT_EQ(s.mode, AppMode::Idle);
    EXPECT_TRUE(SamePosition(s.position, before.position));
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(s.side[side].move, before.side[side].move);
        EXPECT_EQ(s.side[side].clock, before.side[side].clock);
        EXPECT_EQ(s.side[side].discs, before.side[side].discs);
    }
    EXPECT_EQ(HistoryState(s.record), CanStepBack | CanStepForward);
    LastMoves last;
    ASSERT_TRUE(NavigateHistory(s.position, s.record, HistoryStep::ToEnd, last));
    EXPECT_EQ(s.position.board[53], Black) << "the third ply is replayed";
    ASSERT_TRUE(NavigateHistory(s.position, s.record, HistoryStep::ToStart, last));
    GameSession fresh{};
    NewGame(fresh);
    EXPECT_TRUE(SamePosition(s.position, fresh.position));
}

TEST(BoardSetup, AGameFromAnAcceptedSetUpRecordsItsStart) {
    GameSession s = SessionInAGame();
    BeginSetupSession(s);
    RemoveAllSetupDiscs(s);
    SetupBrush brush = Black;
    ApplySetupClick(s, brush, 33);  // c3 Black
    ApplySetupClick(s, brush, 44);  // d4 Black, then White
    ApplySetupClick(s, brush, 44);
    const Position set = s.position;
    AcceptSetupSession(s);
    EXPECT_EQ(HistoryState(s.record), 0);
    FlipRecord flips;
    ASSERT_GT(PlayMove(s.position, 55, Black, flips), 0);  // e5 takes d4
    ASSERT_TRUE(AppendPly(s.record, 55, flips, 2));
    s.position.sideToMove = 1;
    RecountSession(s);

    const std::int32_t kinds[2] = {PersonPlayer, PersonPlayer};
    const std::string text = ComposeRecordText(s.position, s.record, kinds, {2026, 12, 7, 18, 0, 0});
    std::string board(64, '0');
    board[2 * 8 + 2] = '1';
    board[3 * 8 + 3] = '2';
    EXPECT_NE(text.find("Board=" + board + "\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Turn=Black\r\n"), std::string::npos) << text;
    RecordGame read = {};
    ASSERT_TRUE(ReadRecordText(text, read));
    Position start;
    GameStart(read.position, read.record, start);
    EXPECT_EQ(0, std::memcmp(start.board, set.board, sizeof(Board)));
    EXPECT_EQ(read.position.board[44], Black) << "the ply is read back onto the set-up start";
}
