// Board set-up mode: discs placed and removed by clicks, the side to move
// chosen, then the position accepted as the start of a new game or the game
// from before brought back. Windows code; the steps on the game session are
// app/board_setup_steps.
#pragma once

#include <windows.h>

// Command 1300, after the command gate.
void BeginBoardSetup(HWND window);
// A left button press in set-up.
void BoardSetupClick(HWND window, POINT client);
// Commands 1301 and 1303.
void RemoveAllDiscs(HWND window);
void CancelBoardSetup(HWND window);
// Ends set-up with the position as set. command 0 (command 1304) ends it at
// once; any other command id first asks, with that command's caption (終了
// for closing, 棋譜の復元 for loading), and No keeps set-up running. True
// when set-up ended, and the command that asked may go ahead.
bool EndBoardSetup(HWND window, int command);
