#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/notation.h"
#include "core/position_text.h"
#include "record/profile_text.h"
#include "record/record_file.h"

namespace {

const RecordTime Saved = {1999, 3, 14, 21, 5, 37};
const std::int32_t PersonAndLevel3[2] = {-1, 3};

// A game played the way the turn loop plays it: the ply on the board, into
// the history with the mover's running clock, then the other side to move.
struct PlayedGame {
    Position pos;
    GameRecord rec;
    int clock[2] = {0, 0};

    PlayedGame() {
        SetInitialPosition(pos);
        ResetHistory(rec);
    }
    void Play(Square sq, int seconds) {
        FlipRecord flips{};
        clock[pos.sideToMove] += seconds;
        if (sq > 0) {
            ASSERT_GT(PlayMove(pos, sq, ColourOfSide(pos.sideToMove), flips), 0) << sq;
        }
        ASSERT_TRUE(AppendPly(rec, sq, flips, clock[pos.sideToMove]));
        pos.sideToMove ^= 1;
        pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
    }
    void Play(const char* code, int seconds) { Play(ParseSquareCode(code), seconds); }
    // Random legal plies until the game ends or `plies` were played.
    void PlayRandom(std::mt19937& rng, int plies) {
        for (int i = 0; i < plies && CountLegalMoves(pos, pos.sideToMove) >= 0; ++i) {
            std::vector<Square> moves;
            for (Square sq = 11; sq <= 88; ++sq)
                if (pos.board[sq] == Empty && CanPlay(pos, sq, ColourOfSide(pos.sideToMove))) moves.push_back(sq);
            Play(moves.empty() ? 0 : moves[rng() % moves.size()], static_cast<int>(rng() % 400));
        }
    }
};

bool SameBoard(const Position& a, const Position& b) { return std::memcmp(a.board, b.board, sizeof a.board) == 0; }

std::vector<std::pair<Square, int>> Plies(GameRecord rec) {
    SeekHistory(rec, 0);
    std::vector<std::pair<Square, int>> plies;
    Square sq;
    int clock;
    while (StepForward(rec, &sq, nullptr, &clock)) plies.push_back({sq, clock});
    return plies;
}

RecordGame Read(const std::string& text) {
    RecordGame game{};
    EXPECT_TRUE(ReadRecordText(text, game)) << text;
    return game;
}

const char* const Header = "[Record of Games]\r\nApplication=Tavix\r\n";

}  // namespace

TEST(RecordText, ComposesTheSavedGameLineByLine) {
    PlayedGame g;
    g.Play("f5", 4);
    g.Play("d6", 1);
    g.Play("c3", 11);
    g.Play("d3", 2);
    g.Play("c4", 47);
    EXPECT_EQ(ComposeRecordText(g.pos, g.rec, PersonAndLevel3, Saved),
              "[Record of Games]\r\n"
              "Application=Tavix\r\n"
              "Date=99/03/14\r\n"
              "Time=21:05:37\r\n"
              "Black=*\r\n"
              "White=3\r\n"
              "01=f5 00:00:04\r\n"
              "02=d6 00:00:01\r\n"
              "03=c3 00:00:15\r\n"
              "04=d3 00:00:03\r\n"
              "05=c4 00:01:02\r\n");
}

// Saving at any ply writes the whole game and changes nothing in it; the
// start is written as Board and Turn only when it is not the standard one
// with Black to move.
TEST(RecordText, WritesAllPliesFromTheStartWhateverTheCursor) {
    std::mt19937 rng(7);
    PlayedGame g;
    g.PlayRandom(rng, 20);
    LastMoves last;
    for (int i = 0; i < 17; ++i) NavigateHistory(g.pos, g.rec, HistoryStep::Back, last);
    const Position before = g.pos;
    const GameRecord beforeRec = g.rec;
    const std::string text = ComposeRecordText(g.pos, g.rec, PersonAndLevel3, Saved);
    EXPECT_TRUE(SameBoard(g.pos, before));
    EXPECT_EQ(std::memcmp(&g.rec, &beforeRec, sizeof g.rec), 0);
    EXPECT_NE(text.find("\r\n20="), std::string::npos);
    EXPECT_EQ(text.find("\r\n21="), std::string::npos);
    EXPECT_EQ(text.find("Board="), std::string::npos);

    const RecordGame loaded = Read(text);
    EXPECT_EQ(HistoryIndex(loaded.record), 20) << "a load leaves the cursor after the last ply";
    EXPECT_EQ(Plies(loaded.record), Plies(g.rec));
}

TEST(RecordText, WhiteFirstFromTheStandardStartWritesTheStandardBoard) {
    PlayedGame g;
    g.pos.sideToMove = 1;
    Square last = 0;
    CountLegalMoves(g.pos, 1, &last);
    g.Play(last, 3);
    const std::string text = ComposeRecordText(g.pos, g.rec, PersonAndLevel3, Saved);
    EXPECT_NE(text.find("Time=21:05:37\r\n"
                        "Board=0000000000000000000000000002100000012000000000000000000000000000\r\n"
                        "Turn=White\r\n"
                        "Black=*\r\n"),
              std::string::npos)
        << text;
    const RecordGame loaded = Read(text);
    EXPECT_TRUE(SameBoard(loaded.position, g.pos));
    EXPECT_EQ(loaded.position.sideToMove, 0);
}

TEST(RecordText, PlyKeysTakeThreeDigitsFromOneHundred) {
    // The composer writes what the history holds: four moves, then passes.
    PlayedGame g;
    for (const char* move : {"f5", "d6", "c3", "d3"}) g.Play(move, 1);
    for (int i = 0; i < 102; ++i) ASSERT_TRUE(AppendPly(g.rec, 0, FlipRecord{}, i));
    const std::string text = ComposeRecordText(g.pos, g.rec, PersonAndLevel3, Saved);
    EXPECT_NE(text.find("\r\n99=** 00:01:34\r\n100=** 00:01:35\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n106=** 00:01:41\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Board="), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

// Random games, some from a set-up start, some with passes, read back as
// they were saved: position, side to move, plies with their clocks, kinds.
TEST(RecordText, RandomGamesReadBackAsSaved) {
    std::mt19937 rng(2026);
    int passes = 0, setups = 0;
    for (int round = 0; round < 300; ++round) {
        PlayedGame g;
        if (round % 3 == 0) {
            g.PlayRandom(rng, 8 + round % 30);
            ResetHistory(g.rec);  // the position as an accepted set-up
            ++setups;
        }
        g.PlayRandom(rng, 100);
        const std::int32_t kinds[2] = {static_cast<std::int32_t>(rng() % 11) - 1,
                                       static_cast<std::int32_t>(rng() % 11) - 1};
        const RecordGame loaded = Read(ComposeRecordText(g.pos, g.rec, kinds, Saved));
        ASSERT_TRUE(SameBoard(loaded.position, g.pos)) << round;
        ASSERT_EQ(loaded.position.sideToMove, g.pos.sideToMove) << round;
        ASSERT_EQ(loaded.position.legalMoveCount, CountLegalMoves(g.pos, g.pos.sideToMove));
        ASSERT_EQ(Plies(loaded.record), Plies(g.rec)) << round;
        ASSERT_EQ(loaded.kinds[0], kinds[0]);
        ASSERT_EQ(loaded.kinds[1], kinds[1]);
        for (const auto& ply : Plies(g.rec)) passes += ply.first == 0;
    }
    EXPECT_GT(passes, 0) << "the games should include passes";
    EXPECT_EQ(setups, 100);
}

// The loader's treatment of hand-written files.
TEST(RecordText, HandWrittenFilesLoadAsTheRulesSay) {
    const std::string standard = "0000000000000000000000000002100000012000000000000000000000000000";
    std::string setup = standard;
    setup[0] = '1';  // a1 black as well
    struct Case {
        const char* what;
        std::string text;
        int plies;
        bool standardStart;
        int black, white;
    } cases[] = {
        {"Board of 63 characters", std::string(Header) + "Board=" + setup.substr(1) + "\r\n01=f5\r\n", 1, true, -1, -1},
        {"Board of 65 characters", std::string(Header) + "Board=" + setup + "0\r\n01=f5\r\n", 1, true, -1, -1},
        {"Board with a 3", std::string(Header) + "Board=3" + setup.substr(1) + "\r\n", 0, true, -1, -1},
        {"a set-up Board", std::string(Header) + "Board=" + setup + "\r\n01=f5\r\n", 1, false, -1, -1},
        {"Turn=white", std::string(Header) + "Turn=white\r\n01=f5\r\n", 1, true, -1, -1},
        {"Black=10, White=*", std::string(Header) + "Black=10\r\nWhite=*\r\n", 0, true, -1, -1},
        {"levels", std::string(Header) + "Black=0\r\nWhite=9\r\n", 0, true, 0, 9},
        {"keys 01 02 04", std::string(Header) + "01=f5 00:00:01\r\n02=d6 00:00:02\r\n04=c4 00:00:04\r\n", 2, true, -1,
         -1},
        {"a pass while a move exists", std::string(Header) + "01=f5\r\n02=**\r\n03=f6\r\n", 1, true, -1, -1},
        {"an occupied square", std::string(Header) + "01=f5\r\n02=e4\r\n", 1, true, -1, -1},
        {"a move that turns nothing", std::string(Header) + "01=f5\r\n02=a1\r\n", 1, true, -1, -1},
        {"an upper-case square", std::string(Header) + "01=F5\r\n", 0, true, -1, -1},
        {"names in other case, blanks, LF only", "  [record OF games]  \nAPPLICATION = Tavix\n 01 =  f5  \n", 1, true, -1,
         -1},
        {"a later section of the same name is not read",
         std::string(Header) + "01=f5\r\n[Record of Games]\r\n02=d6\r\n", 1, true, -1, -1},
        {"the first of two equal keys wins", std::string(Header) + "01=f5\r\n01=d3\r\n02=d6\r\n", 2, true, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RecordGame game = Read(c.text);
        EXPECT_EQ(HistoryIndex(game.record), c.plies);
        Position start;
        GameStart(game.position, game.record, start);
        EXPECT_EQ(IsStandardStart(start), c.standardStart);
        EXPECT_EQ(game.kinds[0], c.black);
        EXPECT_EQ(game.kinds[1], c.white);
    }
}

TEST(RecordText, ClocksOfPlies) {
    const RecordGame game = Read(std::string(Header) +
                                 "01=f5\r\n02=d6 1:02:03\r\n03=c3 99:59:59\r\n04=d3 00:60:00\r\n05=c4 00:00:07 x\r\n"
                                 "06=\"f4 00:01:00\"\r\n07='c5 00:00:09'\r\n");
    std::vector<int> clocks;
    for (const auto& ply : Plies(game.record)) clocks.push_back(ply.second);
    // A quoted value loses its quotes before the square is read.
    EXPECT_EQ(clocks, (std::vector<int>{0, 0, 99 * 3600 + 59 * 60 + 59, 0, 7, 60, 9}));
}

TEST(RecordText, OnlyThisProgramsRecordsAreRead) {
    RecordGame game{};
    game.kinds[0] = 42;
    for (const std::string& text : {std::string("[Record of Games]\r\nApplication=tavix\r\n01=f5\r\n"),
                                    std::string("[Other]\r\nApplication=Tavix\r\n"), std::string("Application=Tavix\r\n"),
                                    std::string("[Record of Games]\r\nApplication=Tavix 2\r\n"), std::string()}) {
        EXPECT_FALSE(ReadRecordText(text, game)) << text;
        EXPECT_EQ(game.kinds[0], 42) << "a refused file changes nothing";
    }
    EXPECT_TRUE(ReadRecordText("\xEF\xBB\xBF[Record of Games]\r\nApplication=\"Tavix\"\r\n", game));
}

TEST(ProfileText, ValuesAreCutAndMissingKeysReadEmpty) {
    const std::string text = "[s]\nlong=" + std::string(300, 'v') + "\nnovalue\n=x\n[t]\nk=1\n";
    const ProfileSection s = ReadProfileSection(text, "S");
    EXPECT_TRUE(s.found);
    EXPECT_EQ(ProfileValue(s, "long"), std::string(255, 'v'));
    EXPECT_EQ(ProfileValue(s, "novalue"), "");
    EXPECT_EQ(ProfileValue(s, "k"), "") << "keys of the next section are not this one's";
    EXPECT_FALSE(ReadProfileSection(text, "u").found);
    // A "[" line without its "]" is no section line.
    EXPECT_EQ(ProfileValue(ReadProfileSection("[s\nk=1\n", "s"), "k"), "");
    EXPECT_EQ(ProfileValue(ReadProfileSection("[s]\n[t\nk=1\n", "s"), "k"), "1");
}
