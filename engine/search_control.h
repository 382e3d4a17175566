// The cooperative control of the one search thread: the window thread asks
// for a stop or a pause through one atomic word that the search reads at
// every node; the search answers a pause by parking until it is resumed.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

enum : int {
    ControlRun = 0,
    ControlPause = 1,
    ControlStop = 2,
};

struct SearchControl {
    std::atomic<int> request{ControlRun};
    // Threads that answer the control word (the job's own thread and any
    // helpers it runs), and how many of them are parked now.
    std::atomic<int> workers{1};
    std::atomic<int> parked{0};
    std::atomic<bool> finished{false};
    std::mutex mutex;
    std::condition_variable changed;
};

// Window thread. Before a job starts: clear every request and flag.
void ResetControl(SearchControl& control);
// Stop: the search unwinds at once taking its moves back; a parked search
// wakes and unwinds too. Wait for the thread's end before using the position.
void RequestStop(SearchControl& control);
// Pause: returns once every thread of the search has parked (or the job has
// finished), so the caller may then read or swap the live position until it
// calls ResumeSearch.
void PauseSearch(SearchControl& control);
void ResumeSearch(SearchControl& control);

// Search thread.
// Parks while a pause is requested; true when a stop is requested.
bool CheckControl(SearchControl& control);
// Waits up to milliseconds, parking during a pause (the time still runs);
// true when a stop cut the wait short.
bool WaitUnlessStopped(SearchControl& control, std::int64_t milliseconds);
// A helper thread joins the search (parking at once if a pause is asked for)
// or leaves it; a pause then waits for one thread more or one fewer.
void JoinWorker(SearchControl& control);
void LeaveWorker(SearchControl& control);
// The job is done: a pause waiting for the search no longer waits.
void MarkJobFinished(SearchControl& control);

// Milliseconds of a monotonic clock, for the minimum thinking time.
std::int64_t NowMilliseconds();
