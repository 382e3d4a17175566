// The game review: every move of a game valued beside the best move of its
// position by one search, the loss per move, the marks on the costly moves,
// each side's summary and the table text that the review window copies and
// tavix-cli prints. Portable code; the job runs it on the search thread.
#pragma once

#include <cstdint>
#include <string>

#include "config/review_settings.h"
#include "core/board.h"
#include "engine/jobs.h"
#include "record/game_record.h"

// Losses (in discs) from which a move is marked 疑問手 and 悪手.
constexpr int DubiousLoss = 4;
constexpr int BadLoss = 8;
enum class ReviewMark { None, Dubious, Bad };
ReviewMark MarkOfLoss(int loss);
// 疑問手, 悪手 or nothing, in Shift-JIS.
const char* ReviewMarkText(ReviewMark m);

// A game as the review sees it: its start position (counters recounted) and
// every recorded ply, 0 for a pass.
struct ReviewGame {
    Position start;
    int plyCount = 0;
    Square plies[HistoryPlyRoom] = {};
};
// The whole recorded game of the live position and its history, whatever
// ply the cursor stands at; neither is changed.
ReviewGame ReviewGameOf(const Position& current, const GameRecord& history);
bool SameGame(const ReviewGame& a, const ReviewGame& b);
// The position after the first n plies of the game (counters recounted).
Position ReviewPositionAt(const ReviewGame& game, int n);

// One valued move: ply is its number in the history (passes counted), so
// the history at ply shows the position after it. Values are for the mover.
struct ReviewRow {
    int ply = 0;
    int side = 0;  // 0 black, 1 white
    Square played = 0;
    int playedValue = 0;
    Square best = 0;
    int bestValue = 0;
    int loss = 0;
    bool exact = false;
    bool forced = false;
};

struct ReviewResult {
    ReviewParams params;
    ReviewGame game;
    int rowCount = 0;  // one row per move (passes have none), in ply order
    ReviewRow rows[HistoryPlyRoom];
    int valued = 0;    // rows valued so far; the job fills them last row first
};

// The rows of a game before valuing: one per move, its ply, side and square,
// whether it was the only legal move and whether its position is valued
// exactly.
void PrepareReview(const ReviewGame& game, const ReviewParams& params, ReviewResult& out);

// Called before each position is valued: its row index and the rows left.
struct ReviewProgress {
    void* context = nullptr;
    void (*report)(void* context, int ply, int left) = nullptr;
};

// Values every row of out (prepared by PrepareReview) from the last ply back
// to the first. The best move by the root loop with one slot, the played
// move (when another) as that root loop searches each of its moves; the two
// values therefore come from the same depth, weights and window. False when a stop cut it short; the game's
// positions are the job's own copies, so nothing outside out changes.
bool RunGameReview(EngineState& es, ReviewResult& out, const JobHooks& hooks, const ReviewProgress& progress);

// Value of the position after row's ply from Black's side (the graph's).
inline int BlackValueOf(const ReviewRow& row) { return row.side == 0 ? row.playedValue : -row.playedValue; }

struct ReviewSideSummary {
    int totalLoss = 0;
    int dubious = 0;
    int bad = 0;
    int moves = 0;
};
void SummariseReview(const ReviewResult& r, ReviewSideSummary out[2]);

// Where the game stands among the named openings and the book: the longest
// named line it follows at any symmetry (empty when none) and the number of
// plies it stayed in the book (0: none).
struct OpeningInfo {
    std::string name;
    int namedMoves = 0;
    int bookPlies = 0;
};

// The table: one tab-separated line per valued row
// "ply side played played-value best best-value loss how", then the summary
// lines. Lines end with "\n" (the clipboard composer turns them into CR LF).
std::string ReviewTableText(const ReviewResult& r, const OpeningInfo& opening);
// One row as the table writes it, without the line end.
std::string ReviewRowText(const ReviewRow& row, int depth);
