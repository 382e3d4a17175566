#pragma once

// Operations the main window already routes to whose work is built with the
// turn loop, the record files, board set-up, the dialogs and the research
// commands. Until then each accepts its call and changes nothing; building
// one means moving it out of here into its own module. Windows code.

#include <windows.h>

#include "app/game_session.h"

// Board set-up.
void BeginBoardSetup(HWND window);
void BoardSetupClick(HWND window, POINT client);
void RemoveAllDiscs(HWND window);
void CancelBoardSetup(HWND window);
void FinishBoardSetup(HWND window);
bool EndBoardSetup(HWND window, int command);

// Dialogs and research.
void OpenPlayersDialog(HWND window);
void StartBookMoveSearch(HWND window);
void OpenSettingsDialog(HWND window);
