// The turn loop: the self-posted messages that alternate the two players,
// a person's turn with its click, the computer's turn as a job on the search
// thread, playing the chosen move, and the end of the game. Windows code.
#pragma once

#include <windows.h>

#include "engine/search_thread.h"
#include "session/game_session.h"

// MsgNextTurn: starts the turn of the side to move; true when its move is
// already chosen (the automatic move), and MsgMoveReady is then due.
bool NextTurn(HWND window);
// MsgMoveReady: plays the chosen move and posts MsgNextTurn. wParam 0 comes
// from the window itself on a person's turn, a job's serial from the search
// thread; one that no longer belongs to the running turn is dropped.
void HandleMoveReady(HWND window, WPARAM wParam);
// MsgThinkingUpdate: draws the waiting updates of the running job.
void HandleThinkingUpdates(HWND window);
// A left click while a person is to move.
void HumanClick(HWND window, POINT client);

// Plays the side to move's chosen move (or pass), shows it, records it and
// hands the turn over. False, with the game stopped, when the rules refuse
// the choice.
bool PlayChosenMove(HWND window);
void ChangeSideToMove(HWND window);
// The result box of a finished game.
void AnnounceResult(HWND window);

// A job on the search thread: the snapshot is taken, the clock runs.
void BeginJob(HWND window, AppMode mode, UINT message);
// The computer's move for the side to move at level 0..9.
void StartJob(HWND window, int level);
// A research job (book search or analysis) on the live position.
void StartJob(HWND window, const ResearchJob& job);
void EndJob(HWND window);
// Stops the job; the position before it comes back.
void AbortJob(HWND window, AppMode mode);
void PauseJob(HWND window, bool pause);

void BeginHumanTurn(HWND window);
void EndHumanTurn(HWND window);
void AbortHumanTurn(HWND window);
void PauseHumanTurn(HWND window, bool pause);

// Painting, an open menu and the about box hold what runs: the clock stops
// and the search is held. Pauses nest; the outermost resume lets things go.
void PauseRunningActivity(HWND window, bool pause);
// Whether a pause holds what runs.
bool ActivityPaused();
