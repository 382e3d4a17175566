// The game database window (研究 → 棋譜ﾃﾞｰﾀﾍﾞｰｽ): a modeless window beside
// the board that lists the moves played next from the board's position and
// the games that reached it. Windows code.
#pragma once

#include <windows.h>

// Command 1406: shows the window, asking for the folder the first time.
void OpenDatabaseWindow(HWND mainWindow);
// The window while it exists (null otherwise), for the message loop's
// dialog keys.
HWND DatabaseWindow();
