// The review window 「棋譜解析」: the graph of the game's value from Black's
// side with each move's loss, the list of valued moves, each side's summary,
// and copy and help buttons. Modeless, owned by the main window; it follows
// the history's current ply, and a click on a row or on the graph moves the
// history there. Windows code.
#pragma once

#include <windows.h>

// Opens the window (or brings it up to date) with the kept review.
void OpenReviewWindow(HWND owner);
// The main loop's hook: F1 in the review window opens its help page. True
// when the message was handled.
bool HandleReviewWindowKey(const MSG& msg);
