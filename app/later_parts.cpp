#include "app/later_parts.h"

void BeginBoardSetup(HWND) {}
void BoardSetupClick(HWND, POINT) {}
void RemoveAllDiscs(HWND) {}
void CancelBoardSetup(HWND) {}
void FinishBoardSetup(HWND) {}
bool EndBoardSetup(HWND, int) { return true; }

void OpenPlayersDialog(HWND) {}
void StartBookMoveSearch(HWND) {}
void OpenSettingsDialog(HWND) {}
