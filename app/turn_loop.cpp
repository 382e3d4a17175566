#include "app/turn_loop.h"

#include "app/activity_pause.h"
#include "app/commands.h"
#include "app/result_text.h"
#include "app/toolbar.h"
#include "app/turn_rules.h"
#include "config/settings.h"
#include "engine/search_thread.h"
#include "res/resource.h"
#include "view/drawing_resources.h"
#include "view/flip_animation.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"
#include "core/wide_text.h"

namespace {

// Depth of nested pauses (paint inside a menu or the about box).
int pauseDepth = 0;

void StartClock(HWND window) {
    if (pauseDepth == 0) SetTimer(window, ClockTimerId, ClockTickMs, nullptr);
}

void StopClock(HWND window) { KillTimer(window, ClockTimerId); }

bool JobMode(AppMode mode) { return mode == AppMode::ComputerThinking || mode == AppMode::Research; }

}  // namespace

void BeginJob(HWND window, AppMode mode, UINT message) {
    GameSession& s = Session();
    TakeSnapshot(s);
    s.mode = mode;
    SetStatusMessage(message);
    RedrawPanelFields(window, PanelMessages);
    UpdateToolbar();
    StartClock(window);
}

void StartJob(HWND window, int level) {
    if (!StartComputerMoveJob(window, Session().position, level, currentSettings.ThoughtTime,
                              currentSettings.ThoughtDisplay != 0, pauseDepth > 0))
        AbortJob(window, Session().mode);
}

void StartJob(HWND window, const ResearchJob& job) {
    if (!StartResearchJob(window, Session().position, job, pauseDepth > 0)) AbortJob(window, Session().mode);
}

void EndJob(HWND window) {
    WaitForSearchJob();
    StopClock(window);
    Session().mode = AppMode::Idle;
}

void AbortJob(HWND window, AppMode mode) {
    GameSession& s = Session();
    StopSearchJob();
    StopClock(window);
    s.mode = AppMode::Idle;
    RestoreSnapshot(s);
    ReloadSessionLastMoves(s);
    SetStatusMessage(mode == AppMode::ComputerThinking ? IDS_GAME_INTERRUPTED : IDS_RESEARCH_INTERRUPTED);
    ShowSearchMark(window, 0);
    RedrawPanelFields(window, PanelTimes | PanelMessages | PanelColumnOf(s.position.sideToMove));
    UpdateToolbar();
}

void PauseJob(HWND window, bool pause) {
    if (pause) {
        PauseSearchJob(true);
        StopClock(window);
    } else {
        PauseSearchJob(false);
        StartClock(window);
    }
}

void BeginHumanTurn(HWND window) {
    GameSession& s = Session();
    s.mode = AppMode::HumanTurn;
    SetStatusMessage(s.position.legalMoveCount > 0 ? IDS_WHERE_TO_PLAY : IDS_MUST_PASS);
    RedrawPanelFields(window, PanelMessages);
    UpdateToolbar();
    StartClock(window);
}

void EndHumanTurn(HWND window) {
    StopClock(window);
    Session().mode = AppMode::Idle;
}

void AbortHumanTurn(HWND window) {
    StopClock(window);
    ShowLegalMoves(window, false);
    Session().mode = AppMode::Idle;
    SetStatusMessage(IDS_GAME_INTERRUPTED);
    RedrawPanelFields(window, PanelMessages);
    UpdateToolbar();
}

void PauseHumanTurn(HWND window, bool pause) {
    if (pause)
        StopClock(window);
    else
        StartClock(window);
}

void PauseRunningActivity(HWND window, bool pause) {
    if (pause) {
        if (++pauseDepth > 1) return;
    } else {
        if (pauseDepth == 0 || --pauseDepth > 0) return;
    }
    const AppMode mode = Session().mode;
    if (mode == AppMode::HumanTurn) PauseHumanTurn(window, pause);
    else if (JobMode(mode)) PauseJob(window, pause);
    // Hints wait as the computer's search does.
    if (!JobMode(mode) && HintJobRunning()) PauseSearchJob(pause);
}

bool ActivityPaused() { return pauseDepth > 0; }

bool NextTurn(HWND window) {
    GameSession& s = Session();
    if (s.position.legalMoveCount == -1) {
        AnnounceResult(window);
        return false;
    }
    SideInfo& side = s.side[s.position.sideToMove];
    if (side.kind == PersonPlayer) {
        BeginHumanTurn(window);
        Square move;
        if (currentSettings.AutoMove && ChooseAutomaticMove(s.position, move)) {
            side.move = move;
            return true;
        }
        return false;
    }
    BeginJob(window, AppMode::ComputerThinking, IDS_COMPUTER_THINKING);
    StartJob(window, side.kind);
    return false;
}

void HandleMoveReady(HWND window, WPARAM wParam) {
    GameSession& s = Session();
    if (s.mode == AppMode::ComputerThinking && wParam != 0 && wParam == CurrentJobSerial()) {
        WaitForSearchJob();
        s.side[s.position.sideToMove].move = SearchJobMove();
    } else if (!(s.mode == AppMode::HumanTurn && wParam == 0)) {
        return;  // left over from a turn that was stopped
    }
    if (PlayChosenMove(window)) PostMessageW(window, MsgNextTurn, 0, 0);
}

// Takes the waiting updates, at most a ring's worth: a search can publish
// faster than the window draws, and taking all until none waits would keep
// the window from its messages for as long as the search runs. Of those
// taken only the newest mark and the newest line are drawn, as each covers
// the one before.
void HandleThinkingUpdates(HWND window) {
    constexpr int MostUpdatesAtOnce = 256;
    ThinkingUpdate update, line;
    bool lineTaken = false, markTaken = false;
    Square mark = 0;
    for (int taken = 0; taken < MostUpdatesAtOnce && TakeThinkingUpdate(update); ++taken) {
        if (!JobMode(Session().mode) || update.serial != CurrentJobSerial()) continue;
        if (update.bestLine) {
            line = update;
            lineTaken = true;
        } else {
            mark = update.mark;
            markTaken = true;
        }
    }
    if (lineTaken) ShowBestLine(window, line.line, line.value);
    if (markTaken) {
        if (mark > 0) ShowSearchMark(window, 0);  // the mark moves: the old square is cleared
        ShowSearchMark(window, mark);
    }
}

void HumanClick(HWND window, POINT client) {
    GameSession& s = Session();
    Square move;
    if (AcceptClick(s.position, client.x, client.y, DisplayUnit(), move)) {
        s.side[s.position.sideToMove].move = move;
        PostMessageW(window, MsgMoveReady, 0, 0);
    } else {
        ShowLegalMoves(window, true);
    }
}

bool PlayChosenMove(HWND window) {
    GameSession& s = Session();
    if (s.mode == AppMode::HumanTurn) EndHumanTurn(window);
    else if (s.mode == AppMode::ComputerThinking) EndJob(window);
    const int mover = s.position.sideToMove;
    const Square move = s.side[mover].move;
    // A move the rules refuse would part the board from its history: the
    // game stops there instead.
    if (!IsLegalChoice(s.position, move)) {
        ReloadSessionLastMoves(s);
        SetStatusMessage(IDS_GAME_INTERRUPTED);
        RedrawPanelFields(window, PanelAllFields);
        UpdateToolbar();
        return false;
    }
    SetStatusMessage(IDS_SHOWING_MOVE);
    RedrawPanelFields(window, PanelMessages);
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
    FlipRecord flips = {};
    if (move > 0) {
        PlayMove(s.position, move, ColourOfSide(mover), flips);
        AnimateMove(window, move, flips);
    } else {
        ShowPass(window);
    }
    SetCursor(previous);
    AppendPly(s.record, move, flips, s.side[mover].clock);
    ChangeSideToMove(window);
    return true;
}

void ChangeSideToMove(HWND window) {
    Position& pos = Session().position;
    pos.sideToMove ^= 1;
    pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
    RedrawPanelFields(window, PanelLegalMoves);
}

void AnnounceResult(HWND window) {
    SetStatusMessage(IDS_GAME_OVER);
    RedrawPanelFields(window, PanelMessages);
    const std::wstring text = WideFromShiftJis(ResultText(Session().position.discDifference));
    const std::wstring caption = WideFromShiftJis(ResultCaption);
    MessageBoxW(window, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
    SetStatusMessage(IDS_CHOOSE_COMMAND);
    RedrawPanelFields(window, PanelMessages);
    UpdateToolbar();
}
