// Record files as the window uses them: the load and save commands with the
// common file dialogs, loading from the recent-file list, from dropped files
// and from the command line. Windows code.
#pragma once

#include <windows.h>

#include <string>

// Loads a record into the game. On failure the error box (caption as given,
// owned by owner, which may be null) has been shown and the game is
// unchanged.
bool LoadRecord(HWND owner, const std::wstring& caption, const std::wstring& fileName);
// Saves the game. A failure is reported the same way; whatever file stood
// under the name before is then left as it was.
bool SaveRecord(HWND owner, const std::wstring& caption, const std::wstring& fileName);

// Commands 1200 and 1201, after the gate.
void LoadRecordCommand(HWND window);
void SaveRecordCommand(HWND window);
// Commands 1202..1210 (slot 0..8), after the gate with 1200.
void LoadRecentRecord(HWND window, int slot);
// One file of a drop, after the gate with 1200.
void LoadDroppedFile(HWND window, const wchar_t* fileName);
// Start-up, before the window exists: the name after the program's.
void LoadRecordFromCommandLine(const wchar_t* argument);

// A game that replaces the current one (from the database or a GGF
// choice): position, history and, when takeKinds, the players' kinds; the
// board and panel are then shown as after a load.
struct RecordGame;
void TakeRecordGame(HWND window, const RecordGame& game, bool takeKinds);

// The game of a GGF text to take: the only one, or the one chosen in the
// list of players and dates (owner may be null). False when the text holds
// none or the choice was cancelled.
struct GgfGame;
bool ChooseGgfGame(HWND owner, const std::string& text, RecordGame& game);

// A string-table text with its "%s" replaced by the file name, in a warning
// box.
void ShowFileError(HWND owner, const std::wstring& caption, UINT id, const std::wstring& fileName);
