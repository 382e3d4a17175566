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
BookLookup bookLookup = {nullptr, nullptr};

struct ComputerMoveJob {
    HWND window;
    Position* position;
    int level;
    int thoughtTime;
    bool thoughtDisplay;
    WPARAM serial;
    ComputerMove result;
};
ComputerMoveJob job;

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

DWORD WINAPI RunComputerMoveJob(LPVOID) {
    JobHooks hooks;
    hooks.display = &display;
    hooks.control = &control;
    hooks.book = bookLookup;
    job.result = ChooseComputerMove(engine, *job.position, job.level, job.thoughtTime, job.thoughtDisplay, hooks);
    const bool stopped = job.result.stopped || control.request.load() == ControlStop;
    MarkJobFinished(control);
    if (!stopped) PostMessageW(job.window, MsgMoveReady, job.serial, 0);
    return 0;
}

}  // namespace

bool StartComputerMoveJob(HWND window, Position& pos, int level, int thoughtTime, bool thoughtDisplay,
                          bool startPaused) {
    if (thread) StopSearchJob();
    ResetControl(control);
    if (startPaused) control.request.store(ControlPause);
    job.window = window;
    job.position = &pos;
    job.level = level;
    job.thoughtTime = thoughtTime;
    job.thoughtDisplay = thoughtDisplay;
    job.serial = ++serial;
    job.result = ComputerMove{};
    thread = CreateThread(nullptr, 0, RunComputerMoveJob, nullptr, 0, nullptr);
    if (!thread) return false;
    if (startPaused) PauseSearch(control);
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

Square SearchJobMove() { return job.result.move; }

const ComputerMove& SearchJobResult() { return job.result; }

bool TakeThinkingUpdate(ThinkingUpdate& update) {
    const unsigned tail = consumed.load(std::memory_order_relaxed);
    if (tail == produced.load(std::memory_order_acquire)) return false;
    update = ring[tail % RingSize];
    consumed.store(tail + 1, std::memory_order_release);
    return true;
}
