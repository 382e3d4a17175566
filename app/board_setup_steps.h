// Board set-up on the game session: what beginning, a click, removing all
// discs, cancelling and accepting do to the position, the two sides and the
// history. No rule is applied to the position made: any arrangement stands
// with the counters it has. The window work (drawing, messages, the
// confirmation box) is app/board_setup.cpp.
#pragma once

#include <cstdint>

#include "session/game_session.h"

// The brush: the cell value the next click puts on a square.
using SetupBrush = std::uint8_t;  // Black, White, or Empty to remove

// Set-up begins: the snapshot is taken for a cancel, and the panel's last
// moves and clocks are blanked while the history keeps its plies and its
// cursor.
void BeginSetupSession(GameSession& s);

// A click on a playable square. When the square already holds the brush's
// value the brush moves on (Black, White, remove, Black ...) first; then the
// square takes the brush's value, the disc counts follow the change and the
// counters are worked out anew. True when the brush changed.
bool ApplySetupClick(GameSession& s, SetupBrush& brush, Square sq);

// Every playable square emptied; the counters recounted.
void RemoveAllSetupDiscs(GameSession& s);

// Cancel: the position from before set-up, with its last moves and clocks
// from the history, which is as it was.
void CancelSetupSession(GameSession& s);

// Accept: the position as set, with the side to move as set, starts a new
// game with an empty history.
void AcceptSetupSession(GameSession& s);

// The status message that tells what a click with the brush does.
unsigned SetupBrushMessage(SetupBrush brush);
