// The history navigation commands: to the start, one ply back, one ply
// forward, to the end. Windows code.
#pragma once

#include <windows.h>

// Commands 1211 to 1214, after the command gate.
void NavigateHistoryCommand(HWND window, int id);

// Moves the history to ply (the position after it) step by step as the
// navigation commands do, after the gate with the command of that direction;
// nothing when the cursor stands there or the ply is not recorded.
void SeekHistoryCommand(HWND window, int ply);
