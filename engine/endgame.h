// The endgame solver: searches to the end of the game and scores the final
// disc difference (black minus white), in the perfect window -64..64 or the
// win-loss window -1..1. Black to move at the root.
#pragma once

#include "core/board.h"
#include "engine/engine_state.h"
#include "engine/midgame.h"

// Below this many empty squares no move list is built and nothing is ordered.
constexpr int SmallSolveEmpties = 8;

// The interior buffers of the solver bound it to this many empty squares.
constexpr int MaxSolveEmpties = 30;

// Midgame ordering depth used at solver nodes with e empty squares.
int DefaultOrderDepth(int empties);

// orderDepth 0 leaves the root's ordering to the default rule; otherwise the
// root is ordered by a midgame pass of that depth in (orderLo, orderHi).
void SolveRoot(EngineState& es, Position& pos, int empties, int lo, int hi, int orderDepth, int orderLo,
               int orderHi, int slots, ResultList& results, LineBuffer& lines, bool display,
               Pacing pacing);

int SolveBlack(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta, Line& line);
int SolveWhite(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta, Line& line);
int SolveSmallBlack(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta,
                    Line& line);
int SolveSmallWhite(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta,
                    Line& line);
int SolveLastBlack(EngineState& es, const Position& pos, Line& line);
int SolveLastWhite(EngineState& es, const Position& pos, Line& line);
