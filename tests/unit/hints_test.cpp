// Hints: the steps of the job, every report against the analysis at its
// depth, the serial rule, the narrowing to the best N, when hints run, and
// how a value fits its square.
#include <gtest/gtest.h>

#include <vector>

#include "app/hint_rules.h"
#include "engine/hints.h"
#include "engine/search_control.h"
#include "engine_test_support.h"
#include "view/hint_layout.h"
#include "view/message_lines.h"

namespace {

// A midgame position, Black to move, 40 empty squares.
const char* const Move20 = "---O------OO------OOO----XXOXX----XOX---OOOOXX----OO------OO---- X";
// White to move with 15 empty squares.
const char* const Late15 = "-XOOXO--OXXXX---OXXXXX--OXOXXO-OOOOOOOO-OXOOOOO-OXXOOO--OOOOOO-- O";

struct Collected {
    std::vector<HintReport> reports;
};

void Collect(void* context, const HintReport& r) { static_cast<Collected*>(context)->reports.push_back(r); }

HintReport ReportOf(std::uint32_t serial, const Position& pos, int depth, bool exact,
                    std::vector<std::pair<Square, int>> moves = {}) {
    HintReport r;
    r.serial = serial;
    r.position = pos;
    r.step = {depth, exact};
    for (auto [sq, v] : moves) r.moves[r.count++] = {sq, v};
    return r;
}

}  // namespace

TEST(HintSteps, DeepenToTheDeepestDepthOrGoExactWithFewEmpties) {
    struct Case {
        int empties, deepest, exactEmpties;
        int midgameSteps;  // depths 1..n
        bool exact;
    };
    const Case cases[] = {
        {40, 16, 20, 16, false}, {21, 16, 20, 16, false}, {20, 16, 20, HintLeadDepth, true},
        {20, 3, 20, 3, true},    {12, 16, 0, 12, false},  {5, 16, 0, 5, false},
        {3, 16, 20, 3, true},    {40, 99, 20, MaxSearchDepth, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.empties << " empties, deepest " << c.deepest << ", exact " << c.exactEmpties);
        HintStep steps[MostHintSteps];
        const int n = PlanHintSteps(c.empties, {c.deepest, c.exactEmpties}, steps);
        ASSERT_EQ(n, c.midgameSteps + (c.exact ? 1 : 0));
        for (int i = 0; i < c.midgameSteps; ++i) EXPECT_EQ(steps[i].depth, i + 1);
        for (int i = 0; i < c.midgameSteps; ++i) EXPECT_FALSE(steps[i].exact);
        if (c.exact) {
            EXPECT_TRUE(steps[n - 1].exact && steps[n - 1].depth == c.empties);
        }
    }
}

// Every step values every legal move exactly as the analysis does at that
// depth (or solving), and the position comes back unchanged.
TEST(RunHints, EachStepValuesEveryMoveAsTheAnalysisDoes) {
    for (const char* text : {Move20, Late15}) {
        SCOPED_TRACE(text);
        Position pos = PositionFrom(text);
        const Position before = pos;
        EngineState es;
        Collected got;
        ASSERT_TRUE(RunHints(es, pos, {5, 15}, 7, {}, Collect, &got));
        EXPECT_TRUE(SamePosition(pos, before));
        const bool late = text == Late15;
        ASSERT_EQ(got.reports.size(), late ? 6u : 5u);
        const int legal = CountLegalMoves(before, before.sideToMove);
        for (std::size_t i = 0; i < got.reports.size(); ++i) {
            const HintReport& r = got.reports[i];
            EXPECT_EQ(r.serial, 7u);
            EXPECT_TRUE(SameHintPosition(r.position, before));
            EXPECT_EQ(r.last, i + 1 == got.reports.size());
            ASSERT_EQ(r.count, legal);
            AnalysisParams a;
            a.method = r.step.exact ? 0 : 1;
            a.depth = r.step.exact ? HintLeadDepth : r.step.depth;
            EXPECT_EQ(r.step.exact, late && i == 5);
            static ResultList results;
            static LineBuffer lines;
            EngineState fresh;
            Position copy = before;
            ASSERT_TRUE(RunAnalysis(fresh, copy, a, results, lines, {}));
            for (int k = 0; k < legal; ++k) {
                EXPECT_EQ(r.moves[k].square, results.entries[k].line[0]);
                EXPECT_EQ(r.moves[k].value, results.entries[k].value);
            }
        }
    }
}

TEST(RunHints, AStopReportsNothingMoreAndLeavesThePosition) {
    Position pos = PositionFrom(Move20);
    const Position before = pos;
    SearchControl control;
    ResetControl(control);
    RequestStop(control);
    JobHooks hooks;
    hooks.control = &control;
    EngineState es;
    Collected got;
    EXPECT_FALSE(RunHints(es, pos, {16, 20}, 1, hooks, Collect, &got));
    EXPECT_TRUE(got.reports.empty());
    EXPECT_TRUE(SamePosition(pos, before));
    // Nothing to value: no report, and the job is whole.
    Position over = PositionFromRows({"XXXXXXXX", "XXXXXXXX", "XXXXXXXX", "XXXXXXXX", "XXXXXXXX", "XXXXXXXX",
                                      "XXXXXXXX", "XXXXXXX-"});
    EXPECT_TRUE(RunHints(es, over, {16, 20}, 2, {}, Collect, &got));
    EXPECT_TRUE(got.reports.empty());
}

// The serial rule: a report from another job or of another position is
// dropped; a report never replaces a deeper one of its position.
TEST(AcceptHintReport, StaleReportsAreDroppedAndNeverOverwriteDeeperOnes) {
    const Position board = PositionFrom(Move20);
    Position other = board;
    other.sideToMove = 1;
    Position moved = board;
    moved.board[11] = Black;
    const HintReport shown5 = ReportOf(4, board, 5, false);
    const HintReport shownExact = ReportOf(4, board, 20, true);
    const HintReport shownElsewhere = ReportOf(3, moved, 9, false);
    struct Case {
        const char* what;
        HintReport report;
        const HintReport* shown;
        bool accepted;
    };
    const Case cases[] = {
        {"first of the running job", ReportOf(4, board, 1, false), nullptr, true},
        {"from a stopped job", ReportOf(3, board, 6, false), &shown5, false},
        {"from a later job than the running one", ReportOf(5, board, 6, false), &shown5, false},
        {"no job runs", ReportOf(4, board, 6, false), nullptr, true},
        {"of another side to move", ReportOf(4, other, 6, false), nullptr, false},
        {"of another board", ReportOf(4, moved, 6, false), nullptr, false},
        {"deeper", ReportOf(4, board, 6, false), &shown5, true},
        {"as deep, newer", ReportOf(4, board, 5, false), &shown5, true},
        {"shallower", ReportOf(4, board, 4, false), &shown5, false},
        {"exact over a depth", ReportOf(4, board, 20, true), &shown5, true},
        {"a depth over exact", ReportOf(4, board, 16, false), &shownExact, false},
        {"shallow, but what is shown is of another position", ReportOf(4, board, 1, false), &shownElsewhere, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(AcceptHintReport(c.report, c.what == std::string("no job runs") ? 0u : 4u, board, c.shown),
                  c.accepted && c.what != std::string("no job runs"));
    }
}

TEST(NarrowHints, TheBestNOfAWholeListWithTiesKept) {
    const Position board = PositionFrom(Move20);
    // As the search lists them at one depth: best first, but a narrowing must
    // not trust the order.
    const HintReport r = ReportOf(1, board, 3, false, {{52, -3}, {57, 4}, {15, 4}, {12, -19}, {62, 0}});
    struct Case {
        int best;
        std::vector<Square> squares;
    };
    const Case cases[] = {
        {0, {57, 15, 62, 52, 12}}, {1, {57, 15}}, {2, {57, 15}}, {3, {57, 15, 62}}, {5, {57, 15, 62, 52, 12}},
        {9, {57, 15, 62, 52, 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.best);
        HintMove out[MaxMoves];
        const int n = NarrowHints(r, c.best, out);
        std::vector<Square> squares;
        for (int i = 0; i < n; ++i) squares.push_back(out[i].square);
        EXPECT_EQ(squares, c.squares);
    }
    HintMark marks[MaxMoves];
    ASSERT_EQ(HintMarks(r, 0, marks), 5);
    EXPECT_TRUE(marks[0].best && marks[1].best && !marks[2].best);
    EXPECT_EQ(marks[0].text, "+4");
    EXPECT_EQ(marks[2].text, "0");
    EXPECT_EQ(marks[4].text, "-19");
}

TEST(HintsWanted, WhileTheBoardWaitsForAPersonOrACommandOnly) {
    const HintContext people = {AppMode::HumanTurn, true, false, {PersonPlayer, PersonPlayer}, 4, false, false};
    struct Case {
        const char* what;
        HintContext c;
        bool wanted;
    };
    auto with = [&](auto change) {
        HintContext c = people;
        change(c);
        return c;
    };
    const Case cases[] = {
        {"two people, a person to move", people, true},
        {"switched off", with([](HintContext& c) { c.switchOn = false; }), false},
        {"idle", with([](HintContext& c) { c.mode = AppMode::Idle; }), true},
        {"idle after a game with the computer",
         with([](HintContext& c) { c.mode = AppMode::Idle; c.kind[1] = 5; }), true},
        {"a person against the computer", with([](HintContext& c) { c.kind[1] = 5; }), false},
        {"a person against the computer, asked for",
         with([](HintContext& c) { c.kind[0] = 5; c.withComputer = true; }), true},
        {"the computer thinks",
         with([](HintContext& c) { c.mode = AppMode::ComputerThinking; c.withComputer = true; }), false},
        {"research", with([](HintContext& c) { c.mode = AppMode::Research; }), false},
        {"set-up", with([](HintContext& c) { c.mode = AppMode::BoardSetup; }), false},
        {"a dialog", with([](HintContext& c) { c.mode = AppMode::SettingsDialog; }), false},
        {"a menu is open", with([](HintContext& c) { c.activityPaused = true; }), false},
        {"the legal moves are marked", with([](HintContext& c) { c.legalMovesShown = true; }), false},
        {"a pass is due", with([](HintContext& c) { c.legalMoveCount = 0; }), false},
        {"the game is over", with([](HintContext& c) { c.mode = AppMode::Idle; c.legalMoveCount = -1; }), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HintsWanted(c.c), c.wanted);
    }
}

// The longest value fits its square's block at every display size, in a
// font that is never tiny; the depth line is one message line.
TEST(HintLayout, ValuesFitTheirSquaresAndTheDepthLineIsAMessageLine) {
    for (int u = 4; u <= 40; ++u) {
        const LayoutRect area = HintArea(u, 88);
        const LayoutRect square = SquareRect(u, 88);
        EXPECT_EQ(area.Width(), 4 * u - 5);
        EXPECT_EQ(area.Height(), 4 * u - 4);
        EXPECT_GT(area.left, square.left);
        EXPECT_LT(area.right, square.right);
        for (std::size_t length = 1; length <= 4; ++length) {
            const HintFontSize f = HintFontFor(u, length);
            EXPECT_GE(f.height, 8);
            EXPECT_GE(f.width, 3);
            if (u >= 5) {
                EXPECT_LE(f.width * static_cast<int>(length), area.Width()) << u << " " << length;
            }
        }
    }
    const std::string depth = HintDepthText({12, false}, "Depth %d", "Exact");
    EXPECT_EQ(depth.size(), std::size_t(MessageLineBytes));
    EXPECT_NE(depth.find("Depth 12"), std::string::npos);
    EXPECT_NE(HintDepthText({20, true}, "Depth %d", "Exact").find("Exact"), std::string::npos);
}
