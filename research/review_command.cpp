#include "research/review_command.h"

#include <cstdio>

#include "book/book_tree.h"
#include "config/settings_store.h"
#include "core/wide_text.h"
#include "engine/search_thread.h"
#include "engine/window_messages.h"
#include "res/resource.h"
#include "research/opening_names.h"
#include "research/research_shell.h"
#include "research/review_params_dialog.h"
#include "research/review_window.h"
#include "session/game_session.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

// The review the job fills, and the last one finished, which belongs to its
// game. The job owns running until it has ended.
ReviewResult running;
ReviewResult kept;
bool haveKept = false;
OpeningInfo keptOpening;

// The accepted settings, read from the registry at the first review.
ReviewParams reviewParams;
bool paramsRead = false;

// On the search thread: values the prepared rows, posting each ply's
// progress to the window.
void PostReviewProgress(void* window, int ply, int left) {
    PostMessageW(static_cast<HWND>(window), MsgReviewProgress, static_cast<WPARAM>(ply), static_cast<LPARAM>(left));
}

bool RunReviewJob(void* window, EngineState& es, const JobHooks& hooks) {
    return RunGameReview(es, running, hooks, {window, PostReviewProgress});
}

void ShowStatus(HWND window, UINT message) {
    SetStatusMessage(message);
    RedrawPanelFields(window, PanelMessages);
}

}  // namespace

void StartGameReview(HWND window) {
    GameSession& s = Session();
    if (!paramsRead) {
        reviewParams = LoadReviewSettings();
        paramsRead = true;
    }
    s.mode = AppMode::ReviewDialog;
    ShowStatus(window, IDS_REVIEW_OPENED);
    if (!AskReviewParams(window, reviewParams)) {
        s.mode = AppMode::Idle;
        ShowStatus(window, IDS_CHOOSE_COMMAND);
        return;
    }
    SaveReviewSettings(reviewParams);
    PrepareReview(ReviewGameOf(s.position, s.record), reviewParams, running);
    ShellBeginJob(window, AppMode::Research, IDS_REVIEW_RUNNING);
    ResearchJob job;
    job.kind = ResearchReview;
    job.moveNumber = s.position.moveNumber;
    job.run = RunReviewJob;
    job.context = window;
    ShellStartJob(window, job);
}

void ShowReviewResults(HWND window) {
    GameSession& s = Session();
    ShellEndJob(window);
    kept = running;
    haveKept = true;
    keptOpening = FindOpening(kept.game, NamedOpenings(), &TheOpeningBook());
    // The clock ran during the review; those seconds are no one's thinking.
    ReloadSessionLastMoves(s);
    RedrawPanelFields(window, PanelTimes | PanelColumnOf(s.position.sideToMove));
    ShowStatus(window, IDS_REVIEW_DONE);
    ShellUpdateToolbar();
    OpenReviewWindow(window);
}

void ShowReviewProgress(HWND window, int ply, int left) {
    if (Session().mode != AppMode::Research) return;
    char text[256];
    std::snprintf(text, sizeof text, LoadShiftJisString(IDS_REVIEW_PROGRESS).c_str(), ply, left);
    LayOutStatusMessage(PanelMessageLines(), text);
    RedrawPanelFields(window, PanelMessages);
}

const ReviewResult* KeptReview(const ReviewGame& game) {
    if (haveKept && !SameGame(kept.game, game)) haveKept = false;
    return haveKept ? &kept : nullptr;
}

const OpeningInfo& KeptOpening() { return keptOpening; }
