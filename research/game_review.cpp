#include "research/game_review.h"

#include <cstdio>

#include "core/notation.h"
#include "record/record_file.h"

ReviewMark MarkOfLoss(int loss) {
    return loss >= BadLoss ? ReviewMark::Bad : loss >= DubiousLoss ? ReviewMark::Dubious : ReviewMark::None;
}

ReviewGame ReviewGameOf(const Position& current, const GameRecord& history) {
    ReviewGame game;
    GameStart(current, history, game.start);
    int black = 0, white = 0;
    RecountPosition(game.start, black, white);
    GameRecord plies = history;
    SeekHistory(plies, 0);
    Square square = 0;
    while (game.plyCount < HistoryPlyRoom && StepForward(plies, &square)) game.plies[game.plyCount++] = square;
    return game;
}

bool SameGame(const ReviewGame& a, const ReviewGame& b) {
    if (a.plyCount != b.plyCount || a.start.sideToMove != b.start.sideToMove) return false;
    for (Square sq = 0; sq < 100; ++sq)
        if (a.start.board[sq] != b.start.board[sq]) return false;
    for (int i = 0; i < a.plyCount; ++i)
        if (a.plies[i] != b.plies[i]) return false;
    return true;
}

Position ReviewPositionAt(const ReviewGame& game, int n) {
    Position pos = game.start;
    for (int i = 0; i < n && i < game.plyCount; ++i) {
        FlipRecord flips;
        if (game.plies[i] > 0) PlayMove(pos, game.plies[i], ColourOfSide(pos.sideToMove), flips);
        pos.sideToMove = 1 - pos.sideToMove;
    }
    int black = 0, white = 0;
    RecountPosition(pos, black, white);
    return pos;
}

namespace {

int EmptiesOf(const Position& pos) {
    int empties = 0;
    for (Square sq = 11; sq <= 88; ++sq) empties += pos.board[sq] == Empty;
    return empties;
}

// The one search every value of a row comes from: the row's depth and
// weights, the full window; exact positions by the solver.
AnalysisParams SearchOf(const ReviewParams& p, bool exact, int depth, int topN) {
    AnalysisParams a;
    a.method = exact ? 0 : 1;
    a.depth = exact ? 0 : depth;
    a.alpha = -FullWindow;
    a.beta = FullWindow;
    a.weightSet = p.weightSet;
    a.solveLo = -64;
    a.solveHi = 64;
    a.topN = topN;
    return a;
}

// The search's buffers, too large for the search thread's stack; one review
// runs at a time.
struct ReviewBuffers {
    ResultList results;
    LineBuffer lines;
};
ReviewBuffers buffers;

bool ValueRow(EngineState& es, const ReviewParams& p, Position pos, ReviewRow& row, const JobHooks& hooks) {
    ResultList& results = buffers.results;
    LineBuffer& lines = buffers.lines;
    if (!RunAnalysis(es, pos, SearchOf(p, row.exact, p.depth, 1), results, lines, hooks)) return false;
    row.best = results.entries[0].line ? results.entries[0].line[0] : 0;
    row.bestValue = results.entries[0].value;
    if (row.forced || row.best == row.played) {
        row.playedValue = row.bestValue;
        row.best = row.played;
        row.loss = 0;
        return true;
    }
    if (!ValueRootMove(es, pos, SearchOf(p, row.exact, p.depth, 1), row.played, row.playedValue, hooks))
        return false;
    row.loss = row.bestValue > row.playedValue ? row.bestValue - row.playedValue : 0;
    return true;
}

const char* MarkWord(ReviewMark m) {
    // 疑問手 and 悪手 in the program's code page.
    switch (m) {
    case ReviewMark::Dubious: return "\x8b\x5e\x96\xe2\x8e\xe8";
    case ReviewMark::Bad: return "\x88\xab\x8e\xe8";
    default: return "";
    }
}

}  // namespace

void PrepareReview(const ReviewGame& game, const ReviewParams& params, ReviewResult& out) {
    out.params = CorrectReviewParams(params);
    out.game = game;
    out.rowCount = 0;
    out.valued = 0;
    Position pos = game.start;
    for (int i = 0; i < game.plyCount; ++i) {
        const Square sq = game.plies[i];
        if (sq > 0) {
            ReviewRow& row = out.rows[out.rowCount++];
            row = ReviewRow{};
            row.ply = i + 1;
            row.side = pos.sideToMove;
            row.played = sq;
            row.forced = CountLegalMoves(pos, pos.sideToMove) == 1;
            row.exact = EmptiesOf(pos) <= out.params.exactFrom;
            FlipRecord flips;
            PlayMove(pos, sq, ColourOfSide(pos.sideToMove), flips);
        }
        pos.sideToMove = 1 - pos.sideToMove;
    }
}

bool RunGameReview(EngineState& es, ReviewResult& out, const JobHooks& hooks, const ReviewProgress& progress) {
    for (int r = out.rowCount - 1; r >= 0; --r) {
        ReviewRow& row = out.rows[r];
        if (progress.report) progress.report(progress.context, row.ply, r + 1);
        if (!ValueRow(es, out.params, ReviewPositionAt(out.game, row.ply - 1), row, hooks)) return false;
        ++out.valued;
    }
    return true;
}

void SummariseReview(const ReviewResult& r, ReviewSideSummary out[2]) {
    out[0] = out[1] = ReviewSideSummary{};
    for (int i = 0; i < r.rowCount; ++i) {
        const ReviewRow& row = r.rows[i];
        ReviewSideSummary& s = out[row.side];
        ++s.moves;
        s.totalLoss += row.loss;
        const ReviewMark m = MarkOfLoss(row.loss);
        s.dubious += m == ReviewMark::Dubious;
        s.bad += m == ReviewMark::Bad;
    }
}

std::string ReviewRowText(const ReviewRow& row, int depth) {
    char text[96];
    std::snprintf(text, sizeof text, "%d\t%c\t%s\t%+d\t%s\t%+d\t%d\t", row.ply, row.side == 0 ? 'B' : 'W',
                  SquareCode(row.played).c_str(), row.playedValue, SquareCode(row.best).c_str(), row.bestValue,
                  row.loss);
    std::string line = text;
    char how[16];
    if (row.exact) std::snprintf(how, sizeof how, "exact");
    else std::snprintf(how, sizeof how, "d%d", depth);
    return line + how;
}

std::string ReviewTableText(const ReviewResult& r, const OpeningInfo& opening) {
    std::string text;
    for (int i = 0; i < r.rowCount; ++i) text += ReviewRowText(r.rows[i], r.params.depth) + "\n";
    ReviewSideSummary s[2];
    SummariseReview(r, s);
    for (int side = 0; side < 2; ++side) {
        char line[128];
        std::snprintf(line, sizeof line, "%s\tmoves %d\tloss %d\tdubious %d\tbad %d\n", side == 0 ? "B" : "W",
                      s[side].moves, s[side].totalLoss, s[side].dubious, s[side].bad);
        text += line;
    }
    char counts[64];
    text += "opening\t";
    text += opening.name.empty() ? "-" : opening.name.c_str();
    std::snprintf(counts, sizeof counts, "\t%d\nbook\t%d\n", opening.namedMoves, opening.bookPlies);
    text += counts;
    char settings[96];
    std::snprintf(settings, sizeof settings, "settings\tdepth %d\tset %c\texact %d\n", r.params.depth,
                  'A' + r.params.weightSet, r.params.exactFrom);
    text += settings;
    return text;
}

const char* ReviewMarkText(ReviewMark m) { return MarkWord(m); }
