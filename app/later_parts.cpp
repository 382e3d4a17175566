#include "app/later_parts.h"

void ReadRecentFiles() {}
void LoadRecordFromCommandLine(const wchar_t*) {}
void LoadRecordCommand(HWND) {}
void SaveRecordCommand(HWND) {}
void LoadRecentRecord(HWND, int) {}
void LoadDroppedFile(HWND, const wchar_t*) {}
void BuildRecentMenu(HMENU) {}

void BeginBoardSetup(HWND) {}
void BoardSetupClick(HWND, POINT) {}
void RemoveAllDiscs(HWND) {}
void CancelBoardSetup(HWND) {}
void FinishBoardSetup(HWND) {}
bool EndBoardSetup(HWND, int) { return true; }

void OpenPlayersDialog(HWND) {}
void StartBookMoveSearch(HWND) {}
void OpenSettingsDialog(HWND) {}
