// Hints on the board, as the window runs them: the hint job on the search
// thread while the board waits, stopped silently by anything the user does,
// and its finished steps drawn while they belong to the board. Windows code.
#pragma once

#include <windows.h>

// Anything the user does (a click, a key, a command, a dropped file) and
// every step of the turn loop runs between these two: the first stops the
// hint job at once and takes its marks off the board, without a word; the
// last, once nothing else is under way, lets hints go on after what was done.
void BeginHintInterruption(HWND window);
void EndHintInterruption(HWND window);

class HintInterruption {
public:
    explicit HintInterruption(HWND window) : window_(window) { BeginHintInterruption(window); }
    ~HintInterruption() { EndHintInterruption(window_); }
    HintInterruption(const HintInterruption&) = delete;
    HintInterruption& operator=(const HintInterruption&) = delete;

private:
    HWND window_;
};

// MsgHintReady: draws the waiting steps of the running hint job; wParam 0
// asks whether hints should run now.
void HandleHintReady(HWND window, WPARAM wParam);

// Starts, keeps or stops the hint job as the program's state asks.
void ReconsiderHints(HWND window);

// The switch (研究 → 候補手の評価値表示), stored at once.
void ToggleHints(HWND window);
// The settings changed: what was valued under the old ones is dropped.
void RestartHints(HWND window);
