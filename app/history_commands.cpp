#include "app/history_commands.h"

#include "app/commands.h"
#include "app/toolbar.h"
#include "res/resource.h"
#include "session/game_session.h"
#include "session/game_session.h"
#include "view/board_painting.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

// What every navigation ends with: the last moves and clocks taken over,
// the message, the board and panel redrawn, the toolbar brought up to date.
void ShowNavigated(HWND window, const LastMoves& last, UINT message) {
    GameSession& s = Session();
    for (int side = 0; side < 2; ++side) {
        s.side[side].move = last.move[side];
        s.side[side].clock = last.clock[side];
    }
    SetStatusMessage(message);
    RedrawBoard(window);
    RedrawPanelFields(window, PanelAllFields);
    UpdateToolbar();
}

}  // namespace

void NavigateHistoryCommand(HWND window, int id) {
    HistoryStep step;
    UINT message;
    switch (id) {
        case IDM_RECORD_TO_START: step = HistoryStep::ToStart; message = IDS_HISTORY_AT_START; break;
        case IDM_RECORD_BACK: step = HistoryStep::Back; message = IDS_HISTORY_BACK; break;
        case IDM_RECORD_FORWARD: step = HistoryStep::Forward; message = IDS_HISTORY_FORWARD; break;
        case IDM_RECORD_TO_END: step = HistoryStep::ToEnd; message = IDS_HISTORY_AT_END; break;
        default: return;
    }
    GameSession& s = Session();
    LastMoves last;
    if (!NavigateHistory(s.position, s.record, step, last)) return;
    ShowNavigated(window, last, message);
}

void SeekHistoryCommand(HWND window, int ply) {
    GameSession& s = Session();
    if (s.mode == AppMode::BoardSetup || ply < 0 || ply > s.record.endIndex) return;
    // The cursor is never moved by a job; a click on the ply shown stops
    // nothing.
    const int at = HistoryIndex(s.record);
    if (ply == at) return;
    const bool back = ply < at;
    if (!CommandGate(window, back ? IDM_RECORD_BACK : IDM_RECORD_FORWARD)) return;
    LastMoves last;
    while (HistoryIndex(s.record) != ply)
        if (!NavigateHistory(s.position, s.record, back ? HistoryStep::Back : HistoryStep::Forward, last)) break;
    ShowNavigated(window, last, back ? IDS_HISTORY_BACK : IDS_HISTORY_FORWARD);
}
