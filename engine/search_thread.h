// The one search thread: a thread per job, created by the window thread and
// ended by returning. Stop and pause go through the engine's control word;
// the thread never draws. Its thinking display reaches the window as posted
// messages whose data wait in a small ring, in the order they were made.
// Windows code.
#pragma once

#include <windows.h>

#include "core/board.h"
#include "engine/hints.h"
#include "engine/jobs.h"

// The thread posts MsgMoveReady (wParam the job's serial) when the move is
// chosen, MsgResearchReady (wParam the research kind, lParam the serial) when
// a research list is filled, and MsgThinkingUpdate (wParam the serial) for
// each update of the thinking display waiting in the ring; the ids are in
// engine/window_messages.h.

// Starts the computer-move job for the side to move of pos (the live
// position, which the thread owns until it ends). With startPaused the job
// is held at its first search node before this returns. MsgMoveReady comes
// with the job's serial in wParam when the move is chosen; nothing comes
// after a stop. False when the thread could not be created.
bool StartComputerMoveJob(HWND window, Position& pos, int level, int thoughtTime, bool thoughtDisplay,
                          bool startPaused);

// The book the computer-move job asks before it searches and the book search
// lists from (Tavix installs it once the book is loaded); an empty lookup
// means no book moves.
void SetBookLookup(BookLookup lookup);

// The research jobs, told apart by their kind, which MsgResearchReady carries
// in wParam.
constexpr WPARAM ResearchBookSearch = 0;
constexpr WPARAM ResearchAnalysis = 1;
constexpr WPARAM ResearchHints = 3;
constexpr WPARAM ResearchReview = 2;

struct ResearchJob {
    WPARAM kind = ResearchAnalysis;
    int moveNumber = 0;       // the book search: the live position's move number
    BookMoveList* bookMoves = nullptr;  // the book search: the list to fill, empty on entry
    AnalysisParams params;    // the analysis
    // A research job of a subsystem above the engine (the game review): run
    // on the search thread with the engine and the thread's hooks, false
    // when a stop cut it short. What it fills the window leaves alone until
    // the job has ended.
    bool (*run)(void* context, EngineState& es, const JobHooks& hooks) = nullptr;
    void* context = nullptr;
};

// Starts a research job on pos (the live position, which the thread owns
// until it ends), as StartComputerMoveJob does. MsgResearchReady comes with
// the kind in wParam and the job's serial in lParam once ResearchResults is
// filled; nothing comes after a stop.
bool StartResearchJob(HWND window, Position& pos, const ResearchJob& job, bool startPaused);

// Starts the hint job on a copy of pos: the live position stays the window's,
// so painting never needs the snapshot. Each finished step waits for
// TakeHintReport and is announced by MsgHintReady (wParam the job's serial);
// nothing comes after a stop. False when the thread could not be created.
bool StartHintJob(HWND window, const Position& pos, const HintParams& params, bool startPaused);
// Whether the job thread held is a hint job.
bool HintJobRunning();
// Window thread, on MsgHintReady: the next waiting report in order; false
// when none waits.
bool TakeHintReport(HintReport& report);

// Serial of the latest job; 0 before the first.
WPARAM CurrentJobSerial();
// Whether a job thread is held.
bool SearchJobRunning();

// Waits without limit for the job thread to end and releases it.
void WaitForSearchJob();
// Asks the job to unwind at once (a held job wakes to unwind), then waits for
// its end. The position is as it was when the job began.
void StopSearchJob();
// pause: returns once the search is held (or has finished), so the caller
// may use the live position; resume lets it go on.
void PauseSearchJob(bool pause);

// The finished job's move: a square, or 0 for a pass. Valid after
// MsgMoveReady and WaitForSearchJob.
Square SearchJobMove();
// Search figures of the finished job (for the log of the move times).
const ComputerMove& SearchJobResult();

// The finished research job's list, best first, ended by an entry without
// line; valid after MsgResearchReady and WaitForSearchJob, and until the next
// research job starts.
const ResultList& ResearchResults();

// One update of the thinking display.
struct ThinkingUpdate {
    WPARAM serial;
    bool bestLine;  // false: a search mark
    Square mark;    // the root move being searched, 0 to clear
    int value;
    Square line[MaxLineLength + 1];
};

// Window thread, on MsgThinkingUpdate: takes the next waiting update in
// order; false when none waits.
bool TakeThinkingUpdate(ThinkingUpdate& update);
