// The messages of the turn loop and of the search thread, posted to the main
// window. They sit beside the search thread's interface so that the thread
// and the window agree on them without the engine reaching into the shell.
// Windows code.
#pragma once

#include <windows.h>

// The main window to itself: the turn loop.
constexpr UINT MsgNextTurn = WM_USER;
// The computer-move job (or a person's accepted click): ChosenMove is set.
constexpr UINT MsgMoveReady = WM_USER + 1;
// A research job is done; wParam 0 the book search, 1 the analysis; lParam
// the job's serial, so that a message of a stopped job can be told apart.
constexpr UINT MsgResearchReady = WM_USER + 2;
// From the search thread: updates of the thinking display wait in its ring.
constexpr UINT MsgThinkingUpdate = WM_USER + 3;
// From the search thread: a step of the hint job waits; wParam the job's serial.
constexpr UINT MsgHintReady = WM_USER + 4;
// The game database window's loading thread: the database is read; lParam
// the loaded database, which the window takes over.
constexpr UINT MsgDatabaseReady = WM_USER + 6;
// From the game review's job: wParam the ply being valued, lParam the moves
// left to value (that one included).
constexpr UINT MsgReviewProgress = WM_USER + 5;
