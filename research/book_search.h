// The book-move search: command 1400, its job on the search thread, and the
// step that shows the book moves of the position and plays the chosen one.
// Windows code.
#pragma once

#include <windows.h>

// Command 1400 once the command gate let it through: the book search job.
void StartBookMoveSearch(HWND window);

// The finished book search (MsgResearchReady, wParam 0): ends the job, shows
// dialog 2100 or the message that the position has no book move, and plays
// the chosen move.
void ShowBookMoves(HWND window);
