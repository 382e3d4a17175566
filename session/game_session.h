// The game as the window sees it: the application mode, the live position,
// the two sides and the snapshot kept while a job works on the position.
#pragma once

#include <cstdint>

#include "core/board.h"
#include "record/game_record.h"

enum class AppMode {
    Idle,
    HumanTurn,
    ComputerThinking,
    PlayersDialog,
    BoardSetup,
    AnalysisDialog,
    ReviewDialog,
    Research,
    SettingsDialog,
};

constexpr std::int32_t PersonPlayer = -1;
constexpr std::int32_t NoMoveYet = -1;

// One colour's state, Black first.
struct SideInfo {
    std::int32_t kind;   // PlayerKind: -1 a person, 0..9 a computer level
    std::int32_t move;   // ChosenMove, also the last move shown: square, 0 pass, -1 none
    std::int32_t discs;
    std::int32_t clock;  // seconds of thinking time used
};

struct GameSession {
    AppMode mode;
    Position position;  // the one live position
    SideInfo side[2];
    Position snapshot;  // PositionSnapshot
    GameRecord record;  // the move history
};

// The program's one game session.
GameSession& Session();

// The initial position with Black to move and an empty history; the
// players stay.
void NewGame(GameSession& s);

// Each side's last move and clock from the history at its cursor.
void ReloadSessionLastMoves(GameSession& s);

// Recounts the live position's counters and both disc counts.
void RecountSession(GameSession& s);

void TakeSnapshot(GameSession& s);
void RestoreSnapshot(GameSession& s);
// Exchanges the live position and the snapshot while a job works on the live
// one (ComputerThinking, Research); in every other mode does nothing.
void SwapSnapshot(GameSession& s);

// True while a game's turn is under way.
inline bool IsGameRunning(AppMode m) { return m == AppMode::HumanTurn || m == AppMode::ComputerThinking; }
