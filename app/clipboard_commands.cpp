#include "app/clipboard_commands.h"

#include <cstring>

#include "app/commands.h"
#include "app/record_commands.h"
#include "app/toolbar.h"
#include "core/notation.h"
#include "core/position_text.h"
#include "core/wide_text.h"
#include "record/game_text.h"
#include "record/ggf.h"
#include "res/resource.h"
#include "session/game_session.h"
#include "view/board_painting.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

HGLOBAL GlobalCopy(const void* data, size_t bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return nullptr;
    void* at = GlobalLock(memory);
    if (!at) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(at, data, bytes);
    GlobalUnlock(memory);
    return memory;
}

// Another program (a clipboard viewer, a history tool) may hold the
// clipboard for a moment: a few tries over a fifth of a second before
// giving up.
bool OpenClipboardPatiently(HWND window) {
    for (int tries = 0; tries < 10; ++tries) {
        if (OpenClipboard(window)) return true;
        Sleep(20);
    }
    return false;
}

std::wstring ClipboardText(HWND window) {
    std::wstring text;
    if (!OpenClipboardPatiently(window)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* at = static_cast<const wchar_t*>(GlobalLock(data))) {
            text.assign(at, wcsnlen(at, GlobalSize(data) / sizeof(wchar_t)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// While a job works on the live position, or set-up edits it, the game
// stands in the snapshot.
const Position& GamePosition(const GameSession& s) {
    const bool aside = s.mode == AppMode::ComputerThinking || s.mode == AppMode::Research ||
                       s.mode == AppMode::BoardSetup;
    return aside ? s.snapshot : s.position;
}

const Position& ShownPosition(const GameSession& s) {
    return s.mode == AppMode::ComputerThinking || s.mode == AppMode::Research ? s.snapshot : s.position;
}

void ShowCopied(HWND window, bool copied, UINT message) {
    SetStatusMessage(copied ? message : IDS_CHOOSE_COMMAND);
    RedrawPanelFields(window, PanelMessages);
}

void Replace(std::wstring& text, const wchar_t* marker, const std::wstring& value) {
    const size_t at = text.find(marker);
    if (at != std::wstring::npos) text.replace(at, std::wcslen(marker), value);
}

void WarnAboutPaste(HWND window, const PasteOutcome& outcome) {
    UINT id = IDS_PASTE_NOT_A_GAME;
    if (outcome.kind != PastedKind::Neither) id = outcome.accepted ? IDS_PASTE_PARTLY : IDS_PASTE_FIRST_MOVE;
    std::wstring text = WideFromShiftJis(LoadShiftJisString(id));
    const std::string move = outcome.refused > 0 ? SquareCode(outcome.refused) : std::string("PA");
    Replace(text, L"%1", std::wstring(move.begin(), move.end()));
    Replace(text, L"%2", std::to_wstring(outcome.movesTaken + 1));
    Replace(text, L"%3", std::to_wstring(outcome.movesTaken));
    const std::wstring caption = CommandCaption(window, IDM_RECORD_PASTE);
    MessageBoxW(window, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

}  // namespace

bool PutOnClipboard(HWND window, const std::string& ascii) {
    if (!OpenClipboardPatiently(window)) return false;
    EmptyClipboard();
    const std::wstring wide(ascii.begin(), ascii.end());
    bool put = false;
    if (HGLOBAL w = GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t))) {
        if (SetClipboardData(CF_UNICODETEXT, w)) put = true;
        else GlobalFree(w);
    }
    if (HGLOBAL a = GlobalCopy(ascii.c_str(), ascii.size() + 1)) {
        if (SetClipboardData(CF_TEXT, a)) put = true;
        else GlobalFree(a);
    }
    CloseClipboard();
    return put;
}


std::string PasteTextFromWide(const std::wstring& text) {
    std::string ascii;
    ascii.reserve(text.size());
    for (const wchar_t c : text) {
        if (c < 0x80) ascii += static_cast<char>(c);
        else if (c >= 0xFF01 && c <= 0xFF5E) ascii += static_cast<char>(c - 0xFEE0);
        else if (c == 0x3000) ascii += ' ';
        else ascii += '\x7F';
    }
    return ascii;
}

void CopyGameCommand(HWND window) {
    const GameSession& s = Session();
    ShowCopied(window, PutOnClipboard(window, GameTranscriptText(GamePosition(s), s.record)), IDS_GAME_COPIED);
}

void CopyPositionCommand(HWND window) {
    ShowCopied(window, PutOnClipboard(window, PositionText(ShownPosition(Session()))), IDS_POSITION_COPIED);
}

void PasteCommand(HWND window) {
    GameSession& s = Session();
    Position pos;
    GameRecord rec;
    const std::string text = PasteTextFromWide(ClipboardText(window));
    // A GGF text: its game (or the one chosen among several), players kept.
    if (LooksLikeGgf(text)) {
        RecordGame game;
        if (ChooseGgfGame(window, text, game)) {
            TakeRecordGame(window, game, false);
            SetStatusMessage(IDS_GAME_PASTED);
            RedrawPanelFields(window, PanelMessages);
            return;
        }
    }
    const PasteOutcome outcome = PasteGame(text, pos, rec);
    if (outcome.accepted) {
        s.position = pos;
        s.record = rec;
        RecountSession(s);
        ReloadSessionLastMoves(s);
        SetStatusMessage(outcome.kind == PastedKind::BoardString && rec.endIndex == 0 ? IDS_POSITION_PASTED
                                                                                        : IDS_GAME_PASTED);
        RedrawBoard(window);
        RedrawPanelFields(window, PanelAllFields);
        UpdateToolbar();
    }
    if (!outcome.accepted || outcome.refused >= 0) WarnAboutPaste(window, outcome);
    if (!outcome.accepted) ShowCopied(window, false, 0);
}
