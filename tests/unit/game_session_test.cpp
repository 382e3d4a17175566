#include <gtest/gtest.h>

#include <cstring>

#include "app/command_states.h"
#include "res/resource.h"
#include "session/game_session.h"

TEST(GameSession, NewGameKeepsPlayersAndCountsTheStart) {
    GameSession s{};
    s.side[0].kind = 4;
    s.side[1].kind = PersonPlayer;
    s.position.sideToMove = 1;
    s.side[0].move = 45;
    s.side[1].clock = 77;
    NewGame(s);
    ReloadSessionLastMoves(s);
    EXPECT_EQ(s.side[0].kind, 4);
    EXPECT_EQ(s.side[1].kind, PersonPlayer);
    EXPECT_EQ(s.position.sideToMove, 0);
    EXPECT_EQ(s.position.moveNumber, 0);
    EXPECT_EQ(s.position.legalMoveCount, 4);
    EXPECT_EQ(s.position.discDifference, 0);
    EXPECT_EQ(s.side[0].discs, 2);
    EXPECT_EQ(s.side[1].discs, 2);
    EXPECT_EQ(s.side[0].move, NoMoveYet);
    EXPECT_EQ(s.side[1].clock, 0);
    EXPECT_EQ(s.position.board[45], Black);
    EXPECT_EQ(s.position.board[44], White);
    EXPECT_EQ(HistoryState(s.record), 0) << "a new game has no history to step through";
}

TEST(GameSession, SnapshotSwapsOnlyWhileAJobWorks) {
    GameSession s{};
    NewGame(s);
    TakeSnapshot(s);
    FlipRecord flips;
    ASSERT_GT(PlayMove(s.position, 56, Black, flips), 0);
    const Position searching = s.position;
    for (AppMode m : {AppMode::Idle, AppMode::HumanTurn, AppMode::BoardSetup, AppMode::SettingsDialog}) {
        s.mode = m;
        SwapSnapshot(s);
        EXPECT_EQ(s.position.board[56], Black) << static_cast<int>(m);
    }
    for (AppMode m : {AppMode::ComputerThinking, AppMode::Research}) {
        s.mode = m;
        SwapSnapshot(s);
        EXPECT_EQ(s.position.board[56], Empty) << "the paint sees the position from before the job";
        SwapSnapshot(s);
        EXPECT_EQ(0, std::memcmp(s.position.board, searching.board, sizeof(Board)));
    }
    RestoreSnapshot(s);
    EXPECT_EQ(s.position.board[56], Empty);
}

TEST(CommandStates, IdleAtTheStartOfAGame) {
    const CommandContext idle{AppMode::Idle, 4, false, false};
    for (int id : {IDM_GAME_START, IDM_GAME_PLAYERS, IDM_GAME_NEW_BOARD, IDM_GAME_EXIT, IDM_RECORD_LOAD,
                   IDM_RECORD_SAVE, IDM_SETUP_BEGIN, IDM_RESEARCH_BOOK, IDM_RESEARCH_ANALYSIS,
                   IDM_OPTIONS_SETTINGS, IDM_HELP_CONTENTS, IDM_HELP_ABOUT})
        EXPECT_TRUE(IsCommandEnabled(id, idle)) << id;
    for (int id : {IDM_GAME_INTERRUPT, IDM_RECORD_TO_START, IDM_RECORD_BACK, IDM_RECORD_FORWARD,
                   IDM_RECORD_TO_END, IDM_SETUP_REMOVE_ALL, IDM_SETUP_CHANGE_SIDE, IDM_SETUP_CANCEL,
                   IDM_SETUP_END, IDM_RESEARCH_STOP})
        EXPECT_FALSE(IsCommandEnabled(id, idle)) << id;
}

TEST(CommandStates, ByModeAndHistory) {
    for (AppMode m : {AppMode::HumanTurn, AppMode::ComputerThinking}) {
        const CommandContext c{m, 3, true, true};
        EXPECT_FALSE(IsCommandEnabled(IDM_GAME_START, c));
        EXPECT_TRUE(IsCommandEnabled(IDM_GAME_INTERRUPT, c));
        EXPECT_TRUE(IsCommandEnabled(IDM_RECORD_BACK, c));
    }
    const CommandContext setup{AppMode::BoardSetup, 3, true, true};
    for (int id = IDM_RECORD_TO_START; id <= IDM_RECORD_TO_END; ++id) EXPECT_FALSE(IsCommandEnabled(id, setup));
    EXPECT_FALSE(IsCommandEnabled(IDM_SETUP_BEGIN, setup));
    for (int id = IDM_SETUP_REMOVE_ALL; id <= IDM_SETUP_END; ++id) EXPECT_TRUE(IsCommandEnabled(id, setup));

    const CommandContext back{AppMode::Idle, 3, true, false};
    EXPECT_TRUE(IsCommandEnabled(IDM_RECORD_TO_START, back));
    EXPECT_TRUE(IsCommandEnabled(IDM_RECORD_BACK, back));
    EXPECT_FALSE(IsCommandEnabled(IDM_RECORD_FORWARD, back));
    EXPECT_FALSE(IsCommandEnabled(IDM_RECORD_TO_END, back));

    const CommandContext pass{AppMode::Research, 0, false, false};
    EXPECT_TRUE(IsCommandEnabled(IDM_RESEARCH_BOOK, pass));
    EXPECT_FALSE(IsCommandEnabled(IDM_RESEARCH_ANALYSIS, pass));
    EXPECT_TRUE(IsCommandEnabled(IDM_RESEARCH_STOP, pass));
    const CommandContext over{AppMode::Idle, -1, false, false};
    EXPECT_FALSE(IsCommandEnabled(IDM_RESEARCH_BOOK, over));
    EXPECT_FALSE(IsCommandEnabled(IDM_RESEARCH_ANALYSIS, over));

    EXPECT_EQ(ContextMenuIndex(AppMode::BoardSetup), 1);
    EXPECT_EQ(ContextMenuIndex(AppMode::Research), 2);
    EXPECT_EQ(ContextMenuIndex(AppMode::HumanTurn), 0);
}

TEST(CommandStates, HistoryOfTheSessionEnablesNavigation) {
    GameSession s{};
    NewGame(s);
    EXPECT_FALSE(IsCommandEnabled(IDM_RECORD_TO_START, SessionCommandContext(s)));
    FlipRecord flips;
    PlayMove(s.position, 56, Black, flips);
    ASSERT_TRUE(AppendPly(s.record, 56, flips, 3));
    CommandContext c = SessionCommandContext(s);
    EXPECT_TRUE(IsCommandEnabled(IDM_RECORD_BACK, c));
    EXPECT_FALSE(IsCommandEnabled(IDM_RECORD_FORWARD, c));
    StepBack(s.record);
    c = SessionCommandContext(s);
    EXPECT_FALSE(IsCommandEnabled(IDM_RECORD_BACK, c));
    EXPECT_TRUE(IsCommandEnabled(IDM_RECORD_TO_END, c));
}
