// Pausing what runs while the program does something else for a moment:
// painting, an open menu, the about box. Windows code.
#pragma once

#include <windows.h>

// The clock: one window timer that adds a second to the side to move.
constexpr UINT_PTR ClockTimerId = 1;
constexpr UINT ClockTickMs = 1000;

// pause true: the clock stands still and a running search is held before
// this returns; false: both go on, the clock with a fresh one-second period.
// Pauses nest: only the outermost resume lets them go on. Outside a turn or
// a job nothing runs and nothing changes.
void PauseActivity(HWND window, bool pause);
