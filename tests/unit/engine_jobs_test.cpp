#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "engine/endgame.h"
#include "engine/evaluation.h"
#include "engine/jobs.h"
#include "engine/random.h"
#include "engine_test_support.h"

namespace {

// A position with the given empties and at least two legal moves for the side to move.
Position PositionWithChoice(std::mt19937& rng, int empties) {
    for (;;) {
        Position pos = RandomPosition(rng, empties);
        if (CountEmpties(pos) == empties && pos.legalMoveCount >= 2) return pos;
    }
}

// A midgame position where a deep search takes long enough to be stopped.
Position BusyPosition() {
    std::mt19937 rng(1234);
    return PositionWithChoice(rng, 40);
}

}  // namespace

TEST(LevelTable, DepthAndModeByEmptySquares) {
    auto is = [](int level, int e, int depth, SearchMode mode) {
        const LevelSearch s = LookUpLevel(level, e);
        EXPECT_EQ(s.depth, depth) << level << " " << e;
        EXPECT_EQ(s.mode, mode) << level << " " << e;
    };
    is(0, 2, 1, SearchMode::Midgame);
    is(0, 50, 1, SearchMode::Midgame);
    is(3, 11, 4, SearchMode::Midgame);
    is(3, 9, 4, SearchMode::WinLoss);
    is(3, 8, 4, SearchMode::Perfect);
    is(9, 31, 9, SearchMode::Midgame);
    is(9, 30, 10, SearchMode::Midgame);
    is(9, 20, 10, SearchMode::Midgame);
    is(9, 19, 10, SearchMode::WinLoss);
    is(9, 18, 10, SearchMode::WinLoss);
    is(9, 17, 10, SearchMode::Perfect);
    is(1, 2, 2, SearchMode::Perfect);
    is(1, 3, 2, SearchMode::WinLoss);
}

TEST(ChooseComputerMove, ForcedMovesAndPassesComeAtOnce) {
    EngineState es;
    JobHooks hooks;
    int bookCalls = 0;
    hooks.book = {&bookCalls, [](void* ctx, Position&, int, const ThinkingDisplay*) {
                      ++*static_cast<int*>(ctx);
                      return 11;
                  },
                  nullptr};
    // White must pass: black to... the side to move has no move.
    Position pass = PositionFromRows({"OOOOOOOO", "OOOOOOOO", "OOOOOOOO", "OOOOOOOO", "OOOOOOOO",
                                      "OOOOOOOO", "OOOOOOOO", "-XOOOOOO"});
    ASSERT_EQ(pass.legalMoveCount, 0);
    const auto t0 = std::chrono::steady_clock::now();
    ComputerMove m = ChooseComputerMove(es, pass, 9, 30, false, hooks);
    EXPECT_EQ(m.move, 0);
    EXPECT_EQ(m.source, MoveSource::Forced);
    // One legal move: white's a8.
    Position one = pass;
    one.sideToMove = 1;
    int b, w;
    RecountPosition(one, b, w);
    ASSERT_EQ(one.legalMoveCount, 1);
    m = ChooseComputerMove(es, one, 9, 30, false, hooks);
    EXPECT_EQ(m.move, 81);
    EXPECT_EQ(m.source, MoveSource::Forced);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10));  // well inside the 30 s thinking time
    EXPECT_EQ(bookCalls, 0);
}

TEST(ChooseComputerMove, BookMoveWinsWithoutSearchButOnlyWhenLegal) {
    EngineState es;
    Position pos;
    SetInitialPosition(pos);
    JobHooks hooks;
    int answer = 56;
    static const ThinkingDisplay display = {nullptr, nullptr, nullptr};
    static const ThinkingDisplay* displayGiven = nullptr;
    hooks.display = &display;
    hooks.book = {&answer, [](void* ctx, Position& p, int moveNumber, const ThinkingDisplay* d) {
                      EXPECT_EQ(moveNumber, p.moveNumber);
                      displayGiven = d;
                      return *static_cast<int*>(ctx);
                  },
                  nullptr};
    const auto t0 = std::chrono::steady_clock::now();
    ComputerMove m = ChooseComputerMove(es, pos, 5, 30, false, hooks);
    EXPECT_EQ(m.move, 56);
    EXPECT_EQ(m.source, MoveSource::Book);
    EXPECT_EQ(m.nodes, 0u);
    EXPECT_EQ(displayGiven, nullptr) << "the thinking display is off";
    m = ChooseComputerMove(es, pos, 5, 30, true, hooks);
    EXPECT_EQ(m.source, MoveSource::Book);
    EXPECT_EQ(displayGiven, &display) << "the book shows its value in the thinking display";
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10)) << "no 30 s thinking time";
    answer = 11;  // not a legal move here: the search decides
    m = ChooseComputerMove(es, pos, 2, 0, false, hooks);
    EXPECT_EQ(m.source, MoveSource::Midgame);
    EXPECT_TRUE(CanPlay(pos, m.move, Black));
    answer = -1;
    m = ChooseComputerMove(es, pos, 2, 0, false, hooks);
    EXPECT_EQ(m.source, MoveSource::Midgame);
}

TEST(ChooseComputerMove, LevelsPickModeAndDepthByEmptySquares) {
    std::mt19937 rng(77);
    EngineState es;
    struct Case {
        int level, empties;
        MoveSource source;
        int depth;
    };
    const Case cases[] = {{3, 9, MoveSource::WinLoss, 3},
                          {3, 8, MoveSource::Perfect, 8},
                          {3, 11, MoveSource::Midgame, 4},
                          {0, 2, MoveSource::Midgame, 1}};
    for (const Case& c : cases) {
        Position pos = PositionWithChoice(rng, c.empties);
        const Position before = pos;
        SeedRandom(99);
        const ComputerMove m = ChooseComputerMove(es, pos, c.level, 0, false, {});
        EXPECT_EQ(m.source, c.source) << c.level << " " << c.empties;
        EXPECT_EQ(m.depth, c.depth) << c.level << " " << c.empties;
        EXPECT_TRUE(SamePosition(pos, before));
        EXPECT_TRUE(CanPlay(pos, m.move, ColourOfSide(pos.sideToMove)));
        // The same search run by hand with the weight set the job drew.
        Position mine = pos;
        if (mine.sideToMove == 1) SwapColours(mine);
        EngineState ref;
        SelectWeights(ref, m.weightSet);
        const int e = BuildEmptyList(ref, mine);
        ResultList results;
        LineBuffer lines;
        if (c.source == MoveSource::Midgame)
            SearchRoot(ref, mine, c.depth, -999, 999, 1, results, lines, false, {0, 0});
        else if (c.source == MoveSource::WinLoss)
            SolveRoot(ref, mine, e, -1, 1, c.depth, -999, 999, 1, results, lines, false, {0, 0});
        else
            SolveRoot(ref, mine, e, -64, 64, 0, -999, 999, 1, results, lines, false, {0, 0});
        EXPECT_EQ(m.move, results.entries[0].line[0]);
        EXPECT_EQ(m.value, results.entries[0].value);
    }
}

TEST(ChooseComputerMove, WhiteSearchesTheExchangedBoardAndGetsItBack) {
    std::mt19937 rng(88);
    EngineState es;
    int checked = 0;
    for (int i = 0; checked < 4; ++i) {
        Position pos = PositionWithChoice(rng, 5 + i % 6);
        if (pos.sideToMove == 0) continue;
        ++checked;
        const Position before = pos;
        // Perfect play for white: the value is white's disc difference.
        const ComputerMove m = ChooseComputerMove(es, pos, 9, 0, false, {});
        ASSERT_EQ(m.source, MoveSource::Perfect);
        EXPECT_TRUE(SamePosition(pos, before));
        EXPECT_TRUE(CanPlay(pos, m.move, White));
        EXPECT_EQ(m.value, -ReferenceSolve(pos, White)) << PositionText(pos);
    }
}

TEST(RunAnalysis, TopMovesForTheSideToMoveHighestFirst) {
    std::mt19937 rng(90);
    EngineState es;
    Position pos;
    do pos = RandomPosition(rng, 36);
    while (pos.sideToMove != 1 || pos.legalMoveCount < 5);
    const Position before = pos;
    AnalysisParams all;
    all.depth = 3;
    ResultList everyMove, top;
    LineBuffer lines, topLines;
    ASSERT_TRUE(RunAnalysis(es, pos, all, everyMove, lines, {}));
    EXPECT_TRUE(SamePosition(pos, before));
    int n = 0;
    while (everyMove.entries[n].line) ++n;
    EXPECT_EQ(n, pos.legalMoveCount);
    AnalysisParams three = all;
    three.topN = 3;
    ASSERT_TRUE(RunAnalysis(es, pos, three, top, topLines, {}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(top.entries[i].value, everyMove.entries[i].value);
    EXPECT_EQ(top.entries[3].line, nullptr);
    // The values are white's: the first move's value equals white's own
    // minimax at that depth.
    Position mine = pos;
    SwapColours(mine);
    EngineState ref;
    SelectWeights(ref, 0);
    BuildEmptyList(ref, mine);
    EXPECT_EQ(everyMove.entries[0].value, Clamp(ReferenceMidgame(ref, mine, Black, 3, false), -999, 999));

    // Solve mode with a win-loss window.
    Position late;
    do late = RandomPosition(rng, 9);
    while (late.legalMoveCount < 2);
    AnalysisParams solve;
    solve.method = 0;
    solve.solveLo = -1;
    solve.solveHi = 1;
    ASSERT_TRUE(RunAnalysis(es, late, solve, everyMove, lines, {}));
    Position check = late;
    const int truth = ReferenceSolve(check, ColourOfSide(check.sideToMove));
    EXPECT_EQ(everyMove.entries[0].value, Clamp(late.sideToMove == 0 ? truth : -truth, -1, 1));
}

TEST(SearchControl, StopUnwindsAndLeavesThePositionAsItWas) {
    EngineState es;
    SearchControl control;
    ResetControl(control);
    Position pos = BusyPosition();
    const Position before = pos;
    JobHooks hooks;
    hooks.control = &control;
    ComputerMove m;
    std::atomic<bool> done{false};
    std::thread job([&] {
        m = ChooseComputerMove(es, pos, 9, 0, false, hooks);  // depth 10: far longer than the wait below
        MarkJobFinished(control);
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(done.load());
    const auto t0 = std::chrono::steady_clock::now();
    RequestStop(control);
    job.join();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10));  // promptly, not after the search or the thinking time
    EXPECT_TRUE(m.stopped);
    EXPECT_TRUE(SamePosition(pos, before));
}

TEST(SearchControl, StopCutsTheThinkingTimeShort) {
    EngineState es;
    SearchControl control;
    ResetControl(control);
    Position pos;
    SetInitialPosition(pos);
    const Position before = pos;
    JobHooks hooks;
    hooks.control = &control;
    ComputerMove m;
    std::thread job([&] { m = ChooseComputerMove(es, pos, 1, 60, false, hooks); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto t0 = std::chrono::steady_clock::now();
    RequestStop(control);
    job.join();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10));  // promptly, not after the search or the thinking time
    EXPECT_TRUE(m.stopped);
    EXPECT_TRUE(SamePosition(pos, before));
}

TEST(SearchControl, PauseParksTheSearchUntilResumed) {
    EngineState es;
    SearchControl control;
    ResetControl(control);
    Position pos = BusyPosition();
    const Position before = pos;
    // The pause is asked for from inside the search, at its fifth root move,
    // so it always lands mid-search however fast the machine is; the next
    // node parks.
    struct Trigger {
        SearchControl* control;
        int marks = 0;
    } trigger{&control};
    const ThinkingDisplay display{&trigger,
                                  [](void* context, Square square) {
                                      auto* t = static_cast<Trigger*>(context);
                                      if (square != 0 && ++t->marks == 5) {
                                          std::lock_guard<std::mutex> lock(t->control->mutex);
                                          t->control->request.store(ControlPause);
                                      }
                                  },
                                  nullptr};
    JobHooks hooks;
    hooks.control = &control;
    hooks.display = &display;
    SeedRandom(5);
    ComputerMove paused;
    std::thread job([&] {
        paused = ChooseComputerMove(es, pos, 7, 0, true, hooks);
        MarkJobFinished(control);
    });
    while (!control.parked.load() && !control.finished.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    PauseSearch(control);
    const bool parkedMidSearch = !control.finished.load();
    EXPECT_TRUE(parkedMidSearch) << "the search ended before the pause";
    if (parkedMidSearch) {
        EXPECT_TRUE(control.parked.load());
        const std::uint64_t nodes = es.nodes;
        Position seen = pos;
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_EQ(es.nodes, nodes);
        EXPECT_TRUE(SamePosition(pos, seen));
    }
    ResumeSearch(control);
    job.join();
    ASSERT_FALSE(paused.stopped);
    EXPECT_TRUE(SamePosition(pos, before));
    // The pause changed nothing in the outcome.
    SeedRandom(5);
    EngineState fresh;
    const ComputerMove plain = ChooseComputerMove(fresh, pos, 7, 0, false, {});
    EXPECT_EQ(plain.move, paused.move);
    EXPECT_EQ(plain.value, paused.value);
    EXPECT_EQ(plain.nodes, paused.nodes);
}

TEST(SearchControl, PauseDuringTheThinkingTimeParksToo) {
    EngineState es;
    SearchControl control;
    ResetControl(control);
    Position pos;
    SetInitialPosition(pos);
    JobHooks hooks;
    hooks.control = &control;
    ComputerMove m;
    std::thread job([&] {
        m = ChooseComputerMove(es, pos, 1, 1, false, hooks);  // a tiny search, then a one-second wait
        MarkJobFinished(control);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    PauseSearch(control);
    ASSERT_FALSE(control.finished.load());
    EXPECT_TRUE(control.parked.load());
    const auto pausedAt = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_FALSE(control.finished.load());  // the wait does not run out while parked
    ResumeSearch(control);
    job.join();
    EXPECT_FALSE(m.stopped);
    EXPECT_GE(std::chrono::steady_clock::now() - pausedAt, std::chrono::milliseconds(1000));
    EXPECT_TRUE(CanPlay(pos, m.move, Black));
}

TEST(SearchControl, PauseAfterTheJobEndedDoesNotWait) {
    SearchControl control;
    ResetControl(control);
    MarkJobFinished(control);
    PauseSearch(control);  // returns: nothing is left to park
    ResumeSearch(control);
    EXPECT_EQ(control.request.load(), ControlRun);
}
