// The move history of the current game: every ply (move or pass) with its
// flips and the mover's clock, a cursor that can step back and forth over
// them, and the navigation steps that replay or take back plies on the live
// Position. No start position is kept: the Position always stands at the
// cursor, and earlier positions are reached by taking plies back.
#pragma once

#include <cstdint>

#include "core/board.h"

// Two sentinel plies (square -1, clock 0) stand before the first ply, so that
// the last moves of both colours can be read even at the start of a game.
constexpr int HistorySentinels = 2;
constexpr int SentinelSquare = -1;
constexpr int SentinelClock = 0;
// Room after the sentinels. A game has at most 62 moves and at most one pass
// before each, so 124 plies and 124 * 5 = 620 words; the room keeps a margin.
constexpr int HistoryPlyRoom = 126;
constexpr int HistoryWordRoom = 638;
constexpr int FlipWords = 8;

struct GameRecord {
    // One entry per ply: the square played, 0 for a pass.
    std::int32_t squares[HistorySentinels + HistoryPlyRoom];
    // Per ply: the eight flip counts (moves only), then the mover's clock.
    std::int32_t data[HistorySentinels + HistoryWordRoom];
    int squareCursor;   // next slot of squares at the current ply
    int dataCursor;     // next slot of data at the current ply
    int currentIndex;   // plies before the cursor
    int endIndex;       // plies recorded
};

// HistoryState bits.
constexpr int CanStepBack = 1;
constexpr int CanStepForward = 2;

void ResetHistory(GameRecord& rec);
// Records a ply at the cursor and drops any plies after it. False (nothing
// written) when the ply would not fit, or when the cursor stands on a
// sentinel.
bool AppendPly(GameRecord& rec, Square square, const FlipRecord& flips, int clock);
// Read the ply at the cursor and move past it, or move back over the ply
// before the cursor and read it. Any output may be null; the flips of a pass
// or sentinel read as zeros. StepBack reaches at most two plies below index 0
// (the sentinels); StepForward stops at the end index. False when the step
// is not possible; nothing moves then.
bool StepForward(GameRecord& rec, Square* square = nullptr, FlipRecord* flips = nullptr,
                 int* clock = nullptr);
bool StepBack(GameRecord& rec, Square* square = nullptr, FlipRecord* flips = nullptr,
              int* clock = nullptr);
int HistoryIndex(const GameRecord& rec);
// Moves only the cursor to ply n (n < 0: the end); n is clamped to the
// recorded plies. The Position is not touched.
void SeekHistory(GameRecord& rec, int n);
int HistoryState(const GameRecord& rec);

// Each colour's last move (a Square, 0 for a pass, -1 for none) and the clock
// recorded with it, as the panel shows them; index 0 black, 1 white.
struct LastMoves {
    Square move[2];
    int clock[2];
};

// The last two plies before the cursor: the one two back is the side to
// move's own, the one just before is the opponent's.
void ReloadLastMoves(GameRecord& rec, int sideToMove, LastMoves& out);

// The four navigation commands. Each replays or takes back plies on pos
// (board, sideToMove, discDifference, moveNumber, legalMoveCount) and then
// reloads the last moves. False when there was nothing to step over; pos and
// last are then untouched.
enum class HistoryStep { ToStart, Back, Forward, ToEnd };
bool NavigateHistory(Position& pos, GameRecord& rec, HistoryStep step, LastMoves& last);
