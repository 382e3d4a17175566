#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/notation.h"
#include "core/position_text.h"
#include "record/game_text.h"
#include "record/recent_files.h"
#include "record/record_file.h"

namespace {

std::string Moves(GameRecord rec) {
    SeekHistory(rec, 0);
    std::string moves;
    for (Square sq; StepForward(rec, &sq);) moves += sq > 0 ? SquareCode(sq) : "PA";
    return moves;
}

struct Pasted {
    PasteOutcome outcome;
    Position pos;
    GameRecord rec;
};

Pasted Paste(const std::string& text) {
    Pasted p{};
    SetInitialPosition(p.pos);
    p.pos.board[11] = Black;  // a marker: untouched unless the paste is taken
    ResetHistory(p.rec);
    p.outcome = PasteGame(text, p.pos, p.rec);
    return p;
}

// Black passes at ply 13 of this game (the e2e game with a pass).
const char* const PassGame = "e6f4e3d2g3e7d6g5d3d7c7b8h2";

}  // namespace

// What players paste from other programs and sites.
TEST(PasteText, TranscriptsInTheirCommonForms) {
    struct Case {
        const char* text;
        const char* moves;  // plies of the pasted game, passes as PA
    } cases[] = {
        {"f5d6c3d3c4", "f5d6c3d3c4"},
        {"F5 d6 2. C3 d3", "f5d6c3d3"},
        {"1. f5 d6 2. c3 d3 3. c4\r\n", "f5d6c3d3c4"},
        {"1.F5D6", "f5d6"},
        {"e6f4e3d2g3e7d6g5d3d7c7b8h2", "e6f4e3d2g3e7d6g5d3d7c7b8PAh2"},
        {"e6f4e3d2g3e7d6g5d3d7c7b8 PA h2", "e6f4e3d2g3e7d6g5d3d7c7b8PAh2"},
        {"e6f4e3d2g3e7d6g5d3d7c7b8pah2", "e6f4e3d2g3e7d6g5d3d7c7b8PAh2"},
        {"e6 f4 e3 d2 g3 e7 d6 g5 d3 d7 c7 b8 -- h2", "e6f4e3d2g3e7d6g5d3d7c7b8PAh2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Pasted p = Paste(c.text);
        EXPECT_TRUE(p.outcome.accepted);
        EXPECT_EQ(p.outcome.kind, PastedKind::Transcript);
        EXPECT_EQ(p.outcome.refused, -1);
        EXPECT_EQ(Moves(p.rec), c.moves);
        EXPECT_EQ(HistoryIndex(p.rec), static_cast<int>(std::strlen(c.moves) / 2));
        EXPECT_EQ(p.pos.board[11], Empty) << "a transcript starts from the standard start";
    }
}

TEST(PasteText, ReplaysUpToTheFirstIllegalMoveAndRefusesAnIllegalFirstMove) {
    Pasted p = Paste("f5 d6 c3 a1 d3");
    EXPECT_TRUE(p.outcome.accepted);
    EXPECT_EQ(p.outcome.movesTaken, 3);
    EXPECT_EQ(p.outcome.refused, 11);
    EXPECT_EQ(Moves(p.rec), "f5d6c3");
    EXPECT_EQ(p.pos.sideToMove, 1);
    EXPECT_EQ(p.pos.moveNumber, 3);

    p = Paste("f5 PA d6");  // a pass while a move exists
    EXPECT_TRUE(p.outcome.accepted);
    EXPECT_EQ(p.outcome.refused, 0);
    EXPECT_EQ(Moves(p.rec), "f5");

    for (const char* refused : {"a1f5", "e4", "PA f5"}) {
        p = Paste(refused);
        EXPECT_FALSE(p.outcome.accepted) << refused;
        EXPECT_EQ(p.outcome.kind, PastedKind::Transcript) << refused;
        EXPECT_EQ(p.pos.board[11], Black) << "nothing changed for " << refused;
    }
}

TEST(PasteText, AnythingElseIsRefused) {
    for (const char* text : {"", "   ", "hello", "1. 2. 3.", "f9", "i5", "f5d6x", "ｆ５", "f5;d6",
                             "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX"}) {
        const Pasted p = Paste(text);
        EXPECT_FALSE(p.outcome.accepted) << text;
        EXPECT_EQ(p.outcome.kind, PastedKind::Neither) << text;
        EXPECT_EQ(p.pos.board[11], Black) << "nothing changed for " << text;
    }
}

TEST(PasteText, BoardStringsInTheirCommonForms) {
    const std::string rows[8] = {"--------", "--------", "--------", "---OX---",
                                 "---XO---", "--------", "--------", "X------O"};
    std::string plain;
    for (const std::string& r : rows) plain += r;
    struct Case {
        std::string text;
        int side;
    } cases[] = {
        {plain, 0},
        {plain + " O", 1},
        {plain + " X", 0},
        {plain + "w", 1},
        {plain + " b", 0},
        {rows[0] + "\n" + rows[1] + "\n" + rows[2] + "\n...ox...\n...*W...\n" + rows[5] + "\n" + rows[6] + "\nB......o\nW",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Pasted p = Paste(c.text);
        ASSERT_TRUE(p.outcome.accepted);
        EXPECT_EQ(p.outcome.kind, PastedKind::BoardString);
        EXPECT_EQ(PositionText(p.pos), plain + (c.side ? " O" : " X"));
        EXPECT_EQ(HistoryIndex(p.rec), 0);
        EXPECT_EQ(HistoryState(p.rec), 0) << "an empty history";
        EXPECT_EQ(p.pos.moveNumber, 2);
    }
    // "b" followed by a row digit is a move, not the side to move.
    const Pasted move = Paste(plain + " b4");
    EXPECT_EQ(move.outcome.kind, PastedKind::BoardString);
    EXPECT_FALSE(move.outcome.accepted) << "b4 cannot be played here";
    EXPECT_EQ(move.outcome.refused, 42);
}

// Copy and paste give back the same game, from the standard start or from a
// set-up one; the copied position is the board string of the current ply.
TEST(PasteText, CopiedGamesPasteBackAsTheSameGame) {
    Position pos;
    GameRecord rec;
    SetInitialPosition(pos);
    ResetHistory(rec);
    ASSERT_TRUE(PasteGame(PassGame, pos, rec).accepted);
    EXPECT_EQ(GameTranscriptText(pos, rec), PassGame) << "passes are left out";

    // A set-up start: the game after four moves taken as the start.
    ASSERT_TRUE(PasteGame("f5d6c3d3", pos, rec).accepted);
    ResetHistory(rec);
    const std::string start = PositionText(pos);
    Position setup = pos;
    GameRecord setupRec = rec;
    ASSERT_TRUE(PasteGame(start + "\r\nc4f4", setup, setupRec).accepted);
    const std::string copied = GameTranscriptText(setup, setupRec);
    EXPECT_EQ(copied, start + "\r\nc4f4");
    LastMoves last;
    NavigateHistory(setup, setupRec, HistoryStep::Back, last);
    EXPECT_EQ(GameTranscriptText(setup, setupRec), copied) << "copied from the start whatever the ply";

    Position again;
    GameRecord againRec;
    ASSERT_TRUE(PasteGame(copied, again, againRec).accepted);
    EXPECT_EQ(Moves(againRec), "c4f4");
    NavigateHistory(again, againRec, HistoryStep::ToStart, last);
    EXPECT_EQ(PositionText(again), start);
    // A set-up start whose side must pass, with that pass and no move yet
    // (found by the fuzzer: the copy lost the pass and with it the side).
    const std::string lonePass = "XO" + std::string(62, '-') + " O --";
    ASSERT_TRUE(PasteGame(lonePass, setup, setupRec).accepted);
    ASSERT_EQ(Moves(setupRec), "PA");
    ASSERT_TRUE(PasteGame(GameTranscriptText(setup, setupRec), again, againRec).accepted);
    EXPECT_EQ(Moves(againRec), "PA");
    EXPECT_EQ(again.sideToMove, 0);
}

TEST(RecentFileList, OrderDuplicatesAndTheTenthFile) {
    RecentFiles list;
    for (const wchar_t* path : {L"C:\\a.rgm", L"C:\\b.rgm", L"C:\\c.rgm"}) AddRecentFile(list, path);
    ASSERT_EQ(list.count, 3);
    EXPECT_EQ(list.paths[0], L"C:\\c.rgm");
    EXPECT_EQ(list.paths[2], L"C:\\a.rgm");

    AddRecentFile(list, L"c:\\A.RGM");
    ASSERT_EQ(list.count, 3) << "a path in other letter case is the same file";
    EXPECT_EQ(list.paths[0], L"c:\\A.RGM");
    EXPECT_EQ(list.paths[1], L"C:\\c.rgm");
    EXPECT_EQ(list.paths[2], L"C:\\b.rgm");
    AddRecentFile(list, L"C:\\棋譜\\ÄＢ.rgm");
    AddRecentFile(list, L"c:\\棋譜\\äｂ.RGM");
    EXPECT_EQ(list.count, 4);

    for (int i = 0; i < 8; ++i) AddRecentFile(list, L"D:\\" + std::wstring(1, static_cast<wchar_t>(L'0' + i)));
    ASSERT_EQ(list.count, RecentFileSlots);
    EXPECT_EQ(list.paths[0], L"D:\\7");
    EXPECT_EQ(list.paths[8], L"c:\\棋譜\\äｂ.RGM") << "the oldest entries fell out";

    AddRecentFile(list, std::wstring(RecentPathRoom, L'x'));
    EXPECT_EQ(list.paths[0], L"D:\\7") << "a path longer than a slot is not listed";
    EXPECT_EQ(RecentMenuText(2, L"C:\\A&B.rgm"), L"&3 C:\\A&&B.rgm");
}

TEST(RecentFileList, StoredGapsCloseUp) {
    std::wstring stored[RecentFileSlots] = {L"C:\\one.rgm", L"", L"C:\\three.rgm", std::wstring(300, L'y')};
    RecentFiles list;
    list.paths[5] = L"left over";
    SetRecentFiles(list, stored);
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.paths[0], L"C:\\one.rgm");
    EXPECT_EQ(list.paths[1], L"C:\\three.rgm");
    for (int i = 2; i < RecentFileSlots; ++i) EXPECT_TRUE(list.paths[i].empty());
}
