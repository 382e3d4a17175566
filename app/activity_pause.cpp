#include "app/activity_pause.h"

#include "app/turn_loop.h"

void PauseActivity(HWND window, bool pause) { PauseRunningActivity(window, pause); }
