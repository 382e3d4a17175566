#include "research/research_messages.h"

#include "app/game_session.h"
#include "app/turn_loop.h"
#include "engine/search_thread.h"

void HandleResearchReady(HWND window, WPARAM kind, LPARAM serial) {
    if (Session().mode != AppMode::Research || static_cast<WPARAM>(serial) != CurrentJobSerial()) return;
    switch (kind) {
    case ResearchAnalysis:
        // The analysis shows its results here once its dialogs are in.
        EndJob(window);
        break;
    case ResearchBookSearch:
    default:
        // The book search shows its list here once the book offers one.
        EndJob(window);
        break;
    }
}
