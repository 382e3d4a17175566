#include "record/game_record.h"

namespace {

// Words a ply takes on the data stack.
int PlyWords(Square square) { return square > 0 ? FlipWords + 1 : 1; }

void ReadFlips(const GameRecord& rec, int at, Square square, FlipRecord* flips) {
    if (!flips) return;
    for (int i = 0; i < FlipWords; ++i) flips->count[i] = square > 0 ? rec.data[at + i] : 0;
}

}  // namespace

void ResetHistory(GameRecord& rec) {
    for (int i = 0; i < HistorySentinels; ++i) {
        rec.squares[i] = SentinelSquare;
        rec.data[i] = SentinelClock;
    }
    rec.squareCursor = HistorySentinels;
    rec.dataCursor = HistorySentinels;
    rec.currentIndex = 0;
    rec.endIndex = 0;
}

bool AppendPly(GameRecord& rec, Square square, const FlipRecord& flips, int clock) {
    if (rec.currentIndex < 0) return false;
    if (rec.squareCursor + 1 > HistorySentinels + HistoryPlyRoom) return false;
    if (rec.dataCursor + PlyWords(square) > HistorySentinels + HistoryWordRoom) return false;
    rec.squares[rec.squareCursor++] = square;
    if (square > 0)
        for (int i = 0; i < FlipWords; ++i) rec.data[rec.dataCursor++] = flips.count[i];
    rec.data[rec.dataCursor++] = clock;
    rec.endIndex = ++rec.currentIndex;
    return true;
}

bool StepForward(GameRecord& rec, Square* square, FlipRecord* flips, int* clock) {
    if (rec.currentIndex >= rec.endIndex) return false;
    const Square sq = rec.squares[rec.squareCursor++];
    ReadFlips(rec, rec.dataCursor, sq, flips);
    rec.dataCursor += PlyWords(sq);
    if (square) *square = sq;
    if (clock) *clock = rec.data[rec.dataCursor - 1];
    ++rec.currentIndex;
    return true;
}

bool StepBack(GameRecord& rec, Square* square, FlipRecord* flips, int* clock) {
    if (rec.currentIndex <= -HistorySentinels) return false;
    const Square sq = rec.squares[--rec.squareCursor];
    rec.dataCursor -= PlyWords(sq);
    ReadFlips(rec, rec.dataCursor, sq, flips);
    if (square) *square = sq;
    if (clock) *clock = rec.data[rec.dataCursor + PlyWords(sq) - 1];
    --rec.currentIndex;
    return true;
}

int HistoryIndex(const GameRecord& rec) { return rec.currentIndex; }

void SeekHistory(GameRecord& rec, int n) {
    if (n < 0 || n > rec.endIndex) n = rec.endIndex;
    while (rec.currentIndex > n && StepBack(rec)) {}
    while (rec.currentIndex < n && StepForward(rec)) {}
}

int HistoryState(const GameRecord& rec) {
    int state = 0;
    if (rec.currentIndex > 0) state |= CanStepBack;
    if (rec.currentIndex < rec.endIndex) state |= CanStepForward;
    return state;
}

void ReloadLastMoves(GameRecord& rec, int sideToMove, LastMoves& out) {
    StepBack(rec);
    StepBack(rec);
    const int own = sideToMove & 1;
    StepForward(rec, &out.move[own], nullptr, &out.clock[own]);
    StepForward(rec, &out.move[1 - own], nullptr, &out.clock[1 - own]);
}

namespace {

// The ply before the cursor, taken back on the board.
bool TakeBackPly(Position& pos, GameRecord& rec) {
    if (!(HistoryState(rec) & CanStepBack)) return false;
    Square square;
    FlipRecord flips;
    StepBack(rec, &square, &flips);
    pos.sideToMove ^= 1;
    if (square > 0) {
        UndoMove(pos, square, ColourOfSide(pos.sideToMove), flips);
        --pos.moveNumber;
    }
    return true;
}

// The ply at the cursor, played on the board. A recorded move the board
// refuses (a history that does not belong to this position) is not stepped
// over, so cursor and board never part.
bool ReplayPly(Position& pos, GameRecord& rec) {
    if (!(HistoryState(rec) & CanStepForward)) return false;
    Square square;
    StepForward(rec, &square);
    if (square > 0) {
        FlipRecord flips;
        if (pos.board[square] != Empty ||
            PlayMove(pos, square, ColourOfSide(pos.sideToMove), flips) == 0) {
            StepBack(rec);
            return false;
        }
        ++pos.moveNumber;
    }
    pos.sideToMove ^= 1;
    return true;
}

}  // namespace

bool NavigateHistory(Position& pos, GameRecord& rec, HistoryStep step, LastMoves& last) {
    bool moved = false;
    switch (step) {
        case HistoryStep::ToStart:
            while (TakeBackPly(pos, rec)) moved = true;
            break;
        case HistoryStep::Back:
            moved = TakeBackPly(pos, rec);
            break;
        case HistoryStep::Forward:
            moved = ReplayPly(pos, rec);
            break;
        case HistoryStep::ToEnd:
            while (ReplayPly(pos, rec)) moved = true;
            break;
    }
    if (!moved) return false;
    pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
    ReloadLastMoves(rec, pos.sideToMove, last);
    return true;
}
