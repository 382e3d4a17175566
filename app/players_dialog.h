// The Players dialog (command 1102): each colour's kind for this game and,
// with 保存, for later runs. Windows code.
#pragma once

#include <windows.h>

// After the command gate: runs the dialog and shows its outcome on the panel.
void OpenPlayersDialog(HWND window);
