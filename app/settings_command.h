// Command 1500: the settings dialog with the main window's part around it.
// Windows code.
#pragma once

#include <windows.h>

// After the command gate: runs the settings dialog, shows its outcome and
// brings the window in line with changed display settings.
void OpenSettingsDialog(HWND window);
