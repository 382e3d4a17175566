#include "app/board_setup_steps.h"

#include "res/resource.h"

namespace {

SetupBrush NextBrush(SetupBrush brush) {
    if (brush == Black) return White;
    if (brush == White) return Empty;
    return Black;
}

void RecountSetupCounters(GameSession& s) {
    Position& pos = s.position;
    const int black = s.side[0].discs, white = s.side[1].discs;
    pos.moveNumber = black + white - 4;
    pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
    pos.discDifference = black - white;
}

}  // namespace

void BeginSetupSession(GameSession& s) {
    s.mode = AppMode::BoardSetup;
    TakeSnapshot(s);
    const int ply = HistoryIndex(s.record);
    SeekHistory(s.record, 0);
    ReloadSessionLastMoves(s);
    SeekHistory(s.record, ply);
}

bool ApplySetupClick(GameSession& s, SetupBrush& brush, Square sq) {
    if (!IsPlayable(sq)) return false;
    std::uint8_t& cell = s.position.board[sq];
    const bool advance = cell == brush;
    if (advance) brush = NextBrush(brush);
    if (cell == Black || cell == White) --s.side[cell - 1].discs;
    cell = brush;
    if (cell == Black || cell == White) ++s.side[cell - 1].discs;
    RecountSetupCounters(s);
    return advance;
}

void RemoveAllSetupDiscs(GameSession& s) {
    for (Square sq = 11; sq <= 88; ++sq)
        if (IsPlayable(sq)) s.position.board[sq] = Empty;
    RecountSession(s);
}

void CancelSetupSession(GameSession& s) {
    s.mode = AppMode::Idle;
    RestoreSnapshot(s);
    ReloadSessionLastMoves(s);
    RecountSession(s);
}

void AcceptSetupSession(GameSession& s) {
    ResetHistory(s.record);
    s.mode = AppMode::Idle;
}

unsigned SetupBrushMessage(SetupBrush brush) {
    if (brush == White) return IDS_SETUP_PLACE_WHITE;
    if (brush == Empty) return IDS_SETUP_REMOVE_DISC;
    return IDS_SETUP_PLACE_BLACK;
}
