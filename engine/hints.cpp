#include "engine/hints.h"

#include <algorithm>


int PlanHintSteps(int empties, const HintParams& params, HintStep (&steps)[MostHintSteps]) {
    const bool exact = params.exactEmpties > 0 && empties <= params.exactEmpties;
    int deepest = std::clamp(params.deepestDepth, 1, MaxSearchDepth);
    deepest = std::min(deepest, std::max(empties, 1));
    if (exact) deepest = std::min(deepest, HintLeadDepth);
    int n = 0;
    for (int d = 1; d <= deepest; ++d) steps[n++] = {d, false};
    if (exact) steps[n++] = {empties, true};
    return n;
}

bool RunHints(EngineState& es, Position& pos, const HintParams& params, std::uint32_t serial,
              const JobHooks& hooks, HintReportFunction report, void* context) {
    // The engine sees no thinking display: hints draw only finished steps.
    JobHooks quiet = hooks;
    quiet.display = nullptr;
    pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
    if (pos.legalMoveCount <= 0) return true;
    int empties = 0;
    for (int sq = 11; sq <= 88; ++sq) empties += IsPlayable(sq) && pos.board[sq] == Empty;
    HintStep steps[MostHintSteps];
    const int count = PlanHintSteps(empties, params, steps);
    ResultList results;
    LineBuffer lines;
    HintReport out;
    for (int i = 0; i < count; ++i) {
        AnalysisParams a;
        a.topN = 0;
        a.weightSet = 0;
        if (steps[i].exact) {
            a.method = 0;
            a.depth = std::min(HintLeadDepth, empties);
        } else {
            a.method = 1;
            a.depth = steps[i].depth;
        }
        if (!RunAnalysis(es, pos, a, results, lines, quiet)) return false;
        out.serial = serial;
        out.position = pos;
        out.step = steps[i];
        out.last = i == count - 1;
        out.count = 0;
        for (int k = 0; k < MaxMoves && results.entries[k].line; ++k)
            out.moves[out.count++] = {results.entries[k].line[0], results.entries[k].value};
        report(context, out);
    }
    return true;
}

bool SameHintPosition(const Position& a, const Position& b) {
    if (a.sideToMove != b.sideToMove) return false;
    for (int sq = 11; sq <= 88; ++sq)
        if (IsPlayable(sq) && a.board[sq] != b.board[sq]) return false;
    return true;
}

namespace {

// Deeper ranks higher; exact above every depth.
int Rank(const HintStep& s) { return s.exact ? 1000 : s.depth; }

}  // namespace

bool AcceptHintReport(const HintReport& report, std::uint32_t runningSerial, const Position& board,
                      const HintReport* shown) {
    if (report.serial != runningSerial || !SameHintPosition(report.position, board)) return false;
    if (!shown || !SameHintPosition(shown->position, board)) return true;
    return Rank(report.step) >= Rank(shown->step);
}

int NarrowHints(const HintReport& report, int best, HintMove (&out)[MaxMoves]) {
    const int n = std::min(report.count, MaxMoves);
    std::copy(report.moves, report.moves + n, out);
    std::stable_sort(out, out + n, [](const HintMove& a, const HintMove& b) { return a.value > b.value; });
    if (best <= 0 || best >= n) return n;
    int kept = best;
    while (kept < n && out[kept].value == out[best - 1].value) ++kept;
    return kept;
}
