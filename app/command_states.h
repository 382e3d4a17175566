// Which commands are available, decided in one place for the menus, the
// right-click menus, the accelerators and the toolbar.
#pragma once

#include "session/game_session.h"

struct CommandContext {
    AppMode mode;
    int legalMoveCount;  // of the live position; -1 when the game is over
    bool canGoBack;      // the history can step back
    bool canGoForward;   // the history can step forward
};

// Whether command id is enabled. Commands without a rule are enabled.
bool IsCommandEnabled(int id, const CommandContext& c);

// The right-click menu for a mode: 0 game, 1 board set-up, 2 research.
int ContextMenuIndex(AppMode mode);

// The context of the game session as it stands.
CommandContext SessionCommandContext(const GameSession& s);
