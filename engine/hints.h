// Hints: the value of every legal move of a position for its side to move,
// by iterative deepening (depth 1, 2, ...) and then, with few enough empty
// squares, exact. Each finished step is reported whole: every legal move
// valued, best first. Which report may be shown and which moves of it are
// decided here too, so the window only draws.
#pragma once

#include <cstdint>

#include "core/board.h"
#include "engine/jobs.h"

struct HintParams {
    int deepestDepth = 16;  // the last midgame depth, 1..MaxSearchDepth
    int exactEmpties = 20;  // exact values when at most this many squares are empty; 0 never
};

// One step of a hint job: a midgame depth, or exact.
struct HintStep {
    int depth;  // the midgame depth; for exact the number of empty squares
    bool exact;
};

// Midgame depths before exact values: quick values while the solve runs.
constexpr int HintLeadDepth = 6;
constexpr int MostHintSteps = MaxSearchDepth + 1;

// The steps of a hint job for a position with empties empty squares, in
// order; returns their number. The midgame never goes deeper than the empty
// squares (that would be the end of the game).
int PlanHintSteps(int empties, const HintParams& params, HintStep (&steps)[MostHintSteps]);

struct HintMove {
    Square square;
    std::int32_t value;  // for the side to move
};

// One finished step: every legal move of position valued, best first.
struct HintReport {
    std::uint32_t serial = 0;  // the job that made it
    Position position{};       // what was valued
    HintStep step = {0, false};
    bool last = false;  // the job's last step: nothing deeper follows
    int count = 0;
    HintMove moves[MaxMoves];
};

// Runs the steps on pos (pos is as it was when this returns), calling report
// after each finished step with serial and position filled. False when a
// stop cut it short; no report is made for a step that was cut short.
using HintReportFunction = void (*)(void* context, const HintReport& report);
bool RunHints(EngineState& es, Position& pos, const HintParams& params, std::uint32_t serial,
              const JobHooks& hooks, HintReportFunction report, void* context);

// Whether two positions are the same for hints: board and side to move.
bool SameHintPosition(const Position& a, const Position& b);

// The serial rule: a report is shown only when it comes from the running job
// (serial) and values the position on the board; and it replaces the one
// shown only when it is not shallower (exact beats every depth). shown is
// null when nothing is shown.
bool AcceptHintReport(const HintReport& report, std::uint32_t runningSerial, const Position& board,
                      const HintReport* shown);

// The moves to draw: all of them when best is 0, else the best `best` (a tie
// with the last one kept is kept too). Only a whole report is narrowed, so a
// move is never left out before every move has its value. Returns the count.
int NarrowHints(const HintReport& report, int best, HintMove (&out)[MaxMoves]);
