#include "research/analysis_command.h"

#include "engine/search_thread.h"
#include "res/resource.h"
#include "research/analysis_form.h"
#include "research/analysis_params_dialog.h"
#include "research/analysis_results_dialog.h"
#include "research/research_shell.h"
#include "session/game_session.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

// The last accepted parameters, for the whole run of the program; an
// interrupted analysis keeps them too.
AnalysisParams analysisParams;

void ShowStatus(HWND window, UINT message) {
    SetStatusMessage(message);
    RedrawPanelFields(window, PanelMessages);
}

// Plays the line move by move as the turn loop's move step does, a pass
// wherever the side to move has none; the turn loop is not restarted.
void PlayLine(HWND window, const LineToPlay& line) {
    GameSession& s = Session();
    int next = 0;
    Square move = 0;
    while (NextMoveOfLine(s.position, line, next, move)) {
        s.side[s.position.sideToMove].move = move;
        if (!ShellPlayChosenMove(window)) return;
    }
    if (s.position.legalMoveCount == -1)
        ShellAnnounceResult(window);
    else
        ShellUpdateToolbar();
}

}  // namespace

void StartEvaluationAnalysis(HWND window) {
    GameSession& s = Session();
    s.mode = AppMode::AnalysisDialog;
    ShowStatus(window, IDS_ANALYSIS_OPENED);
    if (!AskAnalysisParams(window, analysisParams)) {
        s.mode = AppMode::Idle;
        ShowStatus(window, IDS_CHOOSE_COMMAND);
        return;
    }
    ShellBeginJob(window, AppMode::Research, IDS_ANALYSIS_RUNNING);
    ResearchJob job;
    job.kind = ResearchAnalysis;
    job.moveNumber = s.position.moveNumber;
    job.params = analysisParams;
    ShellStartJob(window, job);
}

void ShowAnalysisResults(HWND window) {
    GameSession& s = Session();
    ShellEndJob(window);
    ShowStatus(window, IDS_ANALYSIS_DONE);
    LineToPlay line;
    if (ChooseAnalysisLine(window, analysisParams, ResearchResults(), line)) {
        PlayLine(window, line);
    } else {
        // The clock ran during the analysis; without a move those seconds
        // are not the side's thinking time.
        ReloadSessionLastMoves(s);
        RedrawPanelFields(window, PanelTimes | PanelColumnOf(s.position.sideToMove));
        ShellUpdateToolbar();
    }
    ShowStatus(window, IDS_CHOOSE_COMMAND);
}
