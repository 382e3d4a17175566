#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/board.h"
#include "core/notation.h"
#include "research/analysis_form.h"

namespace {

// Plays a transcript ("e6f4...", "pass" nowhere: passes are made where the
// side to move has no move) from the initial position.
Position AfterTranscript(const std::string& moves) {
    Position pos;
    InitBoard(pos);
    pos.sideToMove = 0;
    pos.legalMoveCount = CountLegalMoves(pos, 0);
    for (size_t i = 0; i + 1 < moves.size(); i += 2) {
        if (pos.legalMoveCount == 0) {
            pos.sideToMove ^= 1;
            pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
        }
        FlipRecord flips;
        EXPECT_GT(PlayMove(pos, ParseSquareCode(moves.substr(i, 2).c_str()), ColourOfSide(pos.sideToMove), flips), 0)
            << moves.substr(i, 2);
        pos.sideToMove ^= 1;
        pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
    }
    return pos;
}

}  // namespace

TEST(AnalysisForm, OpeningOffersSolvingFromMove30AndKeepsAFittingMoveCount) {
    AnalysisParams stored;
    stored.method = 0;
    stored.depth = 7;
    stored.topN = 5;
    struct Case {
        int moveNumber, legalMoveCount, method, topN;
    } const cases[] = {
        {29, 8, 1, 5},  // more than 30 empty squares: the evaluation function
        {30, 8, 0, 5},  // solving offered: the stored method stands
        {45, 5, 0, 5},  // exactly as many moves as asked for
        {45, 4, 0, 0},  // fewer moves than asked for: every move
        {45, 1, 0, 0},
    };
    for (const Case& c : cases) {
        const AnalysisParams shown = ParamsShownOnOpening(stored, c.moveNumber, c.legalMoveCount);
        EXPECT_EQ(shown.method, c.method) << "move " << c.moveNumber;
        EXPECT_EQ(shown.topN, c.topN) << c.legalMoveCount << " legal moves";
        EXPECT_EQ(shown.depth, 7);
    }
}

TEST(AnalysisForm, MoveCountListHoldsAllThenEachCount) {
    const std::string all = "\x91\x53" "\x82\xC4";  // 全て
    const std::string te = "\x8E\xE8";               // 手
    EXPECT_EQ(TopNChoices(1), (std::vector<std::string>{all, "1" + te}));
    const std::vector<std::string> twelve = TopNChoices(12);
    ASSERT_EQ(twelve.size(), 13u);
    EXPECT_EQ(twelve[0], all);
    EXPECT_EQ(twelve[10], "10" + te);
    EXPECT_EQ(twelve[12], "12" + te);
}

TEST(AnalysisForm, FieldTextReadIntoRangeOrLeftAtItsLastValue) {
    struct Case {
        const char* text;
        int value;
    } const cases[] = {
        {"500", 500},   {" -12 ", -12}, {"+7", 7},     {"0", 0},          {"998", 998},
        {"999", 998},   {"-1000", -999}, {"123456789012345", 998},       {"-99999999999", -999},
        {"", 42},       {"-", 42},      {"abc", 42},   {"12a", 42},       {"1 2", 42},
        {"\x82\x50", 42},  // a full-width digit is no number here
    };
    for (const Case& c : cases) EXPECT_EQ(ReadFieldValue(c.text, AlphaRange, 42), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ReadFieldValue("70", SolveHiRange, 0), 64);
    EXPECT_EQ(ReadFieldValue("-70", SolveLoRange, 0), -64);
}

TEST(AnalysisForm, WindowEndsKeptInOrderWithinTheirRanges) {
    int high = 200;
    EXPECT_TRUE(KeepOrderAfterLow(500, high));
    EXPECT_EQ(high, 501);
    high = 200;
    EXPECT_TRUE(KeepOrderAfterLow(200, high)) << "equal ends are no window";
    EXPECT_EQ(high, 201);
    high = 300;
    EXPECT_FALSE(KeepOrderAfterLow(200, high));
    EXPECT_EQ(high, 300);
    int low = 30;
    EXPECT_TRUE(KeepOrderAfterHigh(low, -5));
    EXPECT_EQ(low, -6);
    low = -10;
    EXPECT_FALSE(KeepOrderAfterHigh(low, -5));
    EXPECT_EQ(low, -10);

    // Each end at its extreme still leaves the other end inside its range.
    const FieldRange pairs[2][2] = {{AlphaRange, BetaRange}, {SolveLoRange, SolveHiRange}};
    for (const auto& p : pairs) {
        int hi = p[1].lo;
        KeepOrderAfterLow(p[0].hi, hi);
        EXPECT_EQ(hi, p[1].hi);
        int lo = p[0].hi;
        KeepOrderAfterHigh(lo, p[1].lo);
        EXPECT_EQ(lo, p[0].lo);
    }
}

TEST(AnalysisForm, ControlsReadBackIntoParameters) {
    AnalysisControls c = {false, 19, -100, 250, -1, 1, 2, 3};
    AnalysisParams p = ReadBackParams(c);
    EXPECT_EQ(p.method, 0);
    EXPECT_EQ(p.depth, 20);
    EXPECT_EQ(p.alpha, -100);
    EXPECT_EQ(p.beta, 250);
    EXPECT_EQ(p.solveLo, -1);
    EXPECT_EQ(p.solveHi, 1);
    EXPECT_EQ(p.weightSet, 2);
    EXPECT_EQ(p.topN, 3);
    c = {true, 0, -999, 999, -64, 64, -1, 0};
    p = ReadBackParams(c);
    EXPECT_EQ(p.method, 1);
    EXPECT_EQ(p.depth, 1);
    EXPECT_EQ(p.weightSet, 0) << "no weight button on: set A";
    EXPECT_EQ(p.topN, 0);
}

TEST(AnalysisForm, ResultTitleAndLines) {
    AnalysisParams p;
    p.depth = 12;
    EXPECT_EQ(AnalysisTitleSuffix(p), " - 12\x8E\xE8\x90\xE6\x93\xC7\x82\xDD");  // " - 12手先読み"
    p.method = 0;
    EXPECT_EQ(AnalysisTitleSuffix(p), " - \x93\xC7\x82\xDD\x90\xD8\x82\xE8");    // " - 読み切り"

    const Square f5[] = {56, 0};
    const Square a1[] = {11, 65, 0};
    // " %2d  %s  %6s": rank, full-width square, value right-aligned in six.
    EXPECT_EQ(ResultLineText(1, {f5, 12}), "  1  \x82\x86\x82\x54     +12");
    EXPECT_EQ(ResultLineText(10, {a1, -5}), " 10  \x82\x81\x82\x50      -5");
    EXPECT_EQ(ResultLineText(3, {a1, 0}), "  3  \x82\x81\x82\x50       0");
}

// The line after c7 in this game: White's b8 leaves Black without a move,
// and White's h2 then takes Black's last disc.
TEST(AnalysisForm, LinePlayedWithAPassWhereTheSideToMoveHasNoMove) {
    Position pos = AfterTranscript("e6f4e3d2g3e7d6g5d3d7c7");
    ASSERT_EQ(pos.sideToMove, 1);
    const Square b8h2[] = {82, 28, 0};
    const LineToPlay whole = MakeLineToPlay(b8h2, true);
    std::vector<Square> played;
    int next = 0;
    Square move = -1;
    while (NextMoveOfLine(pos, whole, next, move)) {
        played.push_back(move);
        ASSERT_LE(played.size(), 4u);
        if (move > 0) {
            FlipRecord flips;
            ASSERT_GT(PlayMove(pos, move, ColourOfSide(pos.sideToMove), flips), 0);
        }
        pos.sideToMove ^= 1;
        pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
    }
    EXPECT_EQ(played, (std::vector<Square>{82, 0, 28}));
    EXPECT_EQ(pos.legalMoveCount, -1) << "the line ends the game";

    const LineToPlay first = MakeLineToPlay(b8h2, false);
    EXPECT_EQ(first.squares[0], 82);
    EXPECT_EQ(first.squares[1], 0);
    // A line as long as the longest a solve gives is kept whole.
    Square longLine[MaxLineLength + 1] = {};
    for (int i = 0; i < 30; ++i) longLine[i] = static_cast<Square>(11 + i % 8);
    EXPECT_EQ(MakeLineToPlay(longLine, true).squares[29], longLine[29]);
    EXPECT_EQ(MakeLineToPlay(nullptr, true).squares[0], 0);
}
