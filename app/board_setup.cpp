#include "app/board_setup.h"

#include "app/board_setup_steps.h"
#include "app/commands.h"
#include "app/toolbar.h"
#include "res/resource.h"
#include "session/game_session.h"
#include "view/board_painting.h"
#include "view/drawing_resources.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

SetupBrush brush = Black;

constexpr wchar_t EndSetupQuestion[] = L"盤面設定を終了します。\n\nよろしいですか？";

constexpr unsigned BothColumns = PanelBlackColumn | PanelWhiteColumn;

}  // namespace

void BeginBoardSetup(HWND window) {
    BeginSetupSession(Session());
    brush = Black;
    SetStatusMessage(SetupBrushMessage(brush));
    RedrawBoard(window);
    RedrawPanelFields(window, PanelMessages | BothColumns | PanelTimes | PanelLastMoves);
    UpdateToolbar();
}

void BoardSetupClick(HWND window, POINT client) {
    const Square sq = SquareFromPoint(client.x, client.y, DisplayUnit());
    if (!IsPlayable(sq)) return;
    if (ApplySetupClick(Session(), brush, sq)) SetStatusMessage(SetupBrushMessage(brush));
    DrawSquareFromBoard(window, sq);
    RedrawPanelFields(window, PanelMessages | BothColumns | PanelDiscs | PanelLegalMoves | PanelMoveNumber);
}

void RemoveAllDiscs(HWND window) {
    RemoveAllSetupDiscs(Session());
    RedrawBoard(window);
    RedrawPanelFields(window, BothColumns | PanelDiscs | PanelLegalMoves | PanelMoveNumber);
}

void CancelBoardSetup(HWND window) {
    CancelSetupSession(Session());
    SetStatusMessage(IDS_SETUP_CANCELLED);
    RedrawBoard(window);
    RedrawPanelFields(window, PanelAllFields);
    UpdateToolbar();
}

bool EndBoardSetup(HWND window, int command) {
    if (command != 0) {
        const std::wstring caption = CommandCaption(window, command);
        if (MessageBoxW(window, EndSetupQuestion, caption.c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) !=
            IDYES)
            return false;
    }
    AcceptSetupSession(Session());
    SetStatusMessage(IDS_SETUP_DONE);
    RedrawPanelFields(window, PanelMessages);
    UpdateToolbar();
    return true;
}
