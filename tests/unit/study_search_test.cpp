// The study search against the levels' fixed tree: on random positions, every
// weight set, full, narrow and win-loss windows, one, two and every slot,
// one and two threads and the table cold, warm from other positions and
// after a stopped search, the analysis gives the same list (moves, values,
// order); every line is legal, and an exact solve's line played out ends at
// its value.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include "core/notation.h"
#include "core/position_text.h"
#include "engine/jobs.h"
#include "engine/study_search.h"
#include "engine_test_support.h"

namespace {

std::string Describe(const Position& pos, const AnalysisParams& p, int threads) {
    return PositionText(pos) + " method " + std::to_string(p.method) + " depth " + std::to_string(p.depth) +
           " set " + std::to_string(p.weightSet) + " window " +
           std::to_string(p.method == 1 ? p.alpha : p.solveLo) + ".." +
           std::to_string(p.method == 1 ? p.beta : p.solveHi) + " top " + std::to_string(p.topN) + " threads " +
           std::to_string(threads);
}

// Plays line from pos (passing where the side to move has no move); false
// on an illegal move. After the line, the disc difference for the side that
// was to move in pos, and whether the game is over.
bool PlayOut(Position pos, const Square* line, int& difference, bool& over) {
    int colour = ColourOfSide(pos.sideToMove);
    const int root = colour;
    for (int i = 0; line[i] != 0; ++i) {
        if (LegalSquares(pos, colour).empty()) colour = Opponent(colour);
        if (pos.board[line[i]] != Empty || !CanPlay(pos, line[i], colour)) return false;
        FlipRecord f;
        PlayMove(pos, line[i], colour, f);
        colour = Opponent(colour);
    }
    over = LegalSquares(pos, Black).empty() && LegalSquares(pos, White).empty();
    int black = 0, white = 0;
    for (Square sq = 11; sq <= 88; ++sq) {
        black += pos.board[sq] == Black;
        white += pos.board[sq] == White;
    }
    difference = root == Black ? black - white : white - black;
    return true;
}

// Runs the analysis with both engines and checks the study search's answer.
void ExpectSameAnalysis(Position pos, const AnalysisParams& params, int threads) {
    static EngineState es;
    static ResultList fixedList, studyList;
    static LineBuffer fixedLines, studyLines;
    const Position before = pos;
    JobHooks fixed;
    fixed.fixedTree = true;
    ASSERT_TRUE(RunAnalysis(es, pos, params, fixedList, fixedLines, fixed));
    SetStudyThreads(threads);
    ASSERT_TRUE(RunAnalysis(es, pos, params, studyList, studyLines, {}));
    SetStudyThreads(0);
    ASSERT_TRUE(SamePosition(pos, before));
    const std::string what = Describe(pos, params, threads);
    int empties = 0;
    for (Square sq = 11; sq <= 88; ++sq) empties += pos.board[sq] == Empty;
    const int lo = params.method == 1 ? params.alpha : params.solveLo;
    const int hi = params.method == 1 ? params.beta : params.solveHi;
    for (int i = 0;; ++i) {
        const ResultEntry& f = fixedList.entries[i];
        const ResultEntry& s = studyList.entries[i];
        ASSERT_EQ(f.line == nullptr, s.line == nullptr) << what << " entry " << i;
        if (!f.line) break;
        ASSERT_EQ(f.line[0], s.line[0]) << what << " entry " << i;
        ASSERT_EQ(f.value, s.value) << what << " entry " << i;
        int length = 0;
        while (s.line[length] != 0) ++length;
        EXPECT_LE(length, params.method == 1 ? params.depth : empties) << what;
        int difference = 0;
        bool over = false;
        ASSERT_TRUE(PlayOut(pos, s.line, difference, over)) << what << " line " << LineCode(s.line);
        if (params.method == 0 && s.value > lo && s.value < hi) {
            EXPECT_TRUE(over) << what << " line " << LineCode(s.line);
            EXPECT_EQ(difference, s.value) << what << " line " << LineCode(s.line);
        }
    }
}

Position RandomWithMoves(std::mt19937& rng, int empties, int moves) {
    Position pos;
    do pos = RandomPosition(rng, empties);
    while (pos.legalMoveCount < moves);
    return pos;
}

struct Window {
    int lo, hi;
};

}  // namespace

TEST(StudySearch, MidgameListsEqualTheFixedTree) {
    std::mt19937 rng(1701);
    const Window windows[] = {{-999, 999}, {-40, 25}, {-1, 1}, {10, 400}};
    const int slots[] = {1, 2, 0};
    int compared = 0;
    for (int round = 0; round < 96; ++round) {
        AnalysisParams p;
        p.method = 1;
        p.depth = 1 + round % 8;
        p.weightSet = round / 8 % 3;
        const Window w = windows[round % 4];
        p.alpha = w.lo;
        p.beta = w.hi;
        p.topN = slots[round % 3];
        if (round % 16 == 0) ClearStudyTable();
        const Position pos = RandomWithMoves(rng, 20 + static_cast<int>(rng() % 36), 2);
        ExpectSameAnalysis(pos, p, 1 + round % 2);
        if (HasFatalFailure()) return;
        ++compared;
    }
    EXPECT_EQ(compared, 96);
}

TEST(StudySearch, SolveListsEqualTheFixedTree) {
    std::mt19937 rng(4242);
    const Window windows[] = {{-64, 64}, {-1, 1}, {-6, 10}, {0, 64}, {-64, -20}};
    const int slots[] = {1, 2, 0};
    for (int round = 0; round < 150; ++round) {
        AnalysisParams p;
        p.method = 0;
        p.depth = round % 7 == 0 ? 3 : 0;  // sometimes an ordering pass of the caller's depth
        p.weightSet = round % 3;
        const Window w = windows[round % 5];
        p.solveLo = w.lo;
        p.solveHi = w.hi;
        p.topN = slots[round % 3];
        // Mostly 10 to 14 empties; every tenth position 15 to 18.
        const int empties = round % 10 == 9 ? 15 + static_cast<int>(rng() % 4) : 10 + static_cast<int>(rng() % 5);
        if (round % 25 == 0) ClearStudyTable();
        ExpectSameAnalysis(RandomWithMoves(rng, empties, 2), p, 1 + round % 2);
        if (HasFatalFailure()) return;
    }
}

// A solve that keeps only the best finds it before the other moves' values:
// of equal moves the list must still keep the one the fixed tree meets
// first, whether the values are equal or clamped equal at a window's edge.
TEST(StudySearch, BestOfEqualMovesIsTheFixedTreesFirst) {
    std::mt19937 rng(3141);
    const Window windows[] = {{-64, 64}, {-1, 1}, {-64, -10}, {4, 64}, {-2, 3}};
    static EngineState es;
    static ResultList every;
    static LineBuffer lines;
    JobHooks fixed;
    fixed.fixedTree = true;
    int ties = 0;
    for (int round = 0; round < 200; ++round) {
        AnalysisParams p;
        p.method = 0;
        p.depth = 0;
        p.weightSet = round % 3;
        const Window w = windows[round % 5];
        p.solveLo = w.lo;
        p.solveHi = w.hi;
        Position pos = RandomWithMoves(rng, 6 + static_cast<int>(rng() % 7), 3);
        // The fixed tree's list of every move says whether the best is shared.
        p.topN = 0;
        ASSERT_TRUE(RunAnalysis(es, pos, p, every, lines, fixed));
        ties += every.entries[1].line && every.entries[1].value == every.entries[0].value;
        p.topN = 1;
        ExpectSameAnalysis(pos, p, 1 + round % 2);
        if (HasFatalFailure()) return;
    }
    EXPECT_GE(ties, 50);  // the case this is about came up often enough
}

// The review's value of one root move: the study search's equals the fixed
// tree's, for searches of every depth and weight set and for solves.
TEST(StudySearch, RootMoveValueEqualsTheFixedTree) {
    std::mt19937 rng(909);
    EngineState es;
    for (int round = 0; round < 60; ++round) {
        AnalysisParams p;
        p.method = round % 2;
        p.depth = 1 + round % 7;
        p.weightSet = round / 2 % 3;
        Position pos = RandomWithMoves(rng, p.method == 1 ? 20 + static_cast<int>(rng() % 30)
                                                          : 10 + static_cast<int>(rng() % 7),
                                       1);
        const std::vector<Square> moves = LegalSquares(pos, ColourOfSide(pos.sideToMove));
        const Square move = moves[rng() % moves.size()];
        const Position before = pos;
        JobHooks fixed;
        fixed.fixedTree = true;
        int fixedValue = 0, studyValue = 0;
        ASSERT_TRUE(ValueRootMove(es, pos, p, move, fixedValue, fixed));
        ASSERT_TRUE(ValueRootMove(es, pos, p, move, studyValue, {}));
        EXPECT_TRUE(SamePosition(pos, before));
        EXPECT_EQ(studyValue, fixedValue) << Describe(pos, p, 1) << " move " << SquareCode(move);
    }
}

// A search stopped part-way leaves only what it had finished in the table:
// the next analysis of the same position gives the fixed tree's list.
TEST(StudySearch, AfterAStoppedSearchTheListIsStillRight) {
    std::mt19937 rng(77);
    for (int threads = 1; threads <= 2; ++threads)
        for (int round = 0; round < 6; ++round) {
            Position pos = RandomWithMoves(rng, 13 + round % 3, 3);
            AnalysisParams p;
            p.method = round % 2;
            p.depth = p.method == 1 ? 6 : 0;
            SearchControl control;
            ResetControl(control);
            struct Stopper {
                SearchControl* control;
                int marks;
            } stopper{&control, 0};
            // Stops the search as it reaches its second root move.
            const ThinkingDisplay display = {&stopper,
                                             [](void* c, Square sq) {
                                                 auto* s = static_cast<Stopper*>(c);
                                                 if (sq != 0 && ++s->marks == 2) RequestStop(*s->control);
                                             },
                                             nullptr};
            JobHooks hooks;
            hooks.control = &control;
            hooks.display = &display;
            EngineState es;
            ResultList results;
            LineBuffer lines;
            const Position before = pos;
            SetStudyThreads(threads);
            EXPECT_FALSE(RunAnalysis(es, pos, p, results, lines, hooks));
            SetStudyThreads(0);
            EXPECT_TRUE(SamePosition(pos, before));
            EXPECT_EQ(control.workers.load(), 1);  // every helper has left
            ExpectSameAnalysis(pos, p, threads);
            if (HasFatalFailure()) return;
        }
}

// While two threads search, a pause returns only once both have parked: no
// node is visited until the search is resumed.
TEST(StudySearch, PauseParksEveryThread) {
    std::mt19937 rng(5);
    Position pos = RandomWithMoves(rng, 24, 6);
    AnalysisParams p;
    p.method = 0;
    EngineState es;
    ResultList results;
    LineBuffer lines;
    SearchControl control;
    ResetControl(control);
    JobHooks hooks;
    hooks.control = &control;
    ClearStudyTable();
    SetStudyThreads(2);
    bool finished = false;
    std::thread job([&] {
        finished = RunAnalysis(es, pos, p, results, lines, hooks);
        MarkJobFinished(control);
    });
    // Wait until a helper has joined.
    for (int i = 0; i < 2000 && control.workers.load() < 2 && !control.finished.load(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    bool pausedWithHelper = false;
    for (int attempt = 0; attempt < 4 && !pausedWithHelper && !control.finished.load(); ++attempt) {
        PauseSearch(control);
        if (control.finished.load()) break;
        pausedWithHelper = pausedWithHelper || control.workers.load() == 2;
        EXPECT_EQ(control.parked.load(), control.workers.load());
        const std::uint64_t writes = StudyTableWrites();
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        EXPECT_EQ(StudyTableWrites(), writes) << "a thread went on searching while paused";
        ResumeSearch(control);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    RequestStop(control);  // the pauses are what this checks, not the answer
    job.join();
    SetStudyThreads(0);
    EXPECT_FALSE(finished);
    EXPECT_TRUE(pausedWithHelper);
    EXPECT_EQ(control.workers.load(), 1);
}
