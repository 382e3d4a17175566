#pragma once

// The main window: its class, creation and message routing. Windows code.

#include <windows.h>

inline constexpr wchar_t MainWindowClassName[] = L"Tavix";

bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window at its layout size and shows it; nullptr on failure.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);
