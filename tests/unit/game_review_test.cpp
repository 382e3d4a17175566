// The game review: rows of a known game against the root loop and the
// solver, passes, a set-up start, the table and summary, and the opening
// found at any symmetry with the plies in book.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

#include "book/book_symmetry.h"
#include "core/notation.h"
#include "core/position_text.h"
#include "record/game_text.h"
#include "research/game_review.h"
#include "research/opening_names.h"
#include "tests/unit/book_test_support.h"
#include "tests/unit/cli_run.h"

namespace {

// 60 moves without a pass, first move c4.
const char* const KnownGame =
    "c4e3f6c5d3c6d6c2b4b5c3b6a5a6b3a3a7d7e7e6f5f4f7g4g5h5d2c1e1e8e2d1b1a4a2f8c7b8f3b2d8f1g1c8g3h2b7f2g6a8a1g7h8g8g2h1h7h6h4h3";

ReviewGame GameOf(const std::string& text) {
    static GameRecord history;
    Position pos;
    EXPECT_TRUE(PasteGame(text, pos, history).accepted) << text;
    return ReviewGameOf(pos, history);
}

ReviewResult& Reviewed(const ReviewGame& game, ReviewParams params) {
    static ReviewResult result;
    static EngineState es;
    PrepareReview(game, params, result);
    EXPECT_TRUE(RunGameReview(es, result, {}, {}));
    return result;
}

// Every move of pos valued by one root loop (all slots): its value for mv.
int RootLoopValue(const Position& at, const ReviewParams& p, bool exact, Square mv) {
    static EngineState es;
    static ResultList results;
    static LineBuffer lines;
    Position pos = at;
    AnalysisParams a;
    a.method = exact ? 0 : 1;
    a.depth = exact ? 0 : p.depth;
    a.weightSet = p.weightSet;
    a.topN = 0;
    RunAnalysis(es, pos, a, results, lines, {});
    for (int i = 0; results.entries[i].line; ++i)
        if (results.entries[i].line[0] == mv) return results.entries[i].value;
    ADD_FAILURE() << "move " << SquareCode(mv) << " not valued";
    return 0;
}

// The value of tavix-cli solve's first line: "rank move value line".
int SolvedValue(const CliRun& run) {
    if (run.lines.empty()) return 1000;
    std::istringstream in(run.lines[0]);
    std::string rank, move;
    int value = 1000;
    in >> rank >> move >> value;
    return value;
}

TEST(GameReview, KnownGameValuesEveryMoveAsTheRootLoopAndTheSolverDo) {
    ReviewParams p;
    p.depth = 4;
    p.weightSet = 1;
    p.exactFrom = 12;
    const ReviewGame game = GameOf(KnownGame);
    ReviewResult& r = Reviewed(game, p);
    ASSERT_EQ(r.rowCount, 60);
    EXPECT_EQ(r.valued, 60);
    int forced = 0, exact = 0;
    for (int i = 0; i < r.rowCount; ++i) {
        const ReviewRow& row = r.rows[i];
        SCOPED_TRACE("ply " + std::to_string(row.ply));
        EXPECT_EQ(row.ply, i + 1);
        EXPECT_EQ(row.side, i % 2);
        EXPECT_GE(row.loss, 0);
        EXPECT_EQ(row.loss, std::max(0, row.bestValue - row.playedValue));
        const Position before = ReviewPositionAt(game, row.ply - 1);
        int empties = 0;
        for (Square sq = 11; sq <= 88; ++sq) empties += before.board[sq] == Empty;
        EXPECT_EQ(row.exact, empties <= 12);
        if (row.forced) {
            ++forced;
            EXPECT_EQ(row.loss, 0);
            EXPECT_EQ(row.best, row.played);
        }
        // The played move's value is the one the root loop gives it beside
        // the others, and the best is at least every move's.
        EXPECT_EQ(row.playedValue, RootLoopValue(before, p, row.exact, row.played));
        EXPECT_EQ(row.bestValue, RootLoopValue(before, p, row.exact, row.best));
        if (row.exact) {
            ++exact;
            // The exact part is what tavix-cli solve answers for the position.
            const CliRun solve = RunCli("solve '" + PositionText(before) + "' --slots 1");
            ASSERT_EQ(solve.code, 0);
            ASSERT_FALSE(solve.lines.empty());
            EXPECT_EQ(SolvedValue(solve), row.bestValue) << solve.lines[0];
        }
    }
    EXPECT_EQ(exact, 12);
    EXPECT_GT(forced, 0);
}

TEST(GameReview, PassesHaveNoRowAndASetUpStartKeepsItsSideToMove) {
    // Black must pass after White's b8 (ply 13); White's h2 is ply 14.
    ReviewParams p;
    p.depth = 3;
    p.exactFrom = 0;
    ReviewResult& r = Reviewed(GameOf("e6f4e3d2g3e7d6g5d3d7c7b8h2"), p);
    ASSERT_EQ(r.rowCount, 13);
    EXPECT_EQ(r.rows[11].ply, 12);
    EXPECT_EQ(r.rows[12].ply, 14);
    EXPECT_EQ(r.rows[12].side, 1);
    EXPECT_EQ(SquareCode(r.rows[12].played), "h2");

    // A set-up position with White to move and 10 empty squares, all exact.
    const std::string start = "OOOOOOOOOXXXXXXO-XOOOXXO--XOXXXO-XXOXOXO-XOXXOOO--OOXXO---OOOO-- O";
    Position setUp;
    ASSERT_TRUE(ParsePositionText(start, setUp));
    Square first = 0;
    ASSERT_GT(CountLegalMoves(setUp, 1, &first), 0);
    ReviewGame game = GameOf(start + "\n" + SquareCode(first));
    EXPECT_EQ(game.start.sideToMove, 1);
    p.exactFrom = 20;
    ReviewResult& s = Reviewed(game, p);
    ASSERT_EQ(s.rowCount, 1);
    EXPECT_EQ(s.rows[0].side, 1);
    EXPECT_TRUE(s.rows[0].exact);
    const CliRun solve = RunCli("solve '" + start + "' --slots 1");
    ASSERT_FALSE(solve.lines.empty());
    EXPECT_EQ(SolvedValue(solve), s.rows[0].bestValue);
    EXPECT_EQ(FindOpening(game, NamedOpenings(), nullptr).namedMoves, 0);
}

TEST(GameReview, TableAndSummaryMatchTheRowsAndTheCli) {
    ReviewParams p;
    p.depth = 2;
    p.exactFrom = 8;
    ReviewResult& r = Reviewed(GameOf(KnownGame), p);
    OpeningInfo opening;
    opening.name = "Perpendicular Opening";
    opening.namedMoves = 2;
    const std::string table = ReviewTableText(r, opening);
    ReviewSideSummary s[2];
    SummariseReview(r, s);
    int loss[2] = {0, 0}, bad[2] = {0, 0}, dubious[2] = {0, 0};
    for (int i = 0; i < r.rowCount; ++i) {
        const ReviewRow& row = r.rows[i];
        loss[row.side] += row.loss;
        bad[row.side] += row.loss >= 8;
        dubious[row.side] += row.loss >= 4 && row.loss < 8;
    }
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(s[side].moves, 30);
        EXPECT_EQ(s[side].totalLoss, loss[side]);
        EXPECT_EQ(s[side].bad, bad[side]);
        EXPECT_EQ(s[side].dubious, dubious[side]);
    }
    EXPECT_EQ(ReviewRowText(r.rows[0], 2).substr(0, 7), "1\tB\tc4\t");
    EXPECT_NE(ReviewRowText(r.rows[59], 2).find("\texact"), std::string::npos);
    EXPECT_NE(ReviewRowText(r.rows[0], 2).find("\td2"), std::string::npos);
    EXPECT_NE(table.find("opening\tPerpendicular Opening\t2\n"), std::string::npos);

    // tavix-cli prints the same rows for the transcript and for its record.
    const CliRun cli = RunCli(std::string("review ") + KnownGame + " --depth 2 --exact 8 --book /nonexistent");
    const CliRun file = RunCli(std::string("review ") + TAVIX_SOURCE_DIR "/tests/data/review_game.rgm" +
                               " --depth 2 --exact 8 --book /nonexistent");
    ASSERT_EQ(cli.code, 0);
    EXPECT_EQ(cli.lines, file.lines);
    ASSERT_GE(cli.lines.size(), 60u);
    for (int i = 0; i < 60; ++i) EXPECT_EQ(cli.lines[i], ReviewRowText(r.rows[i], 2));

    for (const auto& [l, mark] : {std::pair{0, ReviewMark::None}, {3, ReviewMark::None}, {4, ReviewMark::Dubious},
                                  {7, ReviewMark::Dubious}, {8, ReviewMark::Bad}, {40, ReviewMark::Bad}})
        EXPECT_EQ(MarkOfLoss(l), mark) << l;
    ReviewParams wild;
    wild.depth = 21;
    wild.weightSet = 3;
    wild.exactFrom = -1;
    const ReviewParams fixed = CorrectReviewParams(wild);
    EXPECT_EQ(fixed.depth, 12);
    EXPECT_EQ(fixed.weightSet, 0);
    EXPECT_EQ(fixed.exactFrom, 20);
}

TEST(GameReview, OpeningIsTheLongestNamedLineAtAnySymmetryAndBookPliesCount) {
    // Tiger (f5d6c3d3c4) in its four forms, followed by a move off the line.
    LoadedBook b;
    LoadBookText(b, "f5d6c3d3c4f4 0\r\n");
    const Square tiger[6] = {56, 64, 33, 34, 43, 42};  // f5d6c3d3c4b4
    for (int symmetry = 0; symmetry < SymmetryCount; ++symmetry) {
        std::string game;
        for (Square sq : tiger) game += SquareCode(TransformSquare(symmetry, sq));
        SCOPED_TRACE(game);
        const OpeningInfo info = FindOpening(GameOf(game), NamedOpenings(), &b.book);
        EXPECT_EQ(info.name, "Tiger");
        EXPECT_EQ(info.namedMoves, 5);
        EXPECT_EQ(info.bookPlies, 5);
    }
    EXPECT_EQ(FindOpening(GameOf("f5"), NamedOpenings(), nullptr).name, "");
    const auto parsed = ParseNamedOpenings("# c\nA\tf5d6\r\nbad line\nB\tf5z9\n\nC\tf5f6e6\n");
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[1].name, "C");
    EXPECT_EQ(parsed[1].moves.size(), 3u);
    EXPECT_GT(NamedOpenings().size(), 80u);
}

}  // namespace

TEST(ReviewSettings, StoredValuesOutOfRangeTakeTheirDefaultsAndAreWrittenBack) {
    struct Case {
        std::optional<std::uint32_t> depth, weights, exact;
        ReviewParams want;
        bool back[3];
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, std::nullopt, {12, 0, 20}, {true, true, true}},
        {1u, 2u, 0u, {1, 2, 0}, {false, false, false}},
        {20u, 0u, 30u, {20, 0, 30}, {false, false, false}},
        {21u, 3u, 31u, {12, 0, 20}, {true, true, true}},
        {0u, 0xFFFFFFFFu, 16u, {12, 0, 16}, {true, true, false}},
    };
    for (const Case& c : cases) {
        const std::optional<std::uint32_t> stored[ReviewSettingCount] = {c.depth, c.weights, c.exact};
        const CheckedReviewSettings checked = CheckStoredReviewSettings(stored);
        EXPECT_EQ(checked.params.depth, c.want.depth);
        EXPECT_EQ(checked.params.weightSet, c.want.weightSet);
        EXPECT_EQ(checked.params.exactFrom, c.want.exactFrom);
        for (int i = 0; i < ReviewSettingCount; ++i) EXPECT_EQ(checked.writeBack[i], c.back[i]) << i;
    }
    EXPECT_STREQ(ReviewSettingNames[ReviewExactValue], "ReviewExact");
}
