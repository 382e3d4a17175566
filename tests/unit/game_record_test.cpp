#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "core/board.h"
#include "core/position_text.h"
#include "record/game_record.h"

namespace {

bool SamePosition(const Position& a, const Position& b) {
    return std::memcmp(a.board, b.board, sizeof a.board) == 0 && a.moveNumber == b.moveNumber &&
           a.sideToMove == b.sideToMove && a.legalMoveCount == b.legalMoveCount &&
           a.discDifference == b.discDifference;
}

bool SameCursors(const GameRecord& a, const GameRecord& b) {
    return a.squareCursor == b.squareCursor && a.dataCursor == b.dataCursor &&
           a.currentIndex == b.currentIndex && a.endIndex == b.endIndex;
}

FlipRecord Flips(std::int32_t base) {
    FlipRecord f;
    for (int i = 0; i < 8; ++i) f.count[i] = base + i;
    return f;
}

// Plays one ply of the game the way the turn loop does: the move (or pass)
// on the board, the ply into the history, then the other side to move.
struct Game {
    Position pos;
    GameRecord rec;
    LastMoves last{};
    int clock[2] = {0, 0};
    std::vector<Position> positions;  // positions[i]: after i plies

    Game() {
        SetInitialPosition(pos);
        ResetHistory(rec);
        positions.push_back(pos);
    }

    void Play(Square sq, int seconds) {
        FlipRecord flips{};
        clock[pos.sideToMove] += seconds;
        if (sq > 0) {
            ASSERT_GT(PlayMove(pos, sq, ColourOfSide(pos.sideToMove), flips), 0) << sq;
            ++pos.moveNumber;
        }
        ASSERT_TRUE(AppendPly(rec, sq, flips, clock[pos.sideToMove]));
        pos.sideToMove ^= 1;
        pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
        positions.push_back(pos);
    }

    // Random legal plies to the end of the game; returns the passes played.
    int PlayRandom(std::mt19937& rng) {
        int passes = 0;
        while (pos.legalMoveCount >= 0) {
            std::vector<Square> moves;
            for (Square sq = 11; sq <= 88; ++sq)
                if (pos.board[sq] == Empty && CanPlay(pos, sq, ColourOfSide(pos.sideToMove)))
                    moves.push_back(sq);
            Square sq = 0;
            if (moves.empty()) ++passes;
            else sq = moves[rng() % moves.size()];
            Play(sq, static_cast<int>(rng() % 30));
        }
        return passes;
    }
};

}  // namespace

TEST(GameRecordCursor, SentinelsAnswerBelowTheStartAndForwardRestoresExactly) {
    GameRecord rec;
    std::memset(&rec, 0x77, sizeof rec);
    ResetHistory(rec);
    EXPECT_EQ(HistoryIndex(rec), 0);
    EXPECT_EQ(HistoryState(rec), 0);
    ASSERT_TRUE(AppendPly(rec, 56, Flips(1), 7));
    ASSERT_TRUE(AppendPly(rec, 0, Flips(0), 9));
    SeekHistory(rec, 0);
    const GameRecord atStart = rec;

    Square sq = 99;
    FlipRecord f = Flips(5);
    int clock = 99;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(StepBack(rec, &sq, &f, &clock));
        EXPECT_EQ(sq, -1);
        EXPECT_EQ(clock, 0);
        for (int c : f.count) EXPECT_EQ(c, 0);
    }
    EXPECT_EQ(HistoryIndex(rec), -2);
    EXPECT_FALSE(StepBack(rec, &sq)) << "nothing stands below the sentinels";
    EXPECT_EQ(HistoryIndex(rec), -2);
    EXPECT_FALSE(AppendPly(rec, 34, Flips(1), 1)) << "a ply must not overwrite a sentinel";

    ASSERT_TRUE(StepForward(rec));
    ASSERT_TRUE(StepForward(rec));
    EXPECT_TRUE(SameCursors(rec, atStart));

    // The recorded plies read back the same in both directions.
    ASSERT_TRUE(StepForward(rec, &sq, &f, &clock));
    EXPECT_EQ(sq, 56);
    EXPECT_EQ(clock, 7);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(f.count[i], 1 + i);
    ASSERT_TRUE(StepForward(rec, &sq, &f, &clock));
    EXPECT_EQ(sq, 0);
    EXPECT_EQ(clock, 9);
    EXPECT_FALSE(StepForward(rec)) << "nothing recorded beyond the end";
    ASSERT_TRUE(StepBack(rec, &sq, nullptr, &clock));
    EXPECT_EQ(sq, 0);
    EXPECT_EQ(clock, 9);
    ASSERT_TRUE(StepBack(rec, &sq, &f, &clock));
    EXPECT_EQ(sq, 56);
    EXPECT_EQ(clock, 7);
    EXPECT_EQ(f.count[7], 8);
    EXPECT_TRUE(SameCursors(rec, atStart));
}

TEST(GameRecordCursor, LastMovesAtStartAfterOneAndAfterTwoPlies) {
    Game g;
    ReloadLastMoves(g.rec, g.pos.sideToMove, g.last);
    EXPECT_EQ(g.last.move[0], -1);
    EXPECT_EQ(g.last.move[1], -1);
    EXPECT_EQ(g.last.clock[0], 0);
    EXPECT_EQ(g.last.clock[1], 0);
    EXPECT_EQ(HistoryIndex(g.rec), 0);

    g.Play(56, 12);  // black f5
    ReloadLastMoves(g.rec, g.pos.sideToMove, g.last);
    EXPECT_EQ(g.last.move[1], -1) << "white to move has not moved yet";
    EXPECT_EQ(g.last.clock[1], 0);
    EXPECT_EQ(g.last.move[0], 56);
    EXPECT_EQ(g.last.clock[0], 12);

    g.Play(64, 5);  // white d6
    ReloadLastMoves(g.rec, g.pos.sideToMove, g.last);
    EXPECT_EQ(g.last.move[0], 56);
    EXPECT_EQ(g.last.clock[0], 12);
    EXPECT_EQ(g.last.move[1], 64);
    EXPECT_EQ(g.last.clock[1], 5);
    EXPECT_EQ(HistoryIndex(g.rec), 2);
    EXPECT_EQ(HistoryState(g.rec), CanStepBack);
}

TEST(GameRecordCursor, AppendAfterSteppingBackDropsTheLaterPlies) {
    Game g;
    for (Square sq : {56, 64, 53, 46}) g.Play(sq, 1);  // f5 d6 c5 f4
    SeekHistory(g.rec, 2);
    EXPECT_EQ(HistoryState(g.rec), CanStepBack | CanStepForward);
    ASSERT_TRUE(AppendPly(g.rec, 35, Flips(0), 3));
    EXPECT_EQ(HistoryIndex(g.rec), 3);
    EXPECT_EQ(HistoryState(g.rec), CanStepBack);
    EXPECT_FALSE(StepForward(g.rec));
    SeekHistory(g.rec, -1);
    EXPECT_EQ(HistoryIndex(g.rec), 3);
    Square sq = 0;
    ASSERT_TRUE(StepBack(g.rec, &sq));
    EXPECT_EQ(sq, 35);
    ASSERT_TRUE(StepBack(g.rec, &sq));
    EXPECT_EQ(sq, 64);
}

TEST(GameRecordCursor, SeekMovesBothWaysAndClampsWithoutTouchingPlies) {
    GameRecord rec;
    ResetHistory(rec);
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(AppendPly(rec, i % 3 ? 11 + i : 0, Flips(i), 100 + i));
    const GameRecord full = rec;
    SeekHistory(rec, 4);
    EXPECT_EQ(HistoryIndex(rec), 4);
    int clock = 0;
    ASSERT_TRUE(StepBack(rec, nullptr, nullptr, &clock));
    EXPECT_EQ(clock, 103);
    SeekHistory(rec, 8);
    EXPECT_EQ(HistoryIndex(rec), 8);
    ASSERT_TRUE(StepForward(rec, nullptr, nullptr, &clock));
    EXPECT_EQ(clock, 108);
    SeekHistory(rec, 0);
    EXPECT_EQ(HistoryIndex(rec), 0);
    EXPECT_EQ(rec.squareCursor, HistorySentinels);
    EXPECT_EQ(rec.dataCursor, HistorySentinels);
    SeekHistory(rec, 50);  // beyond the end: the end
    EXPECT_TRUE(SameCursors(rec, full));
    SeekHistory(rec, 3);
    SeekHistory(rec, -1);
    EXPECT_TRUE(SameCursors(rec, full));
    EXPECT_EQ(std::memcmp(&rec, &full, sizeof rec), 0);
}

TEST(GameRecordCapacity, LongestGameFitsAndOverflowIsRefusedIntact) {
    // 62 moves each preceded by a pass: 124 plies and 620 data words.
    GameRecord rec;
    ResetHistory(rec);
    for (int i = 0; i < 62; ++i) {
        ASSERT_TRUE(AppendPly(rec, 0, Flips(0), 2 * i)) << i;
        ASSERT_TRUE(AppendPly(rec, 11 + i % 78, Flips(i), 2 * i + 1)) << i;
    }
    EXPECT_EQ(HistoryIndex(rec), 124);
    EXPECT_EQ(rec.dataCursor - HistorySentinels, 620);

    // Two more plies fill the square stack; a third is refused untouched.
    ASSERT_TRUE(AppendPly(rec, 0, Flips(0), 500));
    ASSERT_TRUE(AppendPly(rec, 0, Flips(0), 501));
    const GameRecord full = rec;
    EXPECT_FALSE(AppendPly(rec, 0, Flips(0), 502)) << "no square slot is left";
    EXPECT_EQ(std::memcmp(&rec, &full, sizeof rec), 0);
    SeekHistory(rec, 124);
    ASSERT_TRUE(AppendPly(rec, 88, Flips(1), 9));  // replaces the two passes
    ASSERT_TRUE(AppendPly(rec, 87, Flips(1), 9));
    EXPECT_EQ(rec.dataCursor - HistorySentinels, 638);

    // Every ply reads back unchanged, sentinels included.
    SeekHistory(rec, 124);
    for (int i = 61; i >= 0; --i) {
        Square sq;
        FlipRecord f;
        int clock;
        ASSERT_TRUE(StepBack(rec, &sq, &f, &clock));
        EXPECT_EQ(sq, 11 + i % 78);
        EXPECT_EQ(f.count[0], i);
        EXPECT_EQ(clock, 2 * i + 1);
        ASSERT_TRUE(StepBack(rec, &sq, nullptr, &clock));
        EXPECT_EQ(sq, 0);
        EXPECT_EQ(clock, 2 * i);
    }
    Square sq;
    ASSERT_TRUE(StepBack(rec, &sq));
    EXPECT_EQ(sq, -1);

    // Moves alone run out of data words first: 70 take 630, a 71st needs 639.
    ResetHistory(rec);
    for (int i = 0; i < 70; ++i) ASSERT_TRUE(AppendPly(rec, 11 + i % 78, Flips(i), i)) << i;
    const GameRecord seventy = rec;
    EXPECT_FALSE(AppendPly(rec, 44, Flips(3), 70));
    EXPECT_EQ(std::memcmp(&rec, &seventy, sizeof rec), 0);
    ASSERT_TRUE(AppendPly(rec, 0, Flips(0), 70)) << "a pass still fits";
    int clock = 0;
    ASSERT_TRUE(StepBack(rec, nullptr, nullptr, &clock));
    ASSERT_TRUE(StepBack(rec, &sq, nullptr, &clock));
    EXPECT_EQ(sq, 11 + 69 % 78);
    EXPECT_EQ(clock, 69);
}

TEST(HistoryNavigation, PassStepsChangeOnlyTheSideToMove) {
    // Random games until one has a pass; then step over it in both directions.
    std::mt19937 rng(12345);
    for (int attempt = 0; attempt < 500; ++attempt) {
        Game g;
        if (g.PlayRandom(rng) == 0) continue;
        SeekHistory(g.rec, -1);
        // Walk back from the end, checking each pass in both directions.
        int passesSeen = 0;
        for (int i = HistoryIndex(g.rec); i > 0; --i) {
            Square sq;
            ASSERT_TRUE(StepBack(g.rec, &sq));
            ASSERT_TRUE(StepForward(g.rec));
            const Position before = g.pos;
            ASSERT_TRUE(NavigateHistory(g.pos, g.rec, HistoryStep::Back, g.last));
            if (sq != 0) continue;
            ++passesSeen;
            Position expected = before;
            expected.sideToMove ^= 1;
            expected.legalMoveCount = CountLegalMoves(expected, expected.sideToMove);
            EXPECT_TRUE(SamePosition(g.pos, expected));
            ASSERT_TRUE(NavigateHistory(g.pos, g.rec, HistoryStep::Forward, g.last));
            EXPECT_TRUE(SamePosition(g.pos, before));
            EXPECT_EQ(g.last.move[1 - before.sideToMove], 0) << "the passing side shows a pass";
            ASSERT_TRUE(NavigateHistory(g.pos, g.rec, HistoryStep::Back, g.last));
        }
        EXPECT_GT(passesSeen, 0);
        return;
    }
    FAIL() << "no random game with a pass";
}

TEST(HistoryNavigation, HomeThenEndRestoresPositionLastMovesAndClocks) {
    Game g;
    std::mt19937 rng(7);
    g.PlayRandom(rng);
    SeekHistory(g.rec, -1);
    ReloadLastMoves(g.rec, g.pos.sideToMove, g.last);
    const Position endPos = g.pos;
    const LastMoves endLast = g.last;
    const GameRecord endRec = g.rec;

    ASSERT_TRUE(NavigateHistory(g.pos, g.rec, HistoryStep::ToStart, g.last));
    EXPECT_TRUE(SamePosition(g.pos, g.positions.front()));
    EXPECT_EQ(HistoryState(g.rec), CanStepForward);
    EXPECT_EQ(g.last.move[0], -1);
    EXPECT_EQ(g.last.move[1], -1);
    EXPECT_EQ(g.last.clock[0] + g.last.clock[1], 0);
    const Position atStart = g.pos;
    const LastMoves before = g.last;
    EXPECT_FALSE(NavigateHistory(g.pos, g.rec, HistoryStep::Back, g.last));
    EXPECT_TRUE(SamePosition(g.pos, atStart));
    EXPECT_EQ(std::memcmp(&g.last, &before, sizeof before), 0);

    // Clocks that ran on since are set back to the recorded values.
    g.last.clock[0] = g.last.clock[1] = 999;

    ASSERT_TRUE(NavigateHistory(g.pos, g.rec, HistoryStep::ToEnd, g.last));
    EXPECT_TRUE(SamePosition(g.pos, endPos));
    EXPECT_TRUE(SameCursors(g.rec, endRec));
    EXPECT_EQ(std::memcmp(&g.last, &endLast, sizeof endLast), 0);
    EXPECT_EQ(HistoryState(g.rec), CanStepBack);
    EXPECT_FALSE(NavigateHistory(g.pos, g.rec, HistoryStep::Forward, g.last));
}

TEST(HistoryNavigation, RandomGamesRoundTripAtEveryPly) {
    std::mt19937 rng(2026);
    int passes = 0;
    for (int game = 0; game < 200; ++game) {
        Game g;
        passes += g.PlayRandom(rng);
        const int plies = static_cast<int>(g.positions.size()) - 1;
        ASSERT_EQ(HistoryIndex(g.rec), plies);
        for (int i = plies; i > 0; --i) {
            ASSERT_TRUE(NavigateHistory(g.pos, g.rec, HistoryStep::Back, g.last));
            ASSERT_TRUE(SamePosition(g.pos, g.positions[i - 1])) << "game " << game << " ply " << i;
        }
        for (int i = 1; i <= plies; ++i) {
            ASSERT_TRUE(NavigateHistory(g.pos, g.rec, HistoryStep::Forward, g.last));
            ASSERT_TRUE(SamePosition(g.pos, g.positions[i])) << "game " << game << " ply " << i;
        }
        // Resume from a middle ply: the position there continues correctly.
        const int mid = plies / 2;
        SeekHistory(g.rec, 0);
        g.pos = g.positions[0];
        for (int i = 0; i < mid; ++i) NavigateHistory(g.pos, g.rec, HistoryStep::Forward, g.last);
        ASSERT_TRUE(SamePosition(g.pos, g.positions[mid]));
        EXPECT_EQ(HistoryState(g.rec), (mid > 0 ? CanStepBack : 0) | CanStepForward);
    }
    EXPECT_GT(passes, 0) << "the games should include passes";
}

TEST(HistoryNavigation, AForeignHistoryIsNotReplayedOverTheBoard) {
    // A recorded move the board cannot make leaves board and cursor together.
    Game g;
    g.Play(56, 1);
    SeekHistory(g.rec, 0);
    ASSERT_TRUE(AppendPly(g.rec, 11, Flips(0), 1));  // a1: flips nothing here
    SeekHistory(g.rec, 0);
    g.pos = g.positions[0];
    EXPECT_FALSE(NavigateHistory(g.pos, g.rec, HistoryStep::Forward, g.last));
    EXPECT_EQ(HistoryIndex(g.rec), 0);
    EXPECT_TRUE(SamePosition(g.pos, g.positions[0]));
    EXPECT_FALSE(NavigateHistory(g.pos, g.rec, HistoryStep::ToEnd, g.last));
    EXPECT_EQ(HistoryIndex(g.rec), 0);
}
