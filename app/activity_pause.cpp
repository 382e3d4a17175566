#include "app/activity_pause.h"

#include "app/game_session.h"

void PauseActivity(HWND window, bool pause) {
    switch (Session().mode) {
        case AppMode::HumanTurn:
        case AppMode::ComputerThinking:
        case AppMode::Research:
            if (pause)
                KillTimer(window, ClockTimerId);
            else
                SetTimer(window, ClockTimerId, ClockTickMs, nullptr);
            break;
        default:
            break;
    }
}
