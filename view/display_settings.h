#pragma once

// Bringing the main window in line with changed display settings: top-most
// state, colours, size and font. Windows code.

#include <windows.h>

#include "config/settings.h"

// After the settings dialog has closed; before is a copy of the settings
// taken when it opened.
void ApplyDisplaySettings(HWND window, const Settings& before);

// New colours: the whole client area repainted with a new palette and discs.
void RefreshColours(HWND window);
// New face name: only the five rectangles holding text are repainted.
void RefreshFont(HWND window);
