#include "app/players_dialog.h"

#include "app/help.h"
#include "app/players_store.h"
#include "core/wide_text.h"
#include "res/resource.h"
#include "session/game_session.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

// What the dialog hands back: each colour's kind, and whether to store them.
struct PlayersChoice {
    int kind[2];
    bool store;
};

constexpr int PlayerLists[2] = {IDC_PLAYERS_BLACK, IDC_PLAYERS_WHITE};
constexpr int PlayerKindCount = 11;  // a person, then levels 0 to 9

// The list entry of a kind is kind + 1.
int SelectedKind(HWND dialog, int list, int current) {
    const LRESULT index = SendDlgItemMessageW(dialog, list, LB_GETCURSEL, 0, 0);
    return index >= 0 && index < PlayerKindCount ? static_cast<int>(index) - 1 : current;
}

void FillPlayerList(HWND dialog, int list, int kind) {
    for (int k = -1; k < PlayerKindCount - 1; ++k) {
        const std::wstring name = WideFromShiftJis(PlayerKindText(k));
        SendDlgItemMessageW(dialog, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendDlgItemMessageW(dialog, list, LB_SETCURSEL, static_cast<WPARAM>(kind + 1), 0);
}

void ClosePlayersDialog(HWND dialog, bool store) {
    auto* choice = reinterpret_cast<PlayersChoice*>(GetWindowLongPtrW(dialog, DWLP_USER));
    for (int side = 0; side < 2; ++side) choice->kind[side] = SelectedKind(dialog, PlayerLists[side], choice->kind[side]);
    choice->store = store;
    EndDialog(dialog, 1);
}

void SwapSelections(HWND dialog) {
    const LRESULT black = SendDlgItemMessageW(dialog, IDC_PLAYERS_BLACK, LB_GETCURSEL, 0, 0);
    const LRESULT white = SendDlgItemMessageW(dialog, IDC_PLAYERS_WHITE, LB_GETCURSEL, 0, 0);
    SendDlgItemMessageW(dialog, IDC_PLAYERS_BLACK, LB_SETCURSEL, static_cast<WPARAM>(white), 0);
    SendDlgItemMessageW(dialog, IDC_PLAYERS_WHITE, LB_SETCURSEL, static_cast<WPARAM>(black), 0);
}

INT_PTR CALLBACK PlayersDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const auto* choice = reinterpret_cast<const PlayersChoice*>(lParam);
            for (int side = 0; side < 2; ++side) FillPlayerList(dialog, PlayerLists[side], choice->kind[side]);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: ClosePlayersDialog(dialog, false); return TRUE;
                case IDCANCEL: EndDialog(dialog, 0); return TRUE;
                case IDC_PLAYERS_SAVE: ClosePlayersDialog(dialog, true); return TRUE;
                case IDC_PLAYERS_SWAP: SwapSelections(dialog); return TRUE;
                case IDC_PLAYERS_HELP: OpenHelp(dialog, HelpRequest::Context, PlayersHelpContext); return TRUE;
                case IDC_PLAYERS_BLACK:
                case IDC_PLAYERS_WHITE:
                    if (HIWORD(wParam) == LBN_DBLCLK) ClosePlayersDialog(dialog, false);
                    return TRUE;
                default: break;
            }
            break;
        default: break;
    }
    return FALSE;
}

}  // namespace

void OpenPlayersDialog(HWND window) {
    GameSession& s = Session();
    s.mode = AppMode::PlayersDialog;
    SetStatusMessage(IDS_SETTING_PLAYERS);
    RedrawPanelFields(window, PanelMessages);
    PlayersChoice choice = {{s.side[0].kind, s.side[1].kind}, false};
    const INT_PTR result =
        DialogBoxParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)),
                        MAKEINTRESOURCEW(IDD_PLAYERS), window, PlayersDialogProc, reinterpret_cast<LPARAM>(&choice));
    if (result == 1) {
        for (int side = 0; side < 2; ++side) s.side[side].kind = choice.kind[side];
        if (choice.store) StorePlayers();
        SetStatusMessage(IDS_PLAYERS_SET);
        RedrawPanelFields(window, PanelMessages | PanelBlackColumn | PanelWhiteColumn | PanelPlayers);
    } else {
        SetStatusMessage(IDS_CHOOSE_COMMAND);
        RedrawPanelFields(window, PanelMessages);
    }
    s.mode = AppMode::Idle;
}
