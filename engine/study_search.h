// The study search: the same root as SearchRoot and SolveRoot (the same move
// generation, root ordering pass and root loop, so the same result list),
// with a faster search below each root move. Below the root it computes the
// same fail-hard values as the fixed tree (the exact disc difference when
// solving; the fixed-depth minimax with the same evaluation, pass and game-end
// rules in the midgame) by a null-window search with a transposition table,
// fastest-first ordering, cut-offs by stable discs (a solve's bound that
// needs no search) and the small solver in the last empties; its
// continuation lines may differ where several lines reach the same value, and
// every exact line played out reaches its value.
//
// The table lives for the whole process: allocated by the first study search
// (64 MiB in the 32-bit program, halving on failure down to 1 MiB), reused by
// every later one. An entry is keyed by the whole position and the side to
// move and records the empties or depth and the weight set, so nothing of
// another position, depth or weight set ever answers a probe; entries of
// earlier jobs stay valid and warm the next one.
//
// With more than one thread, helpers share out the root moves ahead of the
// job's own thread and fill the table, and below the root every thread may
// share a node's moves after the first with idle threads (at 14 empties or
// depth 6 and more). They answer the job's SearchControl like the job's
// thread (a stop within one node; a pause parks them all) and end before the
// root call returns.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/board.h"
#include "engine/engine_state.h"
#include "engine/midgame.h"

// As SearchRoot and SolveRoot: the same arguments and result list.
void StudySearchRoot(EngineState& es, Position& pos, int depth, int alpha, int beta, int slots,
                     ResultList& results, LineBuffer& lines, bool display, Pacing pacing);
void StudySolveRoot(EngineState& es, Position& pos, int empties, int lo, int hi, int orderDepth, int orderLo,
                    int orderHi, int slots, ResultList& results, LineBuffer& lines, bool display,
                    Pacing pacing);

// The value for white to move in pos, clamped to [alpha, beta]: the same
// number as SearchWhite (depth n) or SolveWhite (n empties) of the fixed tree
// give with that window, on the job's thread alone.
int StudyValueWhite(EngineState& es, const Position& pos, bool solve, int n, int alpha, int beta);

// Threads of a study search: 0 (the default) uses every core of the machine.
void SetStudyThreads(int threads);
int StudyThreads();

// Bytes held by the table, 0 before the first study search.
std::size_t StudyTableBytes();
// Entries written since the program started, by every thread.
std::uint64_t StudyTableWrites();
// Forgets every entry (for measurements that start cold).
void ClearStudyTable();
