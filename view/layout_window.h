#pragma once

// The main window's outer size for a layout unit, keeping its client area
// at the layout size, and keeping the windows beside it on its screen.
// Windows code.

#include <windows.h>

constexpr DWORD MainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD MainWindowExStyle = WS_EX_ACCEPTFILES;

// What the frame, caption and one-line menu bar add to the client area.
SIZE LayoutFrameSize();

// Outer size of a main window whose client area is the layout size for u.
SIZE LayoutWindowSize(int u);

// The largest unit whose window fits the primary screen.
int LargestDisplaySize();

// Sets the outer size to LayoutWindowSize(u) without moving, reordering or
// activating the window; the size notification finishes the layout.
void ResizeToDisplaySize(HWND window, int u);

// Size-notification check: true when the client area is exactly the layout
// size for u. Otherwise grows or shrinks the window by the difference (a menu
// bar that wrapped to two lines, a frame of another height than assumed) and
// returns false; the size notification that follows checks again.
bool FitClientToDisplaySize(HWND window, int u);

// The top-left corner nearest to at where a window of the given outer size
// lies inside the work area of the screen that holds beside (its top-left
// corner shown first when the window is larger).
POINT KeepOnScreen(HWND beside, POINT at, SIZE size);
