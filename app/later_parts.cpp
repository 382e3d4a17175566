#include "app/later_parts.h"

void ReadRecentFiles() {}
void LoadRecordFromCommandLine(const wchar_t*) {}
void LoadRecordCommand(HWND) {}
void SaveRecordCommand(HWND) {}
void LoadRecentRecord(HWND, int) {}
void LoadDroppedFile(HWND, const wchar_t*) {}
void BuildRecentMenu(HMENU) {}
