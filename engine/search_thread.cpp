#include "engine/search_thread.h"

#include <atomic>

#include "engine/search_control.h"
#include "engine/window_messages.h"

namespace {

// Module state of the search thread.
SearchControl control;
EngineState engine;
HANDLE thread = nullptr;
WPARAM serial = 0;
BookLookup bookLookup = {nullptr, nullptr, nullptr};

// What every job is given: where it reports, what it works on, its serial.
struct JobTarget {
    HWND window;
    Position* position;
    WPARAM serial;
};
JobTarget job;

struct ComputerMoveJob {
    int level;
    int thoughtTime;
    bool thoughtDisplay;
    ComputerMove result;
};
ComputerMoveJob computer;

// The research job's list and the lines it points into stay with the module
// until the next research job begins, so the result dialog can show them.
struct ResearchJobState {
    ResearchJob job;
    ResultList results;
    LineBuffer lines;
};
ResearchJobState research;

// The hint job works on its own copy of the position. Its reports wait in a
// ring that is empty whenever a hint job starts (the one before has ended),
// and a job makes at most MostHintSteps of them, so none is ever dropped.
struct HintJobState {
    Position position;
    HintParams params;
    HintReport ring[2 * MostHintSteps];
    std::atomic<unsigned> produced{0};
    std::atomic<unsigned> consumed{0};
};
HintJobState hints;
bool hintJob = false;

// The ring of thinking updates: the search thread writes at produced, the
// window thread reads at consumed. A full ring drops the new update rather
// than block the search (a held search could not be woken otherwise).
constexpr unsigned RingSize = 256;
ThinkingUpdate ring[RingSize];
std::atomic<unsigned> produced{0};
std::atomic<unsigned> consumed{0};

void Publish(const ThinkingUpdate& update) {
    const unsigned head = produced.load(std::memory_order_relaxed);
    if (head - consumed.load(std::memory_order_acquire) >= RingSize) return;
    ring[head % RingSize] = update;
    produced.store(head + 1, std::memory_order_release);
    PostMessageW(job.window, MsgThinkingUpdate, update.serial, 0);
}

void PublishSearchMark(void*, Square square) {
    ThinkingUpdate u = {};
    u.serial = job.serial;
    u.mark = square;
    Publish(u);
}

void PublishBestLine(void*, const Square* line, int value) {
    ThinkingUpdate u = {};
    u.serial = job.serial;
    u.bestLine = true;
    u.value = value;
    for (int i = 0; i < MaxLineLength && line[i] != 0; ++i) u.line[i] = line[i];
    Publish(u);
}

const ThinkingDisplay display = {nullptr, PublishSearchMark, PublishBestLine};

JobHooks SearchThreadHooks() {
    JobHooks hooks;
    hooks.display = &display;
    hooks.control = &control;
    hooks.book = bookLookup;
    return hooks;
}

// The job's last act: its completion message, unless it was stopped.
void FinishJob(bool stopped, UINT message, WPARAM wParam, LPARAM lParam) {
    stopped = stopped || control.request.load() == ControlStop;
    MarkJobFinished(control);
    if (!stopped) PostMessageW(job.window, message, wParam, lParam);
}

DWORD WINAPI RunComputerMoveJob(LPVOID) {
    computer.result = ChooseComputerMove(engine, *job.position, computer.level, computer.thoughtTime,
                                         computer.thoughtDisplay, SearchThreadHooks());
    FinishJob(computer.result.stopped, MsgMoveReady, job.serial, 0);
    return 0;
}

DWORD WINAPI RunResearchJob(LPVOID) {
    bool completed = true;
    switch (research.job.kind) {
    case ResearchAnalysis:
        completed = RunAnalysis(engine, *job.position, research.job.params, research.results, research.lines,
                                SearchThreadHooks());
        break;
    case ResearchReview:
        if (research.job.run) completed = research.job.run(research.job.context, engine, SearchThreadHooks());
        break;
    case ResearchBookSearch:
    default:
        // The window handed over an empty list; without a book it stays so.
        if (bookLookup.listBookMoves && research.job.bookMoves)
            bookLookup.listBookMoves(bookLookup.context, *job.position, research.job.moveNumber,
                                     *research.job.bookMoves);
        break;
    }
    FinishJob(!completed, MsgResearchReady, research.job.kind, static_cast<LPARAM>(job.serial));
    return 0;
}

void PublishHintReport(void*, const HintReport& report) {
    constexpr unsigned size = sizeof hints.ring / sizeof hints.ring[0];
    const unsigned head = hints.produced.load(std::memory_order_relaxed);
    if (head - hints.consumed.load(std::memory_order_acquire) >= size) return;
    hints.ring[head % size] = report;
    hints.produced.store(head + 1, std::memory_order_release);
    PostMessageW(job.window, MsgHintReady, report.serial, 0);
}

DWORD WINAPI RunHintJob(LPVOID) {
    const bool whole = RunHints(engine, hints.position, hints.params, static_cast<std::uint32_t>(job.serial),
                                SearchThreadHooks(), PublishHintReport, nullptr);
    (void)whole;  // every finished step has been posted already
    MarkJobFinished(control);
    return 0;
}

// Hands pos to a new job thread running procedure; with startPaused the job
// is held at its first search node before this returns.
bool LaunchJob(HWND window, Position& pos, LPTHREAD_START_ROUTINE procedure, bool startPaused) {
    ResetControl(control);
    if (startPaused) control.request.store(ControlPause);
    job.window = window;
    job.position = &pos;
    job.serial = ++serial;
    // At the window's own priority: a paint or an open menu waits for the
    // search to park, and a search below the window's priority would keep
    // it waiting on a busy machine.
    thread = CreateThread(nullptr, 0, procedure, nullptr, 0, nullptr);
    if (!thread) return false;
    if (startPaused) PauseSearch(control);
    return true;
}

}  // namespace

bool StartComputerMoveJob(HWND window, Position& pos, int level, int thoughtTime, bool thoughtDisplay,
                          bool startPaused) {
    if (thread) StopSearchJob();
    hintJob = false;
    computer.level = level;
    computer.thoughtTime = thoughtTime;
    computer.thoughtDisplay = thoughtDisplay;
    computer.result = ComputerMove{};
    return LaunchJob(window, pos, RunComputerMoveJob, startPaused);
}

bool StartResearchJob(HWND window, Position& pos, const ResearchJob& request, bool startPaused) {
    if (thread) StopSearchJob();
    hintJob = false;
    research.job = request;
    research.results.entries[0] = {nullptr, 0};
    return LaunchJob(window, pos, RunResearchJob, startPaused);
}

bool StartHintJob(HWND window, const Position& pos, const HintParams& params, bool startPaused) {
    if (thread) StopSearchJob();
    hintJob = true;
    hints.position = pos;
    hints.params = params;
    hints.consumed.store(hints.produced.load());
    return LaunchJob(window, hints.position, RunHintJob, startPaused);
}

bool HintJobRunning() { return thread != nullptr && hintJob; }

bool TakeHintReport(HintReport& report) {
    constexpr unsigned size = sizeof hints.ring / sizeof hints.ring[0];
    const unsigned tail = hints.consumed.load(std::memory_order_relaxed);
    if (tail == hints.produced.load(std::memory_order_acquire)) return false;
    report = hints.ring[tail % size];
    hints.consumed.store(tail + 1, std::memory_order_release);
    return true;
}

void SetBookLookup(BookLookup lookup) { bookLookup = lookup; }

WPARAM CurrentJobSerial() { return serial; }

bool SearchJobRunning() { return thread != nullptr; }

void WaitForSearchJob() {
    if (!thread) return;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread = nullptr;
}

void StopSearchJob() {
    if (!thread) return;
    RequestStop(control);
    WaitForSearchJob();
}

void PauseSearchJob(bool pause) {
    if (!thread) return;
    if (pause)
        PauseSearch(control);
    else
        ResumeSearch(control);
}

Square SearchJobMove() { return computer.result.move; }

const ComputerMove& SearchJobResult() { return computer.result; }

const ResultList& ResearchResults() { return research.results; }

bool TakeThinkingUpdate(ThinkingUpdate& update) {
    const unsigned tail = consumed.load(std::memory_order_relaxed);
    if (tail == produced.load(std::memory_order_acquire)) return false;
    update = ring[tail % RingSize];
    consumed.store(tail + 1, std::memory_order_release);
    return true;
}
