// The midgame search: fixed-depth alpha-beta over the live position with
// black to move at the root, values from black's point of view.
#pragma once

#include <cstdint>

#include "core/board.h"
#include "engine/engine_state.h"

extern const Square SquareOrder[65];

constexpr int MaxMoves = 40;
constexpr int FullWindow = 999;
constexpr int MaxSearchDepth = 20;

struct MoveEntry {
    Square square;
    std::int32_t value;
};

// The legal moves of one colour in empty-list order, ended by square 0.
struct MoveList {
    MoveEntry moves[MaxMoves + 1];
};

// One entry of a root answer: a line (ended by 0) and its value. The list
// ends with an entry whose line is null and is kept best first.
struct ResultEntry {
    const Square* line;
    std::int32_t value;
};

struct ResultList {
    ResultEntry entries[MaxMoves + 1];
};

// Room for the lines of every root move at any depth the engine allows: each
// root move owns a slot of depth + 1 (or empties + 1) squares.
constexpr int LineBufferSize = MaxMoves * (MaxLineLength + 1);
struct LineBuffer {
    Square squares[LineBufferSize];
};

// Rebuilds the job's empty-square list from the live board; the number of
// empty squares.
int BuildEmptyList(EngineState& es, const Position& pos);
// The number of moves found.
int GenerateMoves(const EngineState& es, const Position& pos, int colour, MoveList& list);
int TerminalScore(const Position& pos);

void OrderMoves(EngineState& es, Position& pos, int colour, int depth, int lo, int hi, MoveList& list,
                bool display);
int SearchBlack(EngineState& es, Position& pos, int depth, bool passed, int alpha, int beta, Line& line);
int SearchWhite(EngineState& es, Position& pos, int depth, bool passed, int alpha, int beta, Line& line);

// Pacing of the root loop: the i-th of n root moves is not finished before
// minimum * i / n milliseconds have passed since start (0, 0: no pacing).
struct Pacing {
    std::int64_t start;
    std::int64_t minimum;
};

// Collects the best slots root moves into results (lines in lines). display
// feeds the thinking display installed in es.
void SearchRoot(EngineState& es, Position& pos, int depth, int alpha, int beta, int slots,
                ResultList& results, LineBuffer& lines, bool display, Pacing pacing);

// Ordering depth of an interior node and of the root.
inline int InteriorOrderDepth(int depth) { return depth <= 12 ? (depth - 1) / 3 : 4; }
inline int RootOrderDepth(int depth) { return depth <= 8 ? (depth - 1) / 2 + 1 : 5; }

// Sorts the first count entries by value, highest first; equal values keep
// their order.
void SortMoves(MoveList& list, int count);
