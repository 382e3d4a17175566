#pragma once

// The main window: its class, creation and message routing, and the files
// beside the executable that the shell names at start-up. Windows code.

#include <windows.h>

inline constexpr wchar_t MainWindowClassName[] = L"Tavix";

bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window at its layout size and shows it; nullptr on failure.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);

// The help, sound and opening-book paths: the executable's path with its
// last three characters replaced by "HLP", "WAV" and "STD".
struct ShellFilePaths {
    wchar_t help[MAX_PATH];
    wchar_t sound[MAX_PATH];
    wchar_t book[MAX_PATH];
};
void SetShellFilePaths(const wchar_t* executablePath);
const ShellFilePaths& ShellFiles();
