#include "app/later_parts.h"

bool NextTurn(HWND) { return false; }
void PlayChosenMove(HWND) {}
void HandleResearchReady(HWND, WPARAM) {}
void HumanClick(HWND, POINT) {}
void AbortHumanTurn(HWND) {}
void AbortJob(HWND, AppMode) {}
void ShowLegalMoves(HWND, bool) {}

void ReadRecentFiles() {}
void LoadRecordFromCommandLine(const wchar_t*) {}
void LoadRecordCommand(HWND) {}
void SaveRecordCommand(HWND) {}
void LoadRecentRecord(HWND, int) {}
void LoadDroppedFile(HWND, const wchar_t*) {}
void BuildRecentMenu(HMENU) {}
void NavigateHistoryCommand(HWND, int) {}

void LoadOpeningBook(const wchar_t*) {}
void ReleaseOpeningBook() {}

void BeginBoardSetup(HWND) {}
void BoardSetupClick(HWND, POINT) {}
void RemoveAllDiscs(HWND) {}
void ChangeSideToMove(HWND) {}
void CancelBoardSetup(HWND) {}
void FinishBoardSetup(HWND) {}
bool EndBoardSetup(HWND, int) { return true; }

void OpenPlayersDialog(HWND) {}
void StartBookMoveSearch(HWND) {}
void StartEvaluationAnalysis(HWND) {}
void OpenSettingsDialog(HWND) {}
