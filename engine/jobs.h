// The search jobs: the computer's move and the evaluation analysis, written
// as plain functions that the search thread runs on the live position.
//
// Running a job on the search thread: ResetControl, start the thread on
// ChooseComputerMove or RunAnalysis (hooks.control pointing at that control),
// and let the thread call MarkJobFinished before it posts its completion.
// Stop: RequestStop, then wait for the thread's end; the position is as it
// was. Pause: PauseSearch returns once the search has parked (or finished);
// ResumeSearch lets it go on. The thinking display is called on the search
// thread, in order, and may post its data to the window.
#pragma once

#include <cstdint>

#include "core/board.h"
#include "engine/engine_state.h"
#include "engine/midgame.h"

struct LevelRow {
    int baseDepth;
    int deepeningThreshold;
    int winLossThreshold;
    int perfectThreshold;
};

constexpr int LevelCount = 10;
extern const LevelRow LevelTable[LevelCount];

enum class SearchMode { Midgame, WinLoss, Perfect };

struct LevelSearch {
    int depth;
    SearchMode mode;
};

// Depth and mode of a level (0..9) with empties empty squares.
LevelSearch LookUpLevel(int level, int empties);

// The book lookup, installed by the window once a book is loaded: a square of
// a book move for the live position, or below 0 for none. It may use the
// position as its working board but must leave it as it found it. display is
// the thinking display when it is on (the book shows the chosen value there),
// else null.
//
// listBookMoves, for the book-move search, fills list with every book move of
// pos, best first, and returns 0; when pos is not in the book it leaves the
// list empty and returns below 0.
struct BookMoveList;  // book/book_tree.h
struct BookLookup {
    void* context;
    int (*chooseBookMove)(void* context, Position& pos, int moveNumber, const ThinkingDisplay* display);
    int (*listBookMoves)(void* context, Position& pos, int moveNumber, BookMoveList& list);
};

struct JobHooks {
    const ThinkingDisplay* display = nullptr;  // null: nothing shown
    BookLookup book = {nullptr, nullptr, nullptr};  // null entry: no book move
    SearchControl* control = nullptr;          // null: nothing stops the job
    // RunAnalysis only: true searches below the root with the levels' fixed
    // tree instead of the study search (engine/study_search.h). Both give
    // the same result list; the study search is much faster on deep
    // searches and solves.
    bool fixedTree = false;
};

enum class MoveSource { Forced, Book, Midgame, WinLoss, Perfect };

struct ComputerMove {
    Square move = 0;          // 0: a pass
    MoveSource source = MoveSource::Forced;
    int depth = 0;            // search depth, or the ordering depth of a win-loss solve
    int value = 0;            // for the side to move; 0 unless searched
    int weightSet = -1;       // the row chosen for this move, -1 unless searched
    bool stopped = false;     // a stop cut the job short: no move
    std::uint64_t nodes = 0;
};

// The computer's move for the side to move of pos at level 0..9, taking at
// least thoughtTimeSeconds unless the move is forced or from the book.
// thoughtDisplay feeds hooks.display. pos is as it was when this returns,
// stopped or not.
ComputerMove ChooseComputerMove(EngineState& es, Position& pos, int level, int thoughtTimeSeconds,
                                bool thoughtDisplay, const JobHooks& hooks);

// The analysis settings, owned by the analysis dialog.
struct AnalysisParams {
    std::int32_t method = 1;  // 1 evaluation search, 0 solve
    std::int32_t depth = 1;   // midgame depth 1..20; the root ordering depth when solving
    std::int32_t alpha = -999;
    std::int32_t beta = 999;
    std::int32_t weightSet = 0;
    std::int32_t solveLo = -64;
    std::int32_t solveHi = 64;
    std::int32_t topN = 0;  // 0: every legal move
};

// Values every legal move (or the best topN) of pos for its side to move,
// always with the thinking display. The lines of results lie in lines.
// False when a stop cut it short (results then mean nothing); pos is as it
// was either way.
//
// Unless hooks.fixedTree asks for the fixed tree, the search below the root
// is the study search: same moves, values and ranks as the fixed tree, in a
// fraction of the time. Its table is the process's one table, allocated by
// the first study search and kept warm across calls, so a caller that
// analyses many positions in a row (a game review, the hints) simply calls
// RunAnalysis for each: entries are keyed by the whole position and side to
// move and record the depth and weight set, so an entry of another position,
// depth or weight set never answers. SetStudyThreads (study_search.h) sets
// how many cores it uses (default every core).
bool RunAnalysis(EngineState& es, Position& pos, const AnalysisParams& params, ResultList& results,
                 LineBuffer& lines, const JobHooks& hooks);

// The value the analysis root loop gives one legal move of pos for its side
// to move, searched as that loop searches it with params' method, depth and
// weights over the full window (the midgame window, or -64..64 when solving):
// comparable with the values RunAnalysis gives the other moves. No thinking
// display. False when a stop cut it short; pos is as it was either way.
bool ValueRootMove(EngineState& es, Position& pos, const AnalysisParams& params, Square move, int& value,
                   const JobHooks& hooks);
