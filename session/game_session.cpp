#include "session/game_session.h"

#include <utility>

namespace {

GameSession session = [] {
    GameSession s{};
    s.mode = AppMode::Idle;
    s.side[0].kind = PersonPlayer;
    s.side[1].kind = PersonPlayer;
    NewGame(s);
    ReloadSessionLastMoves(s);
    s.snapshot = s.position;
    return s;
}();

}  // namespace

GameSession& Session() { return session; }

void NewGame(GameSession& s) {
    InitBoard(s.position);
    s.position.moveNumber = 0;
    s.position.sideToMove = 0;
    RecountSession(s);
    ResetHistory(s.record);
}

void ReloadSessionLastMoves(GameSession& s) {
    LastMoves last;
    ReloadLastMoves(s.record, s.position.sideToMove, last);
    for (int side = 0; side < 2; ++side) {
        s.side[side].move = last.move[side];
        s.side[side].clock = last.clock[side];
    }
}

void RecountSession(GameSession& s) { RecountPosition(s.position, s.side[0].discs, s.side[1].discs); }

void TakeSnapshot(GameSession& s) { s.snapshot = s.position; }

void RestoreSnapshot(GameSession& s) { s.position = s.snapshot; }

void SwapSnapshot(GameSession& s) {
    if (s.mode == AppMode::ComputerThinking || s.mode == AppMode::Research) std::swap(s.position, s.snapshot);
}
