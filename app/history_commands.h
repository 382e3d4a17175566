// The history navigation commands: to the start, one ply back, one ply
// forward, to the end. Windows code.
#pragma once

#include <windows.h>

// Commands 1211 to 1214, after the command gate.
void NavigateHistoryCommand(HWND window, int id);
