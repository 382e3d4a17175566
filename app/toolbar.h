#pragma once

// The main window's toolbar: its buttons, their enabling and tooltips.
// Windows code.

#include <windows.h>

// Creates the toolbar (child id 1) in the band at the top of the client area.
HWND CreateMainToolbar(HWND parent);
void DestroyMainToolbar();
// Keeps the toolbar across the client width, exactly the toolbar band high.
void SizeMainToolbar();
// Enables the buttons by the application mode and the history.
void UpdateToolbar();
// WM_NOTIFY from the toolbar's tooltips: fills in the command caption.
// True when the notification was a tooltip's request for text.
bool HandleToolbarNotify(HWND window, NMHDR* header);
