#include "app/hints.h"

#include "app/hint_rules.h"
#include "app/turn_loop.h"
#include "config/settings.h"
#include "config/settings_store.h"
#include "engine/search_thread.h"
#include "engine/window_messages.h"
#include "session/game_session.h"
#include "view/hint_marks.h"

namespace {

// The serial of the hint job whose steps may be drawn; 0 when none runs.
std::uint32_t runningSerial = 0;
Position runningPosition{};
int interruptions = 0;

bool Wanted(HWND window) {
    return HintsWanted(SessionHintContext(Session(), currentSettings.Hints != 0,
                                          currentSettings.HintWithComputer != 0, ActivityPaused(),
                                          GetCapture() == window));
}

void StopHintJob() {
    if (HintJobRunning()) StopSearchJob();
    runningSerial = 0;
}

// Between two turns the board is idle for one message: the turn that
// follows decides.
bool TurnPending(HWND window) {
    MSG msg;
    return PeekMessageW(&msg, window, MsgNextTurn, MsgMoveReady, PM_NOREMOVE | PM_NOYIELD) != 0;
}

}  // namespace

void BeginHintInterruption(HWND window) {
    ++interruptions;
    StopHintJob();
    HideHintMarks(window);
}

void EndHintInterruption(HWND window) {
    if (--interruptions > 0) return;
    interruptions = 0;
    // Posted, so that whatever the action posted itself (the next turn)
    // comes first.
    PostMessageW(window, MsgHintReady, 0, 0);
}

void HandleHintReady(HWND window, WPARAM wParam) {
    const bool wanted = Wanted(window);
    HintReport report;
    while (TakeHintReport(report)) {
        if (!AcceptHintReport(report, runningSerial, Session().position, ShownHintReport())) continue;
        if (wanted) {
            ShowHintReport(window, report);
        } else {
            HideHintMarks(window);
            RememberHintReport(report);
        }
        // Nothing deeper follows: the thread ends and the CPU goes quiet.
        if (report.last) {
            WaitForSearchJob();
            runningSerial = 0;
        }
    }
    if (wParam == 0) ReconsiderHints(window);
}

void ReconsiderHints(HWND window) {
    if (interruptions > 0 || TurnPending(window)) return;
    const GameSession& s = Session();
    if (!Wanted(window)) {
        if (runningSerial != 0) StopHintJob();
        HideHintMarks(window);
        return;
    }
    RevealHintMarks(window);
    if (runningSerial != 0 && HintJobRunning() && SameHintPosition(runningPosition, s.position)) return;
    const HintReport* shown = ShownHintReport();
    if (shown && shown->last && SameHintPosition(shown->position, s.position)) return;
    HintParams params;
    params.deepestDepth = currentSettings.HintDepth;
    params.exactEmpties = currentSettings.HintExact;
    StopHintJob();
    if (!StartHintJob(window, s.position, params, false)) return;
    runningSerial = static_cast<std::uint32_t>(CurrentJobSerial());
    runningPosition = s.position;
}

void ToggleHints(HWND window) {
    currentSettings.Hints = currentSettings.Hints ? 0 : 1;
    SaveHintSettings();
    RestartHints(window);
}

void RestartHints(HWND window) {
    StopHintJob();
    ForgetHintReport(window);
    ReconsiderHints(window);
}
