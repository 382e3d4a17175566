#pragma once

// Operations the main window already routes to whose work is built with the
// research commands. Until then each accepts its call and changes nothing;
// building one means moving it out of here into its own module. Windows code.

#include <windows.h>

#include "app/game_session.h"

// Research.
void StartBookMoveSearch(HWND window);
