// GGF games: several to a text, properties in any order, the start board,
// moves with their times, passes; and what the program writes reads back
// as the same game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/notation.h"
#include "core/position_text.h"
#include "record/ggf.h"

namespace {

// A whole game with one pass: Black has no move before White's last move.
const char PassGame[] =
    "e6d6c6f4e3d2g4f6c1g3f5h4c4b6b7c3g5c5c2f3b5h6h5b2f2d3h3a6b3a2a7b8a8d7h7g2b4e2c7a4f7h2h1g6e7f8c8e8e1f1d8d1g8g1"
    "b1a1a5a3g7";

// The pass game as a GGF game, the pass written PA (or left out), move k
// taking k seconds.
std::string PassGameText(bool writePass = true) {
    std::string text = "(;GM[Othello]PC[Club]DT[2024.05.01]PB[Anna]PW[Bruno]RE[-1.000]TY[8]";
    const std::string moves = PassGame;
    int k = 0;
    for (std::size_t at = 0; at < moves.size(); at += 2, ++k) {
        if (at / 2 == 58 && writePass) text += "B[PA]";
        text += std::string(k % 2 == (at / 2 >= 58 ? 1 : 0) ? "B[" : "W[") + moves.substr(at, 2) + "//" +
                std::to_string(k) + "]";
    }
    return text + ";)";
}

std::vector<std::pair<Square, int>> Plies(const RecordGame& game) {
    GameRecord rec = game.record;
    SeekHistory(rec, 0);
    std::vector<std::pair<Square, int>> plies;
    Square sq;
    int clock;
    while (StepForward(rec, &sq, nullptr, &clock)) plies.push_back({sq, clock});
    return plies;
}

TEST(Ggf, ReadsEveryGameOfATextWithBoardTimesAndPasses) {
    const std::string text =
        "junk before (;GM[Othello]ZZ[unknown [x] skipped]PW[White One]B[F5/+2.00/5]PB[Black One]"
        "BO[8 -------- -------- -------- ---O*--- ---*O--- -------- -------- -------- *]W[d6/-1.5/1:05]"
        "B[c3//0:01:02.6];)\n" +
        PassGameText() + "\n(;GM[Othello]TY[10]B[f5];)(;GM[Othello]B[f5]W[f5]B[c3];)";
    const std::vector<GgfGame> games = ReadGgfGames(text);
    ASSERT_EQ(games.size(), 3u);  // the 10 x 10 game is skipped

    const GgfGame& first = games[0];
    EXPECT_EQ(first.black, "Black One");
    EXPECT_EQ(first.white, "White One");
    const std::vector<std::pair<Square, int>> plies = {{56, 5}, {64, 65}, {33, 5 + 63}};
    EXPECT_EQ(Plies(first.game), plies);
    EXPECT_EQ(first.game.kinds[0], -1);

    const GgfGame& pass = games[1];
    EXPECT_EQ(pass.date, "2024.05.01");
    EXPECT_EQ(pass.result, "-1.000");
    EXPECT_EQ(pass.movesWritten, 60);
    EXPECT_EQ(pass.movesTaken, 60);
    EXPECT_EQ(pass.game.record.endIndex, 60);
    EXPECT_EQ(Plies(pass.game)[58].first, Pass);
    EXPECT_EQ(pass.game.position.legalMoveCount, -1);

    // A move that cannot be played ends the game there.
    EXPECT_EQ(games[2].movesWritten, 3);
    EXPECT_EQ(games[2].movesTaken, 1);

    // A pass the text leaves out is made where the mover had no move.
    const std::vector<GgfGame> unwritten = ReadGgfGames(PassGameText(false));
    ASSERT_EQ(unwritten.size(), 1u);
    EXPECT_EQ(unwritten[0].movesWritten, 59);
    EXPECT_EQ(unwritten[0].movesTaken, 59);
    EXPECT_EQ(Plies(unwritten[0].game)[58].first, Pass);
    EXPECT_EQ(unwritten[0].game.record.endIndex, 60);

    // A megabyte of empty games: the first MostGgfGames, not gigabytes.
    std::string empties;
    for (int k = 0; k < 349000; ++k) empties += "(;)";
    EXPECT_EQ(ReadGgfGames(empties).size(), MostGgfGames);
    EXPECT_TRUE(LooksLikeGgf("  \r\n(;GM[Othello];)"));
    EXPECT_FALSE(LooksLikeGgf("[Record of Games]"));
}

TEST(Ggf, WritesAGameThatReadsBackTheSameWithItsClocksAndResult) {
    const std::vector<GgfGame> games = ReadGgfGames(PassGameText());
    ASSERT_EQ(games.size(), 1u);
    RecordGame game = games[0].game;
    game.kinds[0] = 3;
    // From the middle of the history: the whole game is written all the same.
    LastMoves last;
    for (int k = 0; k < 20; ++k) NavigateHistory(game.position, game.record, HistoryStep::Back, last);
    const RecordTime when = {2026, 12, 8, 9, 5, 7};
    const std::string text = ComposeGgfText(game.position, game.record, game.kinds, when);
    EXPECT_EQ(text.rfind("(;GM[Othello]PC[Tavix]DT[2026.12.08_09:05:07]PB[ｺﾝﾋﾟｭｰﾀ 3]PW[人 間]RE[-1.000]TY[8]"
                         "BO[8 -------- -------- -------- ---O*--- ---*O--- -------- -------- -------- *]B[e6//0]W[d6//1]",
                         0),
              0u);
    EXPECT_NE(text.find("B[PA//0]W[g7//58]"), std::string::npos);
    const std::vector<GgfGame> back = ReadGgfGames(text);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(Plies(back[0].game), Plies(game));
    EXPECT_EQ(back[0].game.kinds[0], 3);
    EXPECT_EQ(back[0].game.kinds[1], -1);

    // A game not over has no result; a set-up start with White to move
    // comes back as it was.
    Position start;
    ASSERT_TRUE(ParsePositionText("---------------------------OX------XXX-------------------------- O", start));
    RecordGame open;
    open.position = start;
    ResetHistory(open.record);
    FlipRecord flips{};
    ASSERT_GT(PlayMove(open.position, 46, White, flips), 0);
    ASSERT_TRUE(AppendPly(open.record, 46, flips, 12));
    open.position.sideToMove = 0;
    open.kinds[0] = open.kinds[1] = -1;
    const std::string openText = ComposeGgfText(open.position, open.record, open.kinds, when);
    EXPECT_EQ(openText.find("RE["), std::string::npos);
    const std::vector<GgfGame> openBack = ReadGgfGames(openText);
    ASSERT_EQ(openBack.size(), 1u);
    Position backStart;
    GameStart(openBack[0].game.position, openBack[0].game.record, backStart);
    EXPECT_EQ(PositionText(backStart), PositionText(start));
    EXPECT_EQ(Plies(openBack[0].game), (std::vector<std::pair<Square, int>>{{46, 12}}));
}

}  // namespace
