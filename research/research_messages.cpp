#include "research/research_messages.h"

#include "app/game_session.h"
#include "app/turn_loop.h"
#include "engine/search_thread.h"
#include "research/analysis_command.h"
#include "research/book_search.h"
#include "research/review_command.h"

void HandleResearchReady(HWND window, WPARAM kind, LPARAM serial) {
    if (Session().mode != AppMode::Research || static_cast<WPARAM>(serial) != CurrentJobSerial()) return;
    switch (kind) {
    case ResearchAnalysis: ShowAnalysisResults(window); break;
    case ResearchBookSearch: ShowBookMoves(window); break;
    case ResearchReview: ShowReviewResults(window); break;
    default: EndJob(window); break;
    }
}
