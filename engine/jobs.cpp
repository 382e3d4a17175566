#include "engine/jobs.h"

#include <algorithm>

#include "engine/endgame.h"
#include "engine/evaluation.h"
#include "engine/study_search.h"

const LevelRow LevelTable[LevelCount] = {
    {1, 0, 0, 0},    {1, 30, 4, 2},   {2, 30, 7, 5},   {3, 30, 10, 8},  {4, 30, 12, 10},
    {5, 30, 14, 12}, {6, 30, 16, 14}, {7, 30, 17, 15}, {8, 30, 18, 16}, {9, 30, 19, 17},
};

LevelSearch LookUpLevel(int level, int empties) {
    if (level < 0) level = 0;
    if (level >= LevelCount) level = LevelCount - 1;
    const LevelRow& row = LevelTable[level];
    LevelSearch s;
    s.depth = empties <= row.deepeningThreshold ? row.baseDepth + 1 : row.baseDepth;
    if (empties > row.winLossThreshold) s.mode = SearchMode::Midgame;
    else if (empties > row.perfectThreshold) s.mode = SearchMode::WinLoss;
    else s.mode = SearchMode::Perfect;
    return s;
}

namespace {

// Prepares es for one job on the search thread.
void BeginEngineJob(EngineState& es, const JobHooks& hooks, bool display) {
    es.control = hooks.control;
    es.display = display ? hooks.display : nullptr;
    es.stopped = false;
    es.nodes = 0;
}

// The search sees the side to move as black; the exchange is undone on every
// way out, a stop included.
struct ColourExchange {
    Position& pos;
    bool swapped;
    explicit ColourExchange(Position& p) : pos(p), swapped(p.sideToMove == 1) {
        if (swapped) SwapColours(pos);
    }
    ~ColourExchange() {
        if (swapped) SwapColours(pos);
    }
    ColourExchange(const ColourExchange&) = delete;
    ColourExchange& operator=(const ColourExchange&) = delete;
};

}  // namespace

ComputerMove ChooseComputerMove(EngineState& es, Position& pos, int level, int thoughtTimeSeconds,
                                bool thoughtDisplay, const JobHooks& hooks) {
    ComputerMove result;
    const Pacing pacing = {NowMilliseconds(), static_cast<std::int64_t>(thoughtTimeSeconds) * 1000};
    if (pos.legalMoveCount <= 1) {
        Square last = 0;
        CountLegalMoves(pos, pos.sideToMove, &last);
        result.move = last;
        return result;
    }
    if (hooks.book.chooseBookMove) {
        const int bookMove = hooks.book.chooseBookMove(hooks.book.context, pos, pos.moveNumber,
                                                         thoughtDisplay ? hooks.display : nullptr);
        if (hooks.control && hooks.control->request.load() == ControlStop) {
            result.stopped = true;
            return result;
        }
        // A move the rules do not allow would corrupt the game: search instead.
        const int colour = ColourOfSide(pos.sideToMove);
        if (bookMove >= 0 && IsPlayable(bookMove) && pos.board[bookMove] == Empty &&
            CanPlay(pos, bookMove, colour)) {
            result.move = bookMove;
            result.source = MoveSource::Book;
            return result;
        }
    }
    BeginEngineJob(es, hooks, thoughtDisplay);
    ColourExchange exchange(pos);
    result.weightSet = SelectWeights(es, -1);
    const int empties = BuildEmptyList(es, pos);
    const LevelSearch s = LookUpLevel(level, empties);
    ResultList results;
    LineBuffer lines;
    switch (s.mode) {
        case SearchMode::Midgame:
            result.source = MoveSource::Midgame;
            result.depth = s.depth;
            SearchRoot(es, pos, s.depth, -FullWindow, FullWindow, 1, results, lines, true, pacing);
            break;
        case SearchMode::WinLoss:
            result.source = MoveSource::WinLoss;
            result.depth = s.depth - 1;
            SolveRoot(es, pos, empties, -1, 1, s.depth - 1, -FullWindow, FullWindow, 1, results, lines, true,
                      pacing);
            break;
        case SearchMode::Perfect:
            result.source = MoveSource::Perfect;
            result.depth = empties;
            SolveRoot(es, pos, empties, -64, 64, 0, -FullWindow, FullWindow, 1, results, lines, true, pacing);
            break;
    }
    result.nodes = es.nodes;
    if (es.stopped) {
        result.stopped = true;
        return result;
    }
    result.move = results.entries[0].line ? results.entries[0].line[0] : 0;
    result.value = results.entries[0].value;
    return result;
}

bool RunAnalysis(EngineState& es, Position& pos, const AnalysisParams& params, ResultList& results,
                 LineBuffer& lines, const JobHooks& hooks) {
    BeginEngineJob(es, hooks, true);
    ColourExchange exchange(pos);
    SelectWeights(es, params.weightSet);
    const int empties = BuildEmptyList(es, pos);
    const int slots = params.topN != 0 ? params.topN : pos.legalMoveCount;
    const Pacing none = {0, 0};
    // Depths outside the line buffers' room (or a midgame depth of 0, which
    // would never reach a leaf) are brought into range.
    auto clampDepth = [](int d, int lo) { return d < lo ? lo : d > MaxSearchDepth ? MaxSearchDepth : d; };
    const auto searchRoot = hooks.fixedTree ? SearchRoot : StudySearchRoot;
    const auto solveRoot = hooks.fixedTree ? SolveRoot : StudySolveRoot;
    if (params.method == 1)
        searchRoot(es, pos, clampDepth(params.depth, 1), params.alpha, params.beta, slots, results, lines, true,
                   none);
    else
        solveRoot(es, pos, empties, params.solveLo, params.solveHi, clampDepth(params.depth, 0), params.alpha,
                  params.beta, slots, results, lines, true, none);
    return !es.stopped;
}

bool ValueRootMove(EngineState& es, Position& pos, const AnalysisParams& params, Square move, int& value,
                   const JobHooks& hooks) {
    BeginEngineJob(es, hooks, false);
    ColourExchange exchange(pos);
    SelectWeights(es, params.weightSet);
    const int empties = BuildEmptyList(es, pos);
    FlipRecord flips;
    PlayMoveBlack(pos, move, flips);
    Line line;
    // Both engines give the same clamped value; the study search, unless the
    // fixed tree is asked for, gives it sooner.
    if (params.method == 1) {
        const int depth = params.depth < 1 ? 1 : params.depth > MaxSearchDepth ? MaxSearchDepth : params.depth;
        value = hooks.fixedTree
                    ? std::clamp(SearchWhite(es, pos, depth - 1, false, -FullWindow, FullWindow, line), -FullWindow,
                                 FullWindow)
                    : StudyValueWhite(es, pos, false, depth - 1, -FullWindow, FullWindow);
    } else {
        value = hooks.fixedTree ? std::clamp(SolveWhite(es, pos, empties - 1, false, -64, 64, line), -64, 64)
                                : StudyValueWhite(es, pos, true, empties - 1, -64, 64);
    }
    UndoMoveBlack(pos, move, flips);
    return !es.stopped;
}
