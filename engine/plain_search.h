// The searches written plainly on the mailbox, move by move as the rules
// read: the reference that the fast form is checked against (node for node,
// value for value, line for line) and benchmarked beside
// (tavix-cli bench --plain). Nothing in the program plays with it.
#pragma once

#include "core/board.h"
#include "engine/engine_state.h"
#include "engine/midgame.h"

// As SearchRoot and SolveRoot: the same arguments, results and node counts.
void PlainSearchRoot(EngineState& es, Position& pos, int depth, int alpha, int beta, int slots,
                     ResultList& results, LineBuffer& lines, bool display, Pacing pacing);
void PlainSolveRoot(EngineState& es, Position& pos, int empties, int lo, int hi, int orderDepth, int orderLo,
                    int orderHi, int slots, ResultList& results, LineBuffer& lines, bool display,
                    Pacing pacing);
