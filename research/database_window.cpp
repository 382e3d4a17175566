#include "research/database_window.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "config/registry.h"
#include "core/wide_text.h"
#include "database/game_database.h"
#include "engine/window_messages.h"
#include "res/resource.h"
#include "research/research_shell.h"
#include "session/game_session.h"
#include "view/drawing_resources.h"
#include "view/layout_window.h"

namespace {

constexpr wchar_t ConfigurationKeyName[] = L"Configuration";
constexpr wchar_t FolderValueName[] = L"DatabaseFolder";
constexpr UINT_PTR FollowTimer = 1;
constexpr UINT FollowPeriod = 200;  // ms between looks at the board
// A list box of more lines than this takes seconds to fill; the newest are shown.
constexpr int ShownGames = 2000;

struct DatabaseWindowState {
    HWND mainWindow = nullptr;
    HWND window = nullptr;
    std::unique_ptr<GameDatabase> db;
    bool loading = false;
    std::wstring folder;
    DatabaseFilter filter;
    Position shown{};        // the position the lists belong to
    bool haveShown = false;
    DatabaseAnswer answer;
};

DatabaseWindowState state;

std::wstring StringText(UINT id) { return WideFromShiftJis(LoadShiftJisString(id)); }

std::wstring StoredFolder() {
    std::wstring folder;
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, ConfigurationKeyName);
    if (key) {
        if (!ReadStringValue(key, FolderValueName, folder, MAX_PATH)) folder.clear();
        RegCloseKey(key);
    }
    return folder;
}

void StoreFolder(const std::wstring& folder) {
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, ConfigurationKeyName);
    if (!key) return;
    WriteStringValue(key, FolderValueName, folder, MAX_PATH);
    RegCloseKey(key);
}

std::wstring AskFolder(HWND owner) {
    const std::wstring title = StringText(IDS_DB_CHOOSE_FOLDER);
    BROWSEINFOW info = {};
    wchar_t name[MAX_PATH] = {};
    info.hwndOwner = owner;
    info.pszDisplayName = name;
    info.lpszTitle = title.c_str();
    // An archive folder already exists: no button to make a new one.
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
    if (!list) return {};
    wchar_t path[MAX_PATH] = {};
    const bool got = SHGetPathFromIDListW(list, path);
    CoTaskMemFree(list);
    return got ? std::wstring(path) : std::wstring();
}

// The loading thread: reads every database file of the folder, loads them
// and hands the database to the window.
struct LoadJob {
    HWND window;
    std::wstring folder;
};

std::string ReadWholeFile(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 30)) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
        bytes.resize(got);
    }
    CloseHandle(file);
    return bytes;
}

DWORD WINAPI LoadThread(LPVOID parameter) {
    std::unique_ptr<LoadJob> job(static_cast<LoadJob*>(parameter));
    std::vector<DatabaseFile> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((job->folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::string name = Utf8FromWide(found.cFileName);
            if (IsDatabaseFileName(name)) files.push_back({name, ReadWholeFile(job->folder + L"\\" + found.cFileName)});
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::sort(files.begin(), files.end(), [](const DatabaseFile& a, const DatabaseFile& b) { return a.name < b.name; });
    auto db = std::make_unique<GameDatabase>();
    LoadDatabase(files, *db);
    if (PostMessageW(job->window, MsgDatabaseReady, 0, reinterpret_cast<LPARAM>(db.get()))) db.release();
    return 0;
}

void SetText(int id, const std::wstring& text) { SetDlgItemTextW(state.window, id, text.c_str()); }

void StartLoading(const std::wstring& folder) {
    state.folder = folder;
    state.loading = true;
    state.haveShown = false;
    SendDlgItemMessageW(state.window, IDC_DB_MOVES, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageW(state.window, IDC_DB_GAMES, LB_RESETCONTENT, 0, 0);
    SetText(IDC_DB_STATUS, folder + L"\n" + StringText(IDS_DB_LOADING));
    auto* job = new LoadJob{state.window, folder};
    HANDLE thread = CreateThread(nullptr, 0, LoadThread, job, 0, nullptr);
    if (thread) CloseHandle(thread);
    else {
        delete job;
        state.loading = false;
    }
}

std::wstring Formatted(UINT id, int a, int b = 0, int c = 0) {
    wchar_t text[256];
    swprintf(text, 256, StringText(id).c_str(), a, b, c);
    return text;
}

// The lists for the board's position, under the filters.
void ShowPosition(const Position& pos) {
    if (!state.db) return;
    state.shown = pos;
    state.haveShown = true;
    state.answer = QueryDatabase(*state.db, pos, state.filter);
    HWND moves = GetDlgItem(state.window, IDC_DB_MOVES);
    HWND games = GetDlgItem(state.window, IDC_DB_GAMES);
    SendMessageW(moves, WM_SETREDRAW, FALSE, 0);
    SendMessageW(games, WM_SETREDRAW, FALSE, 0);
    SendMessageW(moves, LB_RESETCONTENT, 0, 0);
    SendMessageW(games, LB_RESETCONTENT, 0, 0);
    for (const NextMoveStats& m : state.answer.moves) {
        const std::wstring line = WideFromUtf8(NextMoveLine(m));
        SendMessageW(moves, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    const int total = static_cast<int>(state.answer.games.size());
    const int shown = total < ShownGames ? total : ShownGames;
    SendMessageW(games, LB_INITSTORAGE, static_cast<WPARAM>(shown), static_cast<LPARAM>(shown) * 64);
    for (int k = 0; k < shown; ++k) {
        const std::wstring line = WideFromUtf8(GameLine(*state.db, state.answer.games[static_cast<std::size_t>(k)]));
        SendMessageW(games, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageW(moves, WM_SETREDRAW, TRUE, 0);
    SendMessageW(games, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(moves, nullptr, TRUE);
    InvalidateRect(games, nullptr, TRUE);
    SetText(IDC_DB_GAME_COUNT, shown < total ? Formatted(IDS_DB_GAMES_SHOWN, total, shown) : Formatted(IDS_DB_GAMES_ALL, total));
}

// The board as the user sees it: not while a job works on the live position.
void FollowBoard() {
    const GameSession& s = Session();
    if (!state.db || !IsWindowVisible(state.window) || s.mode == AppMode::ComputerThinking ||
        s.mode == AppMode::Research)
        return;
    if (state.haveShown && std::memcmp(state.shown.board, s.position.board, sizeof s.position.board) == 0 &&
        state.shown.sideToMove == s.position.sideToMove)
        return;
    ShowPosition(s.position);
}

void TakeDatabase(GameDatabase* loaded) {
    state.db.reset(loaded);
    state.loading = false;
    const GameDatabase& db = *state.db;
    if (db.games.empty() && db.gameFiles == 0) {
        ShellShowFileError(state.window, ShellCommandCaption(state.mainWindow, IDM_RESEARCH_DATABASE), IDS_DB_NO_DATABASE,
                      state.folder);
    } else {
        StoreFolder(state.folder);
    }
    SetText(IDC_DB_STATUS, state.folder + L"\n" +
                               Formatted(IDS_DB_SUMMARY, static_cast<int>(db.games.size()),
                                         static_cast<int>(db.players.size()), static_cast<int>(db.tournaments.size())));
    if (!db.problems.empty()) {
        std::string lines;
        for (std::size_t k = 0; k < db.problems.size() && k < 20; ++k)
            lines += DatabaseProblemText(db.problems[k]) + "\n";
        if (db.problems.size() > 20) lines += "...\n";
        std::wstring text = StringText(IDS_DB_DAMAGED);
        const std::size_t at = text.find(L"%s");
        if (at != std::wstring::npos) text.replace(at, 2, WideFromUtf8(lines));
        MessageBoxW(state.window, text.c_str(), ShellCommandCaption(state.mainWindow, IDM_RESEARCH_DATABASE).c_str(),
                    MB_OK | MB_ICONWARNING);
    }
    FollowBoard();
}

int EditNumber(int id, int fallback) {
    BOOL ok = FALSE;
    const UINT value = GetDlgItemInt(state.window, id, &ok, FALSE);
    return ok ? static_cast<int>(value) : fallback;
}

std::wstring EditText(int id) {
    wchar_t text[128] = {};
    GetDlgItemTextW(state.window, id, text, 128);
    return text;
}

void ApplyFilters() {
    state.filter.player = Utf8FromWide(EditText(IDC_DB_PLAYER));
    state.filter.tournament = Utf8FromWide(EditText(IDC_DB_TOURNAMENT));
    state.filter.yearFrom = EditNumber(IDC_DB_YEAR_FROM, 0);
    state.filter.yearTo = EditNumber(IDC_DB_YEAR_TO, 65535);
    state.haveShown = false;
    FollowBoard();
}

// A double click on a next move: played for the side to move through the
// gate, as the book-move search plays its move; the game does not go on
// by itself.
void PlayListedMove() {
    const LRESULT i = SendDlgItemMessageW(state.window, IDC_DB_MOVES, LB_GETCURSEL, 0, 0);
    if (i == LB_ERR || static_cast<std::size_t>(i) >= state.answer.moves.size()) return;
    const Square move = state.answer.moves[static_cast<std::size_t>(i)].move;
    HWND main = state.mainWindow;
    if (!ShellCommandGate(main, IDM_RESEARCH_DATABASE)) return;
    GameSession& s = Session();
    if (std::memcmp(s.position.board, state.shown.board, sizeof s.position.board) != 0) return;
    // A listed move after a pass the side to move has to make: the pass first.
    if (s.position.legalMoveCount == 0) {
        s.side[s.position.sideToMove].move = Pass;
        if (!ShellPlayChosenMove(main)) return;
    }
    s.side[s.position.sideToMove].move = move;
    if (ShellPlayChosenMove(main) && s.position.legalMoveCount == -1) ShellAnnounceResult(main);
    ShellUpdateToolbar();
}

// A double click on a game: it becomes the game, standing at the board's ply.
void LoadListedGame() {
    const LRESULT i = SendDlgItemMessageW(state.window, IDC_DB_GAMES, LB_GETCURSEL, 0, 0);
    if (i == LB_ERR || static_cast<std::size_t>(i) >= state.answer.games.size() || !state.db) return;
    const GameMatch match = state.answer.games[static_cast<std::size_t>(i)];
    const Position shown = state.shown;
    int discs = 0;
    for (Square sq = 11; sq <= 88; ++sq) discs += shown.board[sq] == Black || shown.board[sq] == White;
    RecordGame game;
    if (!DatabaseGameRecord(*state.db, match, discs - 4, game)) return;
    if (!ShellCommandGate(state.mainWindow, IDM_RECORD_LOAD)) return;
    ShellTakeRecordGame(state.mainWindow, game, false);
}

INT_PTR CALLBACK DatabaseProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        state.window = dialog;
        const INT moveTabs[] = {32, 64, 96, 128, 160};
        SendDlgItemMessageW(dialog, IDC_DB_MOVES, LB_SETTABSTOPS, 5, reinterpret_cast<LPARAM>(moveTabs));
        const INT gameTabs[] = {28, 118, 198, 274, 294};
        SendDlgItemMessageW(dialog, IDC_DB_GAMES, LB_SETTABSTOPS, 5, reinterpret_cast<LPARAM>(gameTabs));
        SetTimer(dialog, FollowTimer, FollowPeriod, nullptr);
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == FollowTimer) FollowBoard();
        return TRUE;
    case MsgDatabaseReady: TakeDatabase(reinterpret_cast<GameDatabase*>(lParam)); return TRUE;
    case WM_WINDOWPOSCHANGED: RepaintOwnerUncovered(state.mainWindow, message, lParam); return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_DB_MOVES:
            if (HIWORD(wParam) == LBN_DBLCLK) PlayListedMove();
            return TRUE;
        case IDC_DB_GAMES:
            if (HIWORD(wParam) == LBN_DBLCLK) LoadListedGame();
            return TRUE;
        case IDC_DB_APPLY:
        case IDOK: ApplyFilters(); return TRUE;
        case IDC_DB_FOLDER: {
            if (state.loading) return TRUE;
            const std::wstring folder = AskFolder(dialog);
            if (!folder.empty()) StartLoading(folder);
            return TRUE;
        }
        case IDCANCEL: ShowWindow(dialog, SW_HIDE); return TRUE;
        default: return FALSE;
        }
    default: return FALSE;
    }
}

}  // namespace

HWND DatabaseWindow() { return state.window; }

void OpenDatabaseWindow(HWND mainWindow) {
    state.mainWindow = mainWindow;
    if (!state.window) {
        // Kept for the program's life once made: closing only hides it, so
        // a load still running always has its window to report to.
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DATABASE), mainWindow, DatabaseProc, 0);
        if (!state.window) return;
        // Beside the main window, kept on its screen.
        RECT main, own;
        GetWindowRect(mainWindow, &main);
        GetWindowRect(state.window, &own);
        const POINT at =
            KeepOnScreen(mainWindow, {main.right, main.top}, {own.right - own.left, own.bottom - own.top});
        SetWindowPos(state.window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    ShowWindow(state.window, SW_SHOW);
    SetActiveWindow(state.window);
    if (state.db || state.loading) {
        FollowBoard();
        return;
    }
    std::wstring folder = StoredFolder();
    if (folder.empty() || GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) folder = AskFolder(state.window);
    if (folder.empty()) {
        ShowWindow(state.window, SW_HIDE);
        return;
    }
    StartLoading(folder);
}
