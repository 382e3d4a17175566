// The about box (dialog 2500): the program's icon and version text. Windows code.
#pragma once

#include <windows.h>

// Runs the box modally, owned by the window; what runs is paused meanwhile.
void ShowAboutBox(HWND window);
