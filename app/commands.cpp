#include "app/commands.h"

#include "app/about_box.h"
#include "app/board_setup.h"
#include "app/clipboard_commands.h"
#include "app/command_states.h"
#include "app/help.h"
#include "app/hint_settings_dialog.h"
#include "app/hints.h"
#include "app/history_commands.h"
#include "app/players_dialog.h"
#include "app/recent_files_store.h"
#include "app/record_commands.h"
#include "app/settings_command.h"
#include "app/toolbar.h"
#include "app/turn_loop.h"
#include "config/settings.h"
#include "res/resource.h"
#include "research/analysis_command.h"
#include "research/book_search.h"
#include "research/database_window.h"
#include "research/review_command.h"
#include "session/game_session.h"
#include "view/board_painting.h"
#include "view/status_panel.h"

namespace {

void InitialiseBoard(HWND window) {
    GameSession& s = Session();
    NewGame(s);
    ReloadSessionLastMoves(s);
    SetStatusMessage(IDS_BOARD_INITIALISED);
    RedrawBoard(window);
    RedrawPanelFields(window, PanelAllFields);
    UpdateToolbar();
}

bool MenuHasItem(HMENU menu, int id) { return GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1); }

void EnableItems(HMENU menu, int first, int last, const CommandContext& context) {
    for (int id = first; id <= last; ++id)
        EnableMenuItem(menu, id, MF_BYCOMMAND | (IsCommandEnabled(id, context) ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

std::wstring CommandCaption(HWND window, int id) {
    wchar_t text[128] = {};
    GetMenuStringW(GetMenu(window), id, text, sizeof text / sizeof text[0], MF_BYCOMMAND);
    std::wstring caption = text;
    return caption.substr(0, caption.find(L'('));
}

bool CommandGate(HWND window, int id) {
    switch (Session().mode) {
    case AppMode::HumanTurn: AbortHumanTurn(window); return true;
    case AppMode::ComputerThinking:
    case AppMode::Research: AbortJob(window, Session().mode); return true;
    case AppMode::BoardSetup: return EndBoardSetup(window, id);
    default: return true;
    }
}

void RunCommand(HWND window, int id) {
    // A command whose item is grey is not given by its accelerator either.
    if (!IsCommandEnabled(id, SessionCommandContext(Session()))) return;
    switch (id) {
    case IDM_GAME_START:
        if (CommandGate(window, id)) PostMessageW(window, MsgNextTurn, 0, 0);
        break;
    case IDM_GAME_INTERRUPT: CommandGate(window, id); break;
    case IDM_GAME_PLAYERS:
        if (CommandGate(window, id)) OpenPlayersDialog(window);
        break;
    case IDM_GAME_NEW_BOARD:
        if (CommandGate(window, id)) InitialiseBoard(window);
        break;
    case IDM_GAME_EXIT: PostMessageW(window, WM_CLOSE, 0, 0); break;
    case IDM_RECORD_LOAD:
        if (CommandGate(window, id)) LoadRecordCommand(window);
        break;
    case IDM_RECORD_SAVE:
        if (CommandGate(window, id)) SaveRecordCommand(window);
        break;
    case IDM_RECORD_TO_START:
    case IDM_RECORD_BACK:
    case IDM_RECORD_FORWARD:
    case IDM_RECORD_TO_END:
        if (CommandGate(window, id)) NavigateHistoryCommand(window, id);
        break;
    case IDM_RECORD_COPY_GAME: CopyGameCommand(window); break;
    case IDM_RECORD_COPY_POSITION: CopyPositionCommand(window); break;
    case IDM_RECORD_PASTE:
        if (CommandGate(window, IDM_RECORD_LOAD)) PasteCommand(window);
        break;
    case IDM_SETUP_BEGIN:
        if (CommandGate(window, id)) BeginBoardSetup(window);
        break;
    case IDM_SETUP_REMOVE_ALL: RemoveAllDiscs(window); break;
    case IDM_SETUP_CHANGE_SIDE: ChangeSideToMove(window); break;
    case IDM_SETUP_CANCEL: CancelBoardSetup(window); break;
    case IDM_SETUP_END: EndBoardSetup(window, 0); break;
    case IDM_RESEARCH_BOOK:
        if (CommandGate(window, id)) StartBookMoveSearch(window);
        break;
    case IDM_RESEARCH_ANALYSIS:
        if (CommandGate(window, id)) StartEvaluationAnalysis(window);
        break;
    case IDM_RESEARCH_REVIEW:
        if (CommandGate(window, id)) StartGameReview(window);
        break;
    case IDM_RESEARCH_STOP: CommandGate(window, id); break;
    // Hints stand beside the game: neither command ends a turn or a job.
    case IDM_RESEARCH_HINTS: ToggleHints(window); break;
    case IDM_RESEARCH_HINT_SETTINGS:
        if (OpenHintSettingsDialog(window)) RestartHints(window);
        break;
    case IDM_RESEARCH_DATABASE: OpenDatabaseWindow(window); break;
    case IDM_OPTIONS_SETTINGS:
        if (CommandGate(window, id)) OpenSettingsDialog(window);
        break;
    case IDM_HELP_CONTENTS: OpenHelpContents(window); break;
    case IDM_HELP_SEARCH: OpenHelpSearch(window); break;
    case IDM_HELP_ON_HELP: OpenHelpOnHelp(window); break;
    case IDM_HELP_ABOUT: ShowAboutBox(window); break;
    default:
        if (id >= IDM_RECORD_RECENT_FIRST && id <= IDM_RECORD_RECENT_LAST && CommandGate(window, IDM_RECORD_LOAD))
            LoadRecentRecord(window, id - IDM_RECORD_RECENT_FIRST);
        break;
    }
}

void EnableMenuItems(HMENU menu) {
    const CommandContext context = SessionCommandContext(Session());
    if (MenuHasItem(menu, IDM_GAME_START)) {
        EnableItems(menu, IDM_GAME_START, IDM_GAME_INTERRUPT, context);
    } else if (MenuHasItem(menu, IDM_RECORD_TO_START)) {
        EnableItems(menu, IDM_RECORD_TO_START, IDM_RECORD_TO_END, context);
    } else if (MenuHasItem(menu, IDM_RECORD_RECENT_FIRST)) {
        BuildRecentMenu(menu);
    } else if (MenuHasItem(menu, IDM_SETUP_BEGIN)) {
        EnableItems(menu, IDM_SETUP_BEGIN, IDM_SETUP_END, context);
    } else if (MenuHasItem(menu, IDM_RESEARCH_BOOK)) {
        EnableItems(menu, IDM_RESEARCH_BOOK, IDM_RESEARCH_DATABASE, context);
        CheckMenuItem(menu, IDM_RESEARCH_HINTS, MF_BYCOMMAND | (currentSettings.Hints ? MF_CHECKED : MF_UNCHECKED));
    }
}

void ShowContextMenu(HWND window, POINT client) {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    HMENU menus = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_CONTEXT_MENU));
    if (!menus) return;
    HMENU menu = GetSubMenu(menus, ContextMenuIndex(Session().mode));
    ClientToScreen(window, &client);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, client.x, client.y, 0, window, nullptr);
    DestroyMenu(menus);
}
