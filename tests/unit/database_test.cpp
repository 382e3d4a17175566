// The game database from archive files built byte by byte: what is read,
// what is refused and said, and what a position query answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/notation.h"
#include "core/position_text.h"
#include "database/game_database.h"

namespace {

// A whole game with one pass (Black has no move before White's last one)
// that ends with one square empty.
const char PassGame[] =
    "e6d6c6f4e3d2g4f6c1g3f5h4c4b6b7c3g5c5c2f3b5h6h5b2f2d3h3a6b3a2a7b8a8d7h7g2b4e2c7a4f7h2h1g6e7f8c8e8e1f1d8d1g8g1"
    "b1a1a5a3g7";

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// The header as the format lays it out, field by field.
std::string Header(int count, int nameCount, int gameYear) {
    return Bytes({20, 26, 12, 8, count & 0xFF, count >> 8 & 0xFF, 0, 0, nameCount & 0xFF, nameCount >> 8,
                  gameYear & 0xFF, gameYear >> 8, 8, 0, 0, 0});
}

std::string Name(const std::string& bytes, int width) {
    std::string field = bytes;
    field.resize(static_cast<std::size_t>(width), '\0');
    return field;
}

// One 68-byte game record; moves as a transcript, written as row * 10 + column.
std::string GameRecordBytes(int tournament, int black, int white, int blackDiscs, int theoretical,
                            const std::string& moves) {
    std::string s = Bytes({tournament, 0, black, 0, white, 0, blackDiscs, theoretical});
    for (std::size_t k = 0; k + 1 < moves.size(); k += 2) {
        const Square sq = ParseSquareCode(moves.substr(k, 2).c_str());
        s += static_cast<char>(sq);
    }
    s.resize(WthorGameSize, '\0');
    return s;
}

GameDatabase SmallDatabase() {
    const std::vector<DatabaseFile> files = {
        {"WTHOR.JOU", Header(0, 2, 0) + Name("M\xFCller Anna", 20) + Name("Jaro\x9A \x80uro", 20)},
        {"WTHOR.TRN", Header(0, 1, 0) + Name("Paris Open", 26)},
        {"WTH_2019.wtb", Header(3, 0, 2019) + GameRecordBytes(0, 0, 1, 40, 36, "f5d6c3d3c4") +
                             GameRecordBytes(0, 1, 0, 31, 30, PassGame) + GameRecordBytes(0, 1, 0, 20, 24, "e6f4e3")},
    };
    GameDatabase db;
    LoadDatabase(files, db);
    return db;
}

Position After(const std::string& moves) {
    Position pos;
    SetInitialPosition(pos);
    for (std::size_t k = 0; k + 1 < moves.size(); k += 2) {
        if (CountLegalMoves(pos, pos.sideToMove) == 0) pos.sideToMove ^= 1;
        FlipRecord flips;
        EXPECT_GT(PlayMove(pos, ParseSquareCode(moves.substr(k, 2).c_str()), ColourOfSide(pos.sideToMove), flips), 0)
            << moves.substr(k, 2);
        pos.sideToMove ^= 1;
    }
    int black, white;
    RecountPosition(pos, black, white);
    return pos;
}

std::string MovesText(const DatabaseAnswer& answer) {
    std::string text;
    for (const NextMoveStats& m : answer.moves)
        text += SquareCode(m.move) + ":" + std::to_string(m.games) + " ";
    return text;
}

TEST(GameDatabase, ReadsNamesInTheWesternCodePageAndEveryGameWithItsPassAndEarlyEnd) {
    const GameDatabase db = SmallDatabase();
    EXPECT_TRUE(db.problems.empty());
    ASSERT_EQ(db.players.size(), 2u);
    EXPECT_EQ(db.players[0], "M\xC3\xBCller Anna");
    EXPECT_EQ(db.players[1], "Jaro\xC5\xA1 \xE2\x82\xACuro");
    EXPECT_EQ(db.tournaments, std::vector<std::string>{"Paris Open"});
    ASSERT_EQ(db.games.size(), 3u);
    EXPECT_EQ(db.games[0].moveCount, 5);
    EXPECT_EQ(db.games[1].moveCount, 59);
    EXPECT_EQ(db.games[1].year, 2019);
    EXPECT_EQ(db.games[1].blackDiscs, 31);
    EXPECT_EQ(db.games[1].theoretical, 30);
}

TEST(GameDatabase, AnswersAPositionInItsOwnOrientationAcrossTheSymmetries) {
    const GameDatabase db = SmallDatabase();
    // The start: f5 once, e6 twice (the pass game and the turned f5 d6 c5).
    DatabaseAnswer start = QueryDatabase(db, After(""), {});
    EXPECT_EQ(MovesText(start), "e6:2 f5:1 ");
    EXPECT_EQ(start.games.size(), 3u);
    EXPECT_EQ(start.moves[0].blackWins, 0);
    EXPECT_EQ(start.moves[0].whiteWins, 2);
    EXPECT_EQ(start.moves[0].blackDiscs, 31 + 20);
    EXPECT_EQ(start.moves[1].blackWins, 1);

    // After f5 d6 the third game stands there turned over the a1-h8 diagonal;
    // its next move e3 shows as c5.
    const DatabaseAnswer fd = QueryDatabase(db, After("f5d6"), {});
    EXPECT_EQ(MovesText(fd), "c3:1 c5:1 ");
    ASSERT_EQ(fd.games.size(), 2u);
    // The same line turned by 180 degrees: the same games, the moves turned.
    const DatabaseAnswer turned = QueryDatabase(db, After("c4e3"), {});
    EXPECT_EQ(MovesText(turned), "f4:1 f6:1 ");
    // A game that ends at the position is listed without a next move.
    const DatabaseAnswer end = QueryDatabase(db, After("f5d6c3d3c4"), {});
    EXPECT_TRUE(end.moves.empty());
    EXPECT_EQ(end.games.size(), 1u);
    // Through the pass: the position before the last move has Black to
    // move in name, but only White can, and White's g7 follows.
    Position beforeLast = After(std::string(PassGame, sizeof PassGame - 3));
    const DatabaseAnswer passed = QueryDatabase(db, beforeLast, {});
    EXPECT_EQ(MovesText(passed), "g7:1 ");
}

TEST(GameDatabase, FiltersByPlayerOfEitherColourTournamentAndYears) {
    const GameDatabase db = SmallDatabase();
    struct Case {
        DatabaseFilter filter;
        std::size_t games;
    } cases[] = {
        {{"m\xC3\xBCLLER", "", 0, 65535}, 3},  // part of a name, any letter case, as Black or White
        {{"anna", "paris", 2019, 2019}, 3},
        {{"nobody", "", 0, 65535}, 0},
        {{"", "tokyo", 0, 65535}, 0},
        {{"", "", 2020, 2030}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(QueryDatabase(db, After(""), c.filter).games.size(), c.games) << c.filter.player;
}

TEST(GameDatabase, KeepsTheGoodRecordsOfDamagedFilesAndSaysWhere) {
    const std::string good = GameRecordBytes(0, 0, 1, 40, 40, "f5d6c3");
    const std::vector<DatabaseFile> files = {
        // Five games promised, two and a half held.
        {"CUT.wtb", Header(5, 0, 2001) + good + good + good.substr(0, 30)},
        // A move onto an occupied square, and a byte that is no square.
        {"BAD.WTB", Header(2, 0, 2002) + GameRecordBytes(0, 0, 1, 30, 30, "f5d6d6c3") +
                        GameRecordBytes(0, 0, 1, 30, 30, "f5")},
        {"SHORT.wtb", "\x14\x1A"},
        {"WTHOR.JOU", Header(0, 3, 0) + Name("Only One", 20)},
        {"notes.txt", "not read"},
    };
    std::vector<DatabaseFile> withBadSquare = files;
    withBadSquare[1].bytes[WthorHeaderSize + WthorGameSize + 9] = 99;
    GameDatabase db;
    LoadDatabase(withBadSquare, db);
    EXPECT_EQ(db.games.size(), 4u);
    EXPECT_EQ(db.gameFiles, 3);
    EXPECT_EQ(db.games[2].moveCount, 2);  // cut before the illegal third move
    EXPECT_EQ(db.games[3].moveCount, 1);
    EXPECT_EQ(db.players, std::vector<std::string>{"Only One"});
    std::vector<std::string> said;
    for (const DatabaseProblem& p : db.problems) said.push_back(DatabaseProblemText(p));
    const std::vector<std::string> expected = {
        "CUT.wtb: ヘッダの件数 5 はファイルより多く、読めた分だけ使います",
        "CUT.wtb: 3 件目が途中で切れています",
        "BAD.WTB: 1 件目の 3 手目は打てません。その前までを使います",
        "BAD.WTB: 2 件目の 2 手目は升目ではありません。その前までを使います",
        "SHORT.wtb: ヘッダが足りません (2 バイト)",
        "WTHOR.JOU: ヘッダの件数 3 はファイルより多く、読めた分だけ使います",
    };
    EXPECT_EQ(said, expected);
    EXPECT_TRUE(IsDatabaseFileName("c:\\base\\wthor.trn"));
    EXPECT_FALSE(IsDatabaseFileName("wthor.jou.bak"));
}

TEST(GameDatabase, WritesWhatItReads) {
    WthorHeader header;
    header.year = 26;
    header.month = 12;
    header.day = 8;
    header.count = 1;
    header.gameYear = 1999;
    WthorGame game;
    game.blackDiscs = 33;
    game.moves[0] = 56;
    const std::string bytes = ComposeWthorGames(header, {game});
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(WthorHeaderSize + WthorGameSize));
    EXPECT_EQ(bytes.substr(0, WthorHeaderSize), Header(1, 0, 1999));
    std::vector<WthorProblem> problems;
    WthorHeader read;
    const std::vector<WthorGame> games = ReadWthorGames(bytes, read, problems);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(read.gameYear, 1999);
    EXPECT_EQ(read.depth, 22);
    EXPECT_EQ(games[0].moves[0], 56);
    EXPECT_TRUE(problems.empty());
}

TEST(GameDatabase, LoadsAMatchedGameTurnedToTheBoardAtTheCurrentPly) {
    const GameDatabase db = SmallDatabase();
    const Position shown = After("f5d6");
    const DatabaseAnswer answer = QueryDatabase(db, shown, {});
    for (const GameMatch& match : answer.games) {
        RecordGame game;
        ASSERT_TRUE(DatabaseGameRecord(db, match, 2, game));
        EXPECT_EQ(HistoryIndex(game.record), 2);
        EXPECT_EQ(PositionText(game.position), PositionText(shown));
        EXPECT_EQ(game.record.endIndex, db.games[static_cast<std::size_t>(match.game)].moveCount);
    }
    // The pass game: 59 moves and the pass as plies, standing before g7.
    const Position beforeLast = After(std::string(PassGame, sizeof PassGame - 3));
    const DatabaseAnswer passed = QueryDatabase(db, beforeLast, {});
    ASSERT_EQ(passed.games.size(), 1u);
    RecordGame game;
    ASSERT_TRUE(DatabaseGameRecord(db, passed.games[0], 58, game));
    EXPECT_EQ(game.record.endIndex, 60);
    EXPECT_EQ(HistoryIndex(game.record), 58);
    EXPECT_EQ(game.position.legalMoveCount, 0);  // Black must pass here
}

}  // namespace
