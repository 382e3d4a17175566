// When hints run: the decision from the state of the program, kept apart
// from the window so that it can be tested.
#pragma once

#include "session/game_session.h"

struct HintContext {
    AppMode mode;
    bool switchOn;         // the Hints setting
    bool withComputer;     // the HintWithComputer setting
    int kind[2];           // the players, Black first
    int legalMoveCount;    // of the position on the board
    bool activityPaused;   // a menu, the about box or a paint holds what runs
    bool legalMovesShown;  // the legal-move marks stand on the board
};

// Hints run while the board waits for a person or for a command, never while
// the computer thinks, research runs, a dialog is open or the board is being
// set up; in a game with a computer player only when asked for.
bool HintsWanted(const HintContext& c);

// The hint context of the game session as it stands.
HintContext SessionHintContext(const GameSession& s, bool switchOn, bool withComputer, bool activityPaused,
                               bool legalMovesShown);
