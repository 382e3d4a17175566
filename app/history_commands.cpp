#include "app/history_commands.h"

#include "app/toolbar.h"
#include "res/resource.h"
#include "session/game_session.h"
#include "view/board_painting.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

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
    for (int side = 0; side < 2; ++side) {
        s.side[side].move = last.move[side];
        s.side[side].clock = last.clock[side];
    }
    SetStatusMessage(message);
    RedrawBoard(window);
    RedrawPanelFields(window, PanelAllFields);
    UpdateToolbar();
}
