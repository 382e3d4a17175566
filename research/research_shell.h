// The shell as the research commands see it: the job steps of the turn loop,
// its move step, the toolbar, help and the command captions, and nothing
// more. The shell (app/) implements these by forwarding to its own
// procedures, so research code includes no header of the shell and the shell
// alone reaches into research. Windows code.
#pragma once

#include <windows.h>

#include <string>

#include "engine/search_thread.h"
#include "record/record_file.h"
#include "session/game_session.h"

// BeginJob: snapshot, mode, status message, clock.
void ShellBeginJob(HWND window, AppMode mode, UINT message);
// StartJob with a research job on the live position.
void ShellStartJob(HWND window, const ResearchJob& job);
// EndJob: waits for the search thread's end and leaves the job's mode.
void ShellEndJob(HWND window);
// The turn loop's move step for the side to move's ChosenMove; false when
// the move was not played.
bool ShellPlayChosenMove(HWND window);
// Shows the game's result once neither side can move.
void ShellAnnounceResult(HWND window);
// Enables the toolbar buttons for the current mode.
void ShellUpdateToolbar();
// Opens the help topic of a context number (a dialog's id).
void ShellOpenHelp(HWND owner, int context);
// The command gate of a command: false when the command must not go on.
bool ShellCommandGate(HWND window, int command);
// A game read from outside becomes the game (the record loader's last step);
// takeKinds also takes its players.
void ShellTakeRecordGame(HWND window, const RecordGame& game, bool takeKinds);
// A file error box: the string id's text with "%s" replaced by fileName.
void ShellShowFileError(HWND owner, const std::wstring& caption, UINT id, const std::wstring& fileName);
// Moves the history to ply as the navigation commands do (gate, steps,
// redraw).
void ShellSeekHistory(HWND window, int ply);
// Puts text (ASCII) on the clipboard; false when the clipboard cannot be had.
bool ShellPutOnClipboard(HWND window, const std::string& text);
// The caption of a command's message boxes.
std::wstring ShellCommandCaption(HWND window, int command);
