// The engine allocates nothing while it searches: every operator new of this
// test binary is counted while the switch is on.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/jobs.h"
#include "engine/study_search.h"
#include "engine_test_support.h"

namespace {

std::atomic<bool> countingOn{false};
std::atomic<long> allocations{0};

void* Allocate(std::size_t size) {
    if (countingOn.load(std::memory_order_relaxed)) allocations.fetch_add(1);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

TEST(EngineAllocation, SearchesSolvesAndAnalysesAllocateNothing) {
    std::mt19937 rng(3);
    Position mid = RandomPosition(rng, 40);
    Position end;
    do end = RandomPosition(rng, 14);
    while (end.legalMoveCount < 2);
    EngineState es;
    ResultList results;
    LineBuffer lines;
    SearchControl control;
    ResetControl(control);
    JobHooks hooks;
    hooks.control = &control;

    // The study search's table is allocated once, by the first study search;
    // its helper threads are started per job. One thread here: what is
    // counted is the search itself.
    SetStudyThreads(1);
    {
        AnalysisParams warm;
        RunAnalysis(es, mid, warm, results, lines, hooks);
    }
    allocations = 0;
    countingOn = true;
    const ComputerMove a = ChooseComputerMove(es, mid, 6, 0, false, hooks);
    const ComputerMove b = ChooseComputerMove(es, end, 9, 0, false, hooks);
    AnalysisParams params;
    params.depth = 5;
    const bool c = RunAnalysis(es, mid, params, results, lines, hooks);
    params.method = 0;
    params.solveLo = -1;
    params.solveHi = 1;
    const bool d = RunAnalysis(es, end, params, results, lines, hooks);
    countingOn = false;
    SetStudyThreads(0);

    EXPECT_EQ(allocations.load(), 0);
    EXPECT_FALSE(a.stopped || b.stopped);
    EXPECT_EQ(b.source, MoveSource::Perfect);
    EXPECT_TRUE(c && d);
    // The counter itself works.
    countingOn = true;
    delete new int(1);
    countingOn = false;
    EXPECT_EQ(allocations.load(), 1);
}
