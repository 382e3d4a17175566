#include "research/book_search.h"

#include "book/book_moves_text.h"
#include "book/book_tree.h"
#include "config/settings.h"
#include "core/wide_text.h"
#include "engine/search_thread.h"
#include "res/resource.h"
#include "research/research_shell.h"
#include "session/game_session.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

// Filled by the job, read by the dialog; only one research job runs at a
// time and the list is not touched between the job's end and the dialog's.
BookMoveList bookMoves;

void ShowStatus(HWND window, UINT message) {
    SetStatusMessage(message);
    RedrawPanelFields(window, PanelMessages);
}

struct BookMovesDialog {
    const BookMoveList* list;
    int standardType;
    Square chosen;
};

BookMovesDialog& StateOf(HWND dialog) {
    return *reinterpret_cast<BookMovesDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void InitDialog(HWND dialog, BookMovesDialog& d) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&d));
    for (int i = 0; d.list->entries[i].node; ++i) {
        const std::wstring text = WideFromShiftJis(BookMoveLineText(i + 1, d.list->entries[i], d.standardType));
        SendDlgItemMessageW(dialog, IDC_BOOK_MOVE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendDlgItemMessageW(dialog, IDC_BOOK_MOVE_LIST, LB_SETCURSEL, 0, 0);
    const std::wstring nodes = WideFromShiftJis(BookNodeCountText(BookNodeCount(TheOpeningBook())));
    SetDlgItemTextW(dialog, IDC_BOOK_NODE_COUNT, nodes.c_str());
}

void Choose(HWND dialog) {
    const LRESULT i = SendDlgItemMessageW(dialog, IDC_BOOK_MOVE_LIST, LB_GETCURSEL, 0, 0);
    if (i == LB_ERR) return;
    BookMovesDialog& d = StateOf(dialog);
    d.chosen = d.list->entries[i].square;
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK BookMovesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: InitDialog(dialog, *reinterpret_cast<BookMovesDialog*>(lParam)); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_BOOK_MOVE_LIST:
            if (HIWORD(wParam) == LBN_DBLCLK) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            return TRUE;
        case IDOK: Choose(dialog); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        default: return FALSE;
        }
    default: return FALSE;
    }
}

// The book move the user chose in dialog 2100, or false when none was.
bool ChooseBookMoveFromList(HWND window, Square& move) {
    if (!bookMoves.entries[0].node) {
        const std::wstring text = WideFromShiftJis(LoadShiftJisString(IDS_NO_BOOK_MOVE));
        MessageBoxW(window, text.c_str(), ShellCommandCaption(window, IDM_RESEARCH_BOOK).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    BookMovesDialog d = {&bookMoves, currentSettings.StandardType, 0};
    const INT_PTR result = DialogBoxParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)),
                                           MAKEINTRESOURCEW(IDD_BOOK_MOVES), window, BookMovesProc,
                                           reinterpret_cast<LPARAM>(&d));
    if (result != 1) return false;
    move = d.chosen;
    return true;
}

}  // namespace

void StartBookMoveSearch(HWND window) {
    ShellBeginJob(window, AppMode::Research, IDS_BOOK_SEARCHING);
    bookMoves.entries[0] = {nullptr, 0};
    ResearchJob job;
    job.kind = ResearchBookSearch;
    job.moveNumber = Session().position.moveNumber;
    job.bookMoves = &bookMoves;
    ShellStartJob(window, job);
}

void ShowBookMoves(HWND window) {
    GameSession& s = Session();
    ShellEndJob(window);
    ShowStatus(window, IDS_BOOK_SEARCHED);
    Square move = 0;
    if (ChooseBookMoveFromList(window, move)) {
        // Played as the turn loop plays a move, even for a computer player;
        // the game does not go on by itself.
        s.side[s.position.sideToMove].move = move;
        if (ShellPlayChosenMove(window)) {
            if (s.position.legalMoveCount == -1) ShellAnnounceResult(window);
        }
        ShellUpdateToolbar();
    } else {
        // The clock ran during the search; without a move those seconds are
        // not the side's thinking time.
        ReloadSessionLastMoves(s);
        RedrawPanelFields(window, PanelTimes | PanelColumnOf(s.position.sideToMove));
        ShellUpdateToolbar();
    }
    ShowStatus(window, IDS_CHOOSE_COMMAND);
}
