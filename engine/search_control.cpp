#include "engine/search_control.h"

#include <chrono>

// Every change of the request is made under the mutex so that a waiting
// thread cannot miss the wake-up.

void ResetControl(SearchControl& control) {
    std::lock_guard<std::mutex> lock(control.mutex);
    control.request.store(ControlRun);
    control.workers.store(1);
    control.parked.store(0);
    control.finished.store(false);
}

void RequestStop(SearchControl& control) {
    std::lock_guard<std::mutex> lock(control.mutex);
    control.request.store(ControlStop);
    control.changed.notify_all();
}

void PauseSearch(SearchControl& control) {
    std::unique_lock<std::mutex> lock(control.mutex);
    if (control.request.load() == ControlRun) control.request.store(ControlPause);
    control.changed.notify_all();
    control.changed.wait(lock, [&] {
        return control.parked.load() >= control.workers.load() || control.finished.load() ||
               control.request.load() == ControlStop;
    });
}

void ResumeSearch(SearchControl& control) {
    std::lock_guard<std::mutex> lock(control.mutex);
    if (control.request.load() == ControlPause) control.request.store(ControlRun);
    control.changed.notify_all();
}

namespace {

// Called with the mutex held while a pause is requested.
void Park(SearchControl& control, std::unique_lock<std::mutex>& lock) {
    control.parked.fetch_add(1);
    control.changed.notify_all();
    control.changed.wait(lock, [&] { return control.request.load() != ControlPause; });
    control.parked.fetch_sub(1);
}

}  // namespace

bool CheckControl(SearchControl& control) {
    const int request = control.request.load(std::memory_order_acquire);
    if (request == ControlRun) return false;
    if (request == ControlStop) return true;
    std::unique_lock<std::mutex> lock(control.mutex);
    if (control.request.load() == ControlPause) Park(control, lock);
    return control.request.load() == ControlStop;
}

bool WaitUnlessStopped(SearchControl& control, std::int64_t milliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock<std::mutex> lock(control.mutex);
    for (;;) {
        const int request = control.request.load();
        if (request == ControlStop) return true;
        if (request == ControlPause) {
            Park(control, lock);
            continue;
        }
        if (!control.changed.wait_until(lock, deadline,
                                        [&] { return control.request.load() != ControlRun; }))
            return false;
    }
}

void JoinWorker(SearchControl& control) {
    std::unique_lock<std::mutex> lock(control.mutex);
    control.workers.fetch_add(1);
    if (control.request.load() == ControlPause) Park(control, lock);
}

void LeaveWorker(SearchControl& control) {
    std::lock_guard<std::mutex> lock(control.mutex);
    control.workers.fetch_sub(1);
    control.changed.notify_all();
}

void MarkJobFinished(SearchControl& control) {
    std::lock_guard<std::mutex> lock(control.mutex);
    control.finished.store(true);
    control.changed.notify_all();
}

std::int64_t NowMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
