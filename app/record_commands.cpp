#include "app/record_commands.h"

#include <commdlg.h>

#include <cwchar>
#include <vector>

#include "app/command_line.h"
#include "app/commands.h"
#include "app/recent_files_store.h"
#include "app/toolbar.h"
#include "core/wide_text.h"
#include "record/ggf.h"
#include "record/record_file.h"
#include "res/resource.h"
#include "session/game_session.h"
#include "view/board_painting.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

// No record comes near this; a larger file is read only this far (as a
// record it is then refused), so that a stray drop cannot exhaust memory.
constexpr DWORD LargestRecordFile = 1 << 20;

const wchar_t RecordFilter[] = L"棋譜ﾌｧｲﾙ (*.rgm)\0*.rgm\0GGF棋譜 (*.ggf)\0*.ggf\0すべてのﾌｧｲﾙ (*.*)\0*.*\0";

// A name ending in .ggf (any letter case) is saved as GGF.
bool IsGgfName(const std::wstring& name) {
    return name.size() >= 4 && _wcsicmp(name.c_str() + name.size() - 4, L".ggf") == 0;
}

// The GGF games of a file as list lines: Black - White and the date.
INT_PTR CALLBACK GgfGamesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto* games = reinterpret_cast<const std::vector<GgfGame>*>(lParam);
        for (const GgfGame& g : *games) {
            const std::wstring line = WideFromUtf8(g.black + " - " + g.white + "  " + g.date);
            SendDlgItemMessageW(dialog, IDC_GGF_GAME_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
        SendDlgItemMessageW(dialog, IDC_GGF_GAME_LIST, LB_SETHORIZONTALEXTENT, 600, 0);
        SendDlgItemMessageW(dialog, IDC_GGF_GAME_LIST, LB_SETCURSEL, 0, 0);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_GGF_GAME_LIST:
            if (HIWORD(wParam) == LBN_DBLCLK) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            return TRUE;
        case IDOK: {
            const LRESULT i = SendDlgItemMessageW(dialog, IDC_GGF_GAME_LIST, LB_GETCURSEL, 0, 0);
            if (i != LB_ERR) EndDialog(dialog, 100 + i);
            return TRUE;
        }
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        default: return FALSE;
        }
    default: return FALSE;
    }
}

std::wstring FullPath(const std::wstring& fileName) {
    const DWORD size = GetFullPathNameW(fileName.c_str(), 0, nullptr, nullptr);
    if (size == 0) return fileName;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(fileName.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return fileName;
    full.resize(length);
    return full;
}

// The form of a full path that the file functions take at any length: past
// the classic limit it needs the \\?\ prefix (\\?\UNC\ for a network path).
std::wstring LongPathForm(const std::wstring& full) {
    if (full.size() < MAX_PATH - 1 || full.rfind(L"\\\\?\\", 0) == 0) return full;
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// The file's bytes up to the limit; empty when it cannot be read (a folder,
// a locked file), which reads as no record.
std::string ReadFileStart(const std::wstring& fileName) {
    HANDLE file = CreateFileW(LongPathForm(FullPath(fileName)).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[16384];
    DWORD got = 0;
    while (bytes.size() < LargestRecordFile && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    if (bytes.size() > LargestRecordFile) bytes.resize(LargestRecordFile);
    return bytes;
}

void RememberFile(const std::wstring& fileName) {
    AddRecentFile(RecentFileList(), FullPath(fileName));
    StoreRecentFiles();
}

// A name in the folder (a full path ending in a backslash) that no file has
// yet: "~Tavix" and eight hex digits with the extension .tmp, so that a file
// left behind by a crash is never listed or taken for a record.
std::wstring UnusedNameIn(const std::wstring& folder, unsigned& seed) {
    for (int attempt = 0; attempt < 64; ++attempt) {
        seed = seed * 1664525u + 1013904223u;
        wchar_t name[24];
        wsprintfW(name, L"~Tavix%08X.tmp", seed);
        const std::wstring path = LongPathForm(folder + name);
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
            return path;
    }
    return {};
}

// A new file in the folder, written and flushed in full; its name, or empty
// (nothing left behind) when that fails, with the error to report.
std::wstring WriteNewFile(const std::wstring& folder, unsigned& seed, const std::string& text, UINT& error) {
    error = IDS_FILE_CANNOT_CREATE;
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring path;
    for (int attempt = 0; attempt < 4 && file == INVALID_HANDLE_VALUE; ++attempt) {
        path = UnusedNameIn(folder, seed);
        if (path.empty()) return {};
        file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return {};
    }
    if (file == INVALID_HANDLE_VALUE) return {};
    DWORD written = 0;
    const bool whole = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                       written == text.size() && FlushFileBuffers(file);
    CloseHandle(file);
    if (!whole) {
        DeleteFileW(path.c_str());
        error = IDS_DISK_FULL;
        return {};
    }
    return path;
}

// Attributes a replaced record keeps whatever the file system does.
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Puts the new file in the existing target's place with the system's replace,
// which keeps the target's attributes and security. The old file goes to a
// backup name first, so that whatever step fails it is still there under its
// own name afterwards; true when the new file took its place.
bool ReplaceExisting(const std::wstring& target, DWORD attributes, const std::wstring& newFile,
                     const std::wstring& folder, unsigned& seed) {
    const std::wstring backup = UnusedNameIn(folder, seed);
    if (backup.empty()) return false;
    if (ReplaceFileW(target.c_str(), newFile.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
        DeleteFileW(backup.c_str());
        const DWORD now = GetFileAttributesW(target.c_str());
        if (now != INVALID_FILE_ATTRIBUTES && (now & KeptAttributes) != (attributes & KeptAttributes))
            SetFileAttributesW(target.c_str(), (now & ~KeptAttributes) | (attributes & KeptAttributes));
        return true;
    }
    // The old file moved to the backup name and the new one could not follow.
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileExW(backup.c_str(), target.c_str(), 0);
    return false;
}

void ShowLoadedRecord(HWND window) {
    SetStatusMessage(IDS_RECORD_LOADED);
    RedrawBoard(window);
    RedrawPanelFields(window, PanelAllFields);
    UpdateToolbar();
}

void ShowIdle(HWND window) {
    SetStatusMessage(IDS_CHOOSE_COMMAND);
    RedrawPanelFields(window, PanelMessages);
}

void LoadAndShow(HWND window, const std::wstring& fileName) {
    if (LoadRecord(window, CommandCaption(window, IDM_RECORD_LOAD), fileName)) ShowLoadedRecord(window);
    else ShowIdle(window);
}

// The common open or save dialog with the command caption as its title;
// the chosen path, empty when cancelled.
std::wstring AskFileName(HWND window, int command, bool save) {
    const std::wstring title = CommandCaption(window, command);
    std::vector<wchar_t> name(32768);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window;
    ofn.lpstrFilter = RecordFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = L"rgm";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    return chosen ? std::wstring(name.data()) : std::wstring();
}

}  // namespace

void ShowFileError(HWND owner, const std::wstring& caption, UINT id, const std::wstring& fileName) {
    std::wstring text = WideFromShiftJis(LoadShiftJisString(id));
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, fileName);
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

bool LoadRecord(HWND owner, const std::wstring& caption, const std::wstring& fileName) {
    if (GetFileAttributesW(fileName.c_str()) == INVALID_FILE_ATTRIBUTES) {
        ShowFileError(owner, caption, IDS_FILE_NOT_FOUND, fileName);
        return false;
    }
    RecordGame game;
    const std::string bytes = ReadFileStart(fileName);
    if (LooksLikeGgf(bytes)) {
        if (ReadGgfGames(bytes).empty()) {
            ShowFileError(owner, caption, IDS_NOT_A_RECORD, fileName);
            return false;
        }
        if (!ChooseGgfGame(owner, bytes, game)) return false;
    } else if (!ReadRecordText(bytes, game)) {
        ShowFileError(owner, caption, IDS_NOT_A_RECORD, fileName);
        return false;
    }
    GameSession& s = Session();
    s.position = game.position;
    s.record = game.record;
    for (int side = 0; side < 2; ++side) s.side[side].kind = game.kinds[side];
    RecountSession(s);
    ReloadSessionLastMoves(s);
    RememberFile(fileName);
    return true;
}

bool ChooseGgfGame(HWND owner, const std::string& text, RecordGame& game) {
    const std::vector<GgfGame> games = ReadGgfGames(text);
    if (games.empty()) return false;
    INT_PTR chosen = 100;
    if (games.size() > 1)
        chosen = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_GGF_GAMES), owner, GgfGamesProc,
                                 reinterpret_cast<LPARAM>(&games));
    if (chosen < 100 || static_cast<std::size_t>(chosen - 100) >= games.size()) return false;
    game = games[static_cast<std::size_t>(chosen - 100)].game;
    return true;
}

void TakeRecordGame(HWND window, const RecordGame& game, bool takeKinds) {
    GameSession& s = Session();
    s.position = game.position;
    s.record = game.record;
    if (takeKinds)
        for (int side = 0; side < 2; ++side) s.side[side].kind = game.kinds[side];
    RecountSession(s);
    ReloadSessionLastMoves(s);
    ShowLoadedRecord(window);
}

bool SaveRecord(HWND owner, const std::wstring& caption, const std::wstring& fileName) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const RecordTime when = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    const GameSession& s = Session();
    const std::int32_t kinds[2] = {s.side[0].kind, s.side[1].kind};
    const std::string text = IsGgfName(fileName) ? ComposeGgfText(s.position, s.record, kinds, when)
                                                 : ComposeRecordText(s.position, s.record, kinds, when);

    // The record is written to a new file in the same folder first and put
    // in the old one's place in one step, so that a failure never costs the
    // file the user had.
    const std::wstring full = FullPath(fileName);
    const std::wstring target = LongPathForm(full);
    const std::wstring folder = full.substr(0, full.find_last_of(L'\\') + 1);
    const DWORD existing = GetFileAttributesW(target.c_str());
    unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    UINT error = IDS_FILE_CANNOT_CREATE;
    bool saved = false;
    if (existing == INVALID_FILE_ATTRIBUTES || (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0) {
        const std::wstring newFile = WriteNewFile(folder, seed, text, error);
        if (!newFile.empty()) {
            saved = existing == INVALID_FILE_ATTRIBUTES
                        ? MoveFileExW(newFile.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                        : ReplaceExisting(target, existing, newFile, folder, seed);
            if (!saved) {
                DeleteFileW(newFile.c_str());
                error = IDS_FILE_CANNOT_CREATE;
            }
        }
    }
    if (!saved) {
        ShowFileError(owner, caption, error, fileName);
        return false;
    }
    RememberFile(fileName);
    return true;
}

void LoadRecordCommand(HWND window) {
    SetStatusMessage(IDS_LOADING_RECORD);
    RedrawPanelFields(window, PanelMessages);
    const std::wstring fileName = AskFileName(window, IDM_RECORD_LOAD, false);
    if (!fileName.empty()) LoadAndShow(window, fileName);
    else ShowIdle(window);
}

void SaveRecordCommand(HWND window) {
    SetStatusMessage(IDS_SAVING_RECORD);
    RedrawPanelFields(window, PanelMessages);
    const std::wstring fileName = AskFileName(window, IDM_RECORD_SAVE, true);
    const bool saved = !fileName.empty() && SaveRecord(window, CommandCaption(window, IDM_RECORD_SAVE), fileName);
    SetStatusMessage(saved ? IDS_RECORD_SAVED : IDS_CHOOSE_COMMAND);
    RedrawPanelFields(window, PanelMessages);
}

void LoadRecentRecord(HWND window, int slot) {
    const RecentFiles& list = RecentFileList();
    if (slot < 0 || slot >= list.count) return;
    const std::wstring fileName = list.paths[slot];  // a load reorders the list
    LoadAndShow(window, fileName);
}

void LoadDroppedFile(HWND window, const wchar_t* fileName) { LoadAndShow(window, fileName); }

void LoadRecordFromCommandLine(const wchar_t* argument) {
    LoadRecord(nullptr, L"" TAVIX_VERSION_TEXT, RecordFileArgument(std::wstring(argument)));
}
