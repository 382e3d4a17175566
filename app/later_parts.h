#pragma once

// Operations the main window already routes to whose work is built with the
// turn loop and the record files. Until then each accepts its call and changes nothing; building
// one means moving it out of here into its own module. Windows code.

#include <windows.h>

#include "app/game_session.h"

// Records and the recent-file list.
void ReadRecentFiles();
void LoadRecordFromCommandLine(const wchar_t* fileName);
void LoadRecordCommand(HWND window);
void SaveRecordCommand(HWND window);
void LoadRecentRecord(HWND window, int slot);
void LoadDroppedFile(HWND window, const wchar_t* fileName);
void BuildRecentMenu(HMENU menu);
