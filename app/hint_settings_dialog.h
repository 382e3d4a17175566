// The hint settings dialog (研究 → 候補手の設定): the deepest midgame depth,
// exact values from how many empty squares, how many of the best moves are
// shown, and whether hints run in a game with a computer. OK takes and stores
// them. Windows code.
#pragma once

#include <windows.h>

// True when OK changed the settings.
bool OpenHintSettingsDialog(HWND window);
