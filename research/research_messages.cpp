#include "research/research_messages.h"

#include "engine/search_thread.h"
#include "research/analysis_command.h"
#include "research/book_search.h"
#include "research/research_shell.h"
#include "research/review_command.h"
#include "session/game_session.h"

void HandleResearchReady(HWND window, WPARAM kind, LPARAM serial) {
    if (Session().mode != AppMode::Research || static_cast<WPARAM>(serial) != CurrentJobSerial()) return;
    switch (kind) {
    case ResearchAnalysis: ShowAnalysisResults(window); break;
    case ResearchBookSearch: ShowBookMoves(window); break;
    case ResearchReview: ShowReviewResults(window); break;
    default: ShellEndJob(window); break;
    }
}
