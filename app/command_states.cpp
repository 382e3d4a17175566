#include "app/command_states.h"

#include "res/resource.h"

bool IsCommandEnabled(int id, const CommandContext& c) {
    const bool setup = c.mode == AppMode::BoardSetup;
    switch (id) {
        case IDM_GAME_START: return !IsGameRunning(c.mode);
        case IDM_GAME_INTERRUPT: return IsGameRunning(c.mode);
        case IDM_RECORD_TO_START:
        case IDM_RECORD_BACK: return !setup && c.canGoBack;
        case IDM_RECORD_FORWARD:
        case IDM_RECORD_TO_END: return !setup && c.canGoForward;
        case IDM_SETUP_BEGIN: return !setup;
        case IDM_SETUP_REMOVE_ALL:
        case IDM_SETUP_CHANGE_SIDE:
        case IDM_SETUP_CANCEL:
        case IDM_SETUP_END: return setup;
        case IDM_RESEARCH_BOOK: return c.legalMoveCount != -1;
        case IDM_RESEARCH_ANALYSIS: return c.legalMoveCount > 0;
        case IDM_RESEARCH_STOP: return c.mode == AppMode::Research;
        // A review needs at least one recorded ply.
        case IDM_RESEARCH_REVIEW: return c.canGoBack || c.canGoForward;
        default: return true;
    }
}

int ContextMenuIndex(AppMode mode) {
    if (mode == AppMode::BoardSetup) return 1;
    if (mode == AppMode::Research) return 2;
    return 0;
}

CommandContext SessionCommandContext(const GameSession& s) {
    const int history = HistoryState(s.record);
    return {s.mode, s.position.legalMoveCount, (history & CanStepBack) != 0, (history & CanStepForward) != 0};
}
