// Games on the board, the panel and the result box: shared by the scenarios
// that play games and those that study positions.

#include <algorithm>

#include "res/resource.h"
#include "tests/e2e/driver.h"


void StoreGameSettings(int black, int white, DWORD thoughtTime) {
    StoreTavixRegistryDword(L"Configuration", L"ThoughtTime", thoughtTime);
    StoreTavixRegistryDword(L"Configuration", L"TurnSpeed", 100);
    StoreTavixRegistryDword(L"Configuration", L"EffectSound", 0);
    StoreTavixRegistryDword(L"Configuration", L"AutoMove", 0);
    StoreTavixRegistryDword(L"Configuration", L"ThoughtDisplay", 1);
    StoreTavixRegistryDword(L"Player", L"Black", static_cast<DWORD>(black));
    StoreTavixRegistryDword(L"Player", L"White", static_cast<DWORD>(white));
}


ScriptedGame::ScriptedGame() {
    InitBoard(pos);
    pos.moveNumber = 0;
    pos.sideToMove = 0;
    pos.legalMoveCount = CountLegalMoves(pos, 0);
}

void ScriptedGame::Play(Square sq) {
    if (sq > 0) {
        FlipRecord flips;
        Check(PlayMove(pos, sq, ColourOfSide(pos.sideToMove), flips) > 0, Format("ply %d is not legal", sq));
    } else {
        Check(pos.legalMoveCount == 0, "a pass while a move exists");
    }
    pos.sideToMove ^= 1;
    pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
}

std::string ScriptedGame::Board() const {
    std::string b;
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 8; ++column) {
            const int c = pos.board[row * 10 + column];
            b += c == Black ? 'X' : c == White ? 'O' : '-';
        }
    return b;
}

void RemoveShippedBook() {
    const std::wstring path = DriverFolder() + L"\\Tavix.STD";
    Check(DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND, "cannot remove Tavix.STD");
}

Program StartForTwoPeople() {
    StoreGameSettings(Person, Person);
    Program tavix = StartTavix();
    Activate(tavix.window);
    WaitForBoard(tavix.window, ScriptedGame().Board(), 5000, "the initial board");
    return tavix;
}

Square ParseSquare(const char* text) { return text[0] == 'p' ? 0 : (text[1] - '0') * 10 + (text[0] - 'a' + 1); }

const char* const PassGame[PassGamePlies] = {"e6", "f4", "e3", "d2", "g3", "e7", "d6", "g5", "d3", "d7", "c7", "b8", "pass", "h2"};

void WaitForBoard(HWND window, const std::string& board, DWORD timeoutMs, const std::string& what) {
    std::string seen;
    if (!WaitUntil([&] { return (seen = ReadBoard(window)) == board; }, timeoutMs))
        Fail("the board is not " + what + ": " + seen + " instead of " + board);
}

std::vector<DWORD> CaptureClient(HWND window, const LayoutRect& r) {
    return CaptureClientPixels(window, r.left, r.top, r.right, r.bottom);
}

LayoutRect MessageBoxArea(HWND window) { return PanelBoxInsideRect(DisplayUnit(window), 3); }

std::wstring TakeResultBox(const Program& tavix, DWORD timeoutMs) {
    HWND box = WaitForDialog(tavix.process.dwProcessId, timeoutMs);
    Check(box != nullptr, "no result box appeared");
    Check(WindowText(box) == L"終局", "the result box's caption is \"" + Narrow(WindowText(box)) + "\"");
    const std::wstring text = MessageBoxText(box);
    int buttons = 0;
    for (const ControlText& c : DialogControls(box))
        if (lstrcmpiW(c.className.c_str(), L"Button") == 0) ++buttons;
    Check(buttons == 1 && GetDlgItem(box, IDOK), "the result box does not have one OK button");
    PressButton(box, IDOK);
    WaitFor([&] { return !IsWindow(box); }, 5000, "the result box to close");
    return text;
}

DWORD ProbeAnswer(HWND window) {
    const ULONGLONG start = GetTickCount64();
    DWORD_PTR result = 0;
    const LRESULT ok = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &result);
    const DWORD took = static_cast<DWORD>(GetTickCount64() - start);
    Check(ok != 0, Format("the window did not answer within 100 ms (%lu ms)", took));
    return took;
}

int CountDiscs(const std::string& board, char c) { return static_cast<int>(std::count(board.begin(), board.end(), c)); }

bool SameDiscsBesideMark(const std::string& seen, const std::string& expected) {
    int marks = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (seen[i] == expected[i]) continue;
        if (expected[i] != '-') return false;
        ++marks;
    }
    return marks <= 1;
}

std::wstring ExpectedResultText(int difference) {
    if (difference == 0) return L"引き分けです。";
    const int n = difference < 0 ? -difference : difference;
    std::wstring digits;
    digits += n >= 10 ? static_cast<wchar_t>(L'０' + n / 10) : L' ';
    if (n < 10) digits += L' ';
    digits += static_cast<wchar_t>(L'０' + n % 10);
    return std::wstring(difference > 0 ? L"黒" : L"白") + L"の" + digits + L"石勝ちです。";
}

void CloseTavix(Program& tavix) {
    PostMessageW(tavix.window, WM_CLOSE, 0, 0);
    const DWORD code = WaitForExit(tavix);
    Check(code == 0, Format("exit code %lu", code));
    StopTavix(tavix);
}

HWND WaitForSetupQuestion(const Program& tavix, const std::wstring& caption) {
    HWND box = WaitForDialog(tavix.process.dwProcessId);
    Check(box != nullptr, "no question whether to end set-up");
    Check(WindowText(box) == caption, "the question's caption is \"" + Narrow(WindowText(box)) + "\", not " +
                                          Narrow(caption));
    Check(MessageBoxText(box) == L"盤面設定を終了します。\n\nよろしいですか？",
          "the question reads \"" + Narrow(MessageBoxText(box)) + "\"");
    HWND no = GetDlgItem(box, IDNO);
    Check(GetDlgItem(box, IDYES) && no && !GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL),
          "the question does not have exactly Yes and No");
    Check((GetWindowLongW(no, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON, "No is not the default button");
    return box;
}

void Answer(HWND box, int button) {
    PressButton(box, button);
    WaitFor([&] { return !IsWindow(box); }, 5000, "the question to close");
}
