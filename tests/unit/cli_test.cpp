// tavix-cli as a script sees it: output lines, positions given for either
// side to move, and refusal of bad arguments.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/notation.h"
#include "core/position_text.h"
#include "tests/unit/cli_run.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::string Quoted(const Position& pos) {
    std::string text = PositionText(pos);
    text.insert(text.begin(), '\'');
    text.push_back('\'');
    return text;
}

// A late-game position with white to move and ten empty squares.
const char* const kEndgame = "--XXXXX--OOOXX-O-OOOXXOX-OXOXOXXOXXXOXXX--XOXOXX-XXXOOO--OOOOO-X O";

}  // namespace

TEST(Cli, PerftCountsPerDepth) {
    const CliRun run = RunCli("perft 5");
    ASSERT_EQ(run.code, 0);
    ASSERT_EQ(run.lines.size(), 6u);
    const char* expected[] = {"1 4", "2 12", "3 56", "4 244", "5 1396"};
    for (int d = 0; d < 5; ++d) EXPECT_EQ(run.lines[d], expected[d]);
    EXPECT_EQ(run.lines[5].rfind("time ", 0), 0u);
}

TEST(Cli, SolvedValueIsNegatedOneMoveLater) {
    // The best move's exact value for the side to move must be the negated
    // best value of the opponent after that move: checks the colour exchange
    // for white, the position text and the result lines together.
    const CliRun first = RunCli(std::string("solve '") + kEndgame + "'");
    ASSERT_EQ(first.code, 0);
    ASSERT_FALSE(first.lines.empty());
    const auto best = Words(first.lines[0]);
    ASSERT_GE(best.size(), 4u);
    EXPECT_EQ(best[0], "1");
    const int value = std::stoi(best[2]);

    Position pos;
    ASSERT_TRUE(ParsePositionText(kEndgame, pos));
    FlipRecord flips;
    const Square move = ParseSquareCode(best[1].c_str());
    ASSERT_GT(PlayMove(pos, move, ColourOfSide(pos.sideToMove), flips), 0);
    pos.sideToMove = 1 - pos.sideToMove;
    int black, white;
    RecountPosition(pos, black, white);
    ASSERT_GT(pos.legalMoveCount, 0);  // the opponent can answer here

    const CliRun second = RunCli("solve " + Quoted(pos));
    ASSERT_EQ(second.code, 0);
    ASSERT_FALSE(second.lines.empty());
    EXPECT_EQ(std::stoi(Words(second.lines[0])[2]), -value);

    // Listed best first, every legal move once.
    int previous = 65;
    for (const std::string& line : first.lines) {
        const int v = std::stoi(Words(line)[2]);
        EXPECT_LE(v, previous) << line;
        previous = v;
    }
    Position start;
    ParsePositionText(kEndgame, start);
    EXPECT_EQ(static_cast<int>(first.lines.size()), start.legalMoveCount);
}

TEST(Cli, LevelNinePlaysThePerfectMoveAtTenEmpties) {
    const CliRun solve = RunCli(std::string("solve '") + kEndgame + "' --slots 1");
    const CliRun move = RunCli(std::string("move '") + kEndgame + "' 9 --seed 7");
    ASSERT_EQ(solve.code, 0);
    ASSERT_EQ(move.code, 0);
    ASSERT_EQ(move.lines.size(), 1u);
    const auto m = Words(move.lines[0]);
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[1], "perfect");
    EXPECT_EQ(m[0], Words(solve.lines[0])[1]);
    EXPECT_EQ(m[3], Words(solve.lines[0])[2]);
}

TEST(Cli, SearchWindowClampsReportedValues) {
    Position pos;
    SetInitialPosition(pos);
    const CliRun run = RunCli("search " + Quoted(pos) + " 3 --slots 4 --window -1 1");
    ASSERT_EQ(run.code, 0);
    ASSERT_EQ(run.lines.size(), 4u);
    for (const std::string& line : run.lines) {
        const int v = std::stoi(Words(line)[2]);
        EXPECT_GE(v, -1) << line;
        EXPECT_LE(v, 1) << line;
    }
}

TEST(Cli, BadArgumentsAreRefused) {
    EXPECT_EQ(RunCli("").code, 2);
    EXPECT_EQ(RunCli("bogus").code, 2);
    EXPECT_EQ(RunCli("perft 0").code, 2);
    EXPECT_EQ(RunCli("perft x").code, 2);
    EXPECT_EQ(RunCli("eval 'XO'").code, 2);
    EXPECT_EQ(RunCli(std::string("search '") + kEndgame + "' 99").code, 2);
    EXPECT_EQ(RunCli(std::string("move '") + kEndgame + "' 10").code, 2);
    std::string badBoard = "solve '";
    badBoard.append(64, 'Z');
    badBoard += " X'";
    EXPECT_EQ(RunCli(badBoard).code, 2);
}

// record new writes a record that record show reads back; a missing or
// foreign file is refused with the program's own message.
TEST(Cli, RecordNewAndShow) {
    const std::string file = testing::TempDir() + "tavix_cli_record.rgm";
    ASSERT_EQ(RunCli("record new 'F5 d6 2. C3 d3 c4' > " + file).code, 0);
    const CliRun show = RunCli("record show " + file);
    ASSERT_EQ(show.code, 0);
    std::vector<std::string> expected = {"black person", "white person",
                                         "start ---------------------------OX------XO--------------------------- X",
                                         "01 f5 00:00:00", "02 d6 00:00:00", "03 c3 00:00:00", "04 d3 00:00:00",
                                         "05 c4 00:00:00", "transcript f5d6c3d3c4"};
    ASSERT_GE(show.lines.size(), expected.size() + 2);
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(show.lines[i], expected[i]);
    Position final;
    SetInitialPosition(final);
    for (const char* move : {"f5", "d6", "c3", "d3", "c4"}) {
        FlipRecord flips;
        ASSERT_GT(PlayMove(final, ParseSquareCode(move), ColourOfSide(final.sideToMove), flips), 0);
        final.sideToMove ^= 1;
    }
    EXPECT_EQ(show.lines[expected.size()], "final " + PositionText(final));
    EXPECT_EQ(show.lines[expected.size() + 1], "discs black 6 white 3");

    const CliRun missing = RunCli("record show " + file + ".none");
    EXPECT_EQ(missing.code, 1);
    ASSERT_GE(missing.lines.size(), 2u);
    EXPECT_EQ(missing.lines[1], "このﾌｧｲﾙが見つかりません。");
    ASSERT_EQ(RunCli("record show /dev/null").code, 1);
    EXPECT_EQ(RunCli("record show /dev/null").lines.at(1), "このﾌｧｲﾙは棋譜ﾌｧｲﾙではありません。");
    EXPECT_EQ(RunCli("record new garbage").code, 1);
    std::remove(file.c_str());
}

// tavix-cli book as a book author and a script use it: the linter's lines
// and exit code, the book moves of a position (also a mirrored one) and the
// size of a book.
TEST(CliBook, CheckMovesAndStats) {
    const std::string dir = ::testing::TempDir();
    const std::string bad = dir + "/tavix-cli-bad.std", good = dir + "/tavix-cli-good.std";
    {
        FILE* f = std::fopen(bad.c_str(), "wb");
        std::fputs("f5d6c3d3c4 +2\r\nf5d6+3\r\nf5d6c5 -1\r\nf5d6c5 +4\r\n", f);
        std::fclose(f);
        f = std::fopen(good.c_str(), "wb");
        std::fputs("; good\r\nf5d6c3d3c4 +2\r\nf5d6c5 -1\r\nf5f6e6f4 +5\r\nf5f4 +0\r\n", f);
        std::fclose(f);
    }
    CliRun run = RunCli("book check " + bad);
    EXPECT_EQ(run.code, 1);
    ASSERT_EQ(run.lines.size(), 3u);
    EXPECT_EQ(run.lines[0], "2行目: この行の内容に誤りがあります。");
    EXPECT_EQ(run.lines[1], "4行目: この手順と全く同一の手順が既に読み込まれています。");
    EXPECT_EQ(run.lines[2], "ｴﾗｰのある行が全部で2行見つかりました。");
    run = RunCli("book check " + good);
    EXPECT_EQ(run.code, 0);

    run = RunCli("book moves f5 --book " + good);
    ASSERT_EQ(run.code, 0);
    ASSERT_EQ(run.lines.size(), 4u);
    EXPECT_EQ(run.lines[0], "  1  d6        +1         2");
    EXPECT_EQ(Words(run.lines[1]), (std::vector<std::string>{"2", "f4", "0", "1"}));
    EXPECT_EQ(Words(run.lines[2]), (std::vector<std::string>{"3", "f6", "-5", "1"}));
    EXPECT_EQ(run.lines[3], "使用ｾﾙ数 10");
    // c4 e3 is f5 d6 turned half round: the real squares are listed.
    run = RunCli("book moves c4e3 --minimax --book " + good);
    ASSERT_EQ(run.lines.size(), 3u);
    EXPECT_EQ(Words(run.lines[0])[1], "f6");
    EXPECT_EQ(Words(run.lines[1])[1], "f4");
    Position pos;
    SetInitialPosition(pos);
    run = RunCli("book moves " + Quoted(pos) + " --book " + good);
    EXPECT_EQ(Words(run.lines[0]), (std::vector<std::string>{"1", "f5", "+5", "4"}));
    run = RunCli("book moves f5f4 --book " + good);
    EXPECT_EQ(run.lines[0], "no book move");

    run = RunCli("book stats " + good);
    ASSERT_EQ(run.code, 0);
    ASSERT_GE(run.lines.size(), 7u);
    EXPECT_EQ(run.lines[0], "lines 5");
    EXPECT_EQ(run.lines[1], "book lines 4");
    EXPECT_EQ(run.lines[3], "nodes 10");
    EXPECT_EQ(run.lines[5], "deepest line 5 moves");

    EXPECT_EQ(RunCli("book check " + dir + "/no-such-book.std").code, 2);
    EXPECT_EQ(RunCli("book moves zz --book " + good).code, 2);
    EXPECT_EQ(RunCli("book sort " + good).code, 2);
    std::remove(bad.c_str());
    std::remove(good.c_str());
}

// solve --obf checks every move's score where a line gives them all (here
// from the fixed tree, --literal), the best move's where it gives only that
// (the shipped FFO #40), prints nodes and time per position, and fails on a
// wrong score; a position beyond the solver's reach is skipped.
TEST(Cli, BoardFileScoresAreCheckedMoveByMove) {
    const CliRun literal = RunCli(std::string("solve '") + kEndgame + "' --literal");
    ASSERT_EQ(literal.code, 0);
    std::string board(kEndgame);
    std::string right = board.substr(0, 64) + " " + board.substr(65), wrong = right;
    for (std::size_t i = 0; i < literal.lines.size(); ++i) {
        const auto w = Words(literal.lines[i]);
        right += "; " + w[1] + ":" + w[2];
        // The last move's score off by two.
        wrong += "; " + w[1] + ":" + (i + 1 < literal.lines.size() ? w[2] : std::to_string(std::stoi(w[2]) + 2));
    }
    std::string ffo40;
    {
        std::ifstream shipped(std::string(__FILE__).substr(0, std::string(__FILE__).rfind("/unit/")) +
                              "/data/ffo_40_59.obf");
        for (std::string line; std::getline(shipped, line);)
            if (line.find("% #40") != std::string::npos) ffo40 = line;
    }
    ASSERT_FALSE(ffo40.empty());
    const std::string far = "-----------------------O--OOOOO---OOOOOXOOOOXXXX--XXOOXX--XX-O-X X; H4:+64; % #59";
    const std::string path = ::testing::TempDir() + "tavix_scores.obf";
    auto check = [&](const std::string& content, const char* options) {
        std::ofstream(path) << "% a comment line\n" << content;
        return RunCli("solve --obf " + path + " " + options);
    };
    const CliRun good = check(right + " % ten\n" + ffo40 + "\n" + far + "\n", "--threads 2");
    EXPECT_EQ(good.code, 0);
    ASSERT_EQ(good.lines.size(), 5u);
    const auto ten = Words(good.lines[1]), forty = Words(good.lines[2]);
    ASSERT_EQ(ten.size(), 9u);
    EXPECT_EQ(ten[0], "ten");
    EXPECT_EQ(ten[2], "all");
    EXPECT_EQ(ten[3], Words(literal.lines[0])[1]);
    EXPECT_GT(std::stoull(ten[5]), 0u);  // nodes
    EXPECT_EQ(ten[8], "ok");
    ASSERT_EQ(forty.size(), 9u);
    EXPECT_EQ(forty[0], "#40");
    EXPECT_EQ(forty[2], "best");
    EXPECT_EQ(forty[3], "a2");
    EXPECT_EQ(forty[4], "+38");
    EXPECT_EQ(forty[8], "ok");
    EXPECT_NE(good.lines[3].find("skipped"), std::string::npos);
    EXPECT_EQ(good.lines[4].rfind("2 positions, 0 wrong", 0), 0u);

    // --only picks positions by the number of their name, else their place.
    const CliRun only = check(right + " % ten\n" + ffo40 + "\n" + right + "\n", "--only 3-40 --threads 1");
    ASSERT_EQ(only.lines.size(), 4u);
    EXPECT_EQ(Words(only.lines[1])[0], "#40");
    EXPECT_EQ(Words(only.lines[2])[0], "#3");
    EXPECT_EQ(check(ffo40 + "\n", "--only 41-40").code, 2);

    const CliRun bad = check(wrong + "\n", "--threads 1");
    EXPECT_EQ(bad.code, 1);
    ASSERT_EQ(bad.lines.size(), 3u);
    EXPECT_NE(bad.lines[1].find("WRONG"), std::string::npos);
    EXPECT_EQ(bad.lines[2].rfind("1 positions, 1 wrong", 0), 0u);
    std::remove(path.c_str());
}
