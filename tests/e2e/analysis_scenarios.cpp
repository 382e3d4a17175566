// End-to-end scenarios of the evaluation analysis: the parameter dialog and
// its rules, the analysis job on the search thread (its thinking display,
// its stop and its pause), the result dialog, and playing a move or a whole
// line from it.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/notation.h"
#include "core/wide_text.h"
#include "engine/jobs.h"
#include "res/resource.h"
#include "tests/e2e/driver.h"
#include "view/message_lines.h"

// Help page recording, from tests/e2e/settings_scenarios.cpp.
std::wstring RecordOpenedPages();
void ExpectOpenedPage(const std::wstring& record, const std::string& page);

namespace {

// A game of 44 plies without a pass (two people at the board): after 30
// plies exact solving is first offered, after 38 there are 22 empty squares
// and after 40 there are 20.
const char* const StudyGame =
    "d3c3c4c5c6f4b3b4b5a4f5b6a6a5e3a7g5c7b7c8a8d7a3b8d8h5d6f3g2f2g3h2f1g4h4h3g1d2e2e1d1c1b1c2";

// The exact values of every move after 40 plies of the study game (Black to
// move, 20 empty squares), as `tavix-cli solve` gives them; exact values are
// facts of the position, whatever engine finds them.
struct ExactValue {
    const char* move;
    int value;
};
const ExactValue StudyGameExact[] = {{"d1", -12}, {"h6", -24}, {"f6", -26}, {"c2", -26}, {"c1", -28}, {"g6", -32}};
// The same after 38 plies (22 empty squares), best first, as
// `tavix-cli solve --literal` (the levels' fixed tree) lists them.
const ExactValue StudyGameExact22[] = {{"e1", -12}, {"e2", -16}, {"f6", -20}, {"d1", -24}, {"g6", -31}};

Square StudyPly(int ply) { return ParseSquareCode(std::string(StudyGame + 2 * ply, 2).c_str()); }

// Two people click the plies from..to-1 of a transcript; the board after each
// must show.
void ClickPlies(HWND window, ScriptedGame& game, int from, int to, Square (*ply)(int)) {
    for (int i = from; i < to; ++i) {
        const Square sq = ply(i);
        if (sq > 0)
            ClickSquare(window, sq / 10, sq % 10);
        else
            ClickSquare(window, 8, 8);  // any click passes
        game.Play(sq);
        if (game.pos.legalMoveCount == -1) return;
        WaitForBoard(window, game.Board(), 5000, Format("the one after ply %d", i + 1));
        Pause(150);  // the flip's last pause ends the turn; clicks before the next turn are ignored
    }
}

Square PassGamePly(int ply) { return ParseSquare(PassGame[ply]); }

// ---------------------------------------------------------------------------
// The dialogs

HWND OpenParamsDialog(const Program& tavix) {
    PostCommand(tavix.window, IDM_RESEARCH_ANALYSIS);
    HWND dialog = WaitForDialog(tavix.process.dwProcessId, 5000);
    Check(dialog != nullptr, "the analysis dialog did not open");
    Check(WindowText(dialog) == L"評価値算出", "the analysis dialog's title is \"" + Narrow(WindowText(dialog)) + "\"");
    return dialog;
}

void CloseDialog(HWND dialog, int button) {
    PressButton(dialog, button);
    WaitFor([&] { return !IsWindow(dialog); }, 5000, Format("the dialog to close with button %d", button));
}

std::wstring ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

bool IsOn(HWND dialog, int id) { return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<std::wstring> ComboItems(HWND dialog, int id) {
    HWND combo = GetDlgItem(dialog, id);
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 63)
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

int ComboSelection(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

// Chooses an entry of a drop-down list as the keyboard does: focus, then
// Home and Down, which notify the dialog of each change.
void ChooseComboEntry(HWND dialog, int id, int index) {
    HWND combo = GetDlgItem(dialog, id);
    RECT r;
    GetClientRect(combo, &r);
    ClickClient(combo, r.right / 2, r.bottom / 2);  // opens the list
    // Keys only once the list is down: a Return that reached the dialog
    // instead would press its default button.
    WaitFor([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3000,
            Format("list %d to open on a click", id));
    SendKey(VK_HOME);
    for (int i = 0; i < index; ++i) SendKey(VK_DOWN);
    SendKey(VK_RETURN);  // closes the list, keeping the choice
    WaitFor([&] { return ComboSelection(dialog, id) == index; }, 3000, Format("entry %d of list %d", index, id));
}

void ClickControl(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    RECT r;
    GetClientRect(control, &r);
    ClickClient(control, r.right / 2, r.bottom / 2);
    Pause(150);
}

// Types into a value field as a user does: clicks it, selects its text and
// types over it. The field keeps the focus.
void TypeIntoField(HWND dialog, int id, const std::wstring& text) {
    ClickControl(dialog, id);
    SendDlgItemMessageW(dialog, id, EM_SETSEL, 0, -1);
    for (wchar_t c : text) SendKey(c == L'-' ? VK_OEM_MINUS : static_cast<UINT>(c));
    WaitFor([&] { return ItemText(dialog, id) == text; }, 3000, "the typed text to arrive in the field");
}

// The values of the four window fields as they read.
std::vector<std::wstring> WindowFields(HWND dialog) {
    return {ItemText(dialog, IDC_ANALYSIS_ALPHA), ItemText(dialog, IDC_ANALYSIS_BETA),
            ItemText(dialog, IDC_ANALYSIS_SOLVE_LO), ItemText(dialog, IDC_ANALYSIS_SOLVE_HI)};
}

std::string Joined(const std::vector<std::wstring>& items) {
    std::string out;
    for (const std::wstring& s : items) {
        out += '[';
        out += Narrow(s);
        out += ']';
    }
    return out;
}

// One analysis through the parameter dialog: the method, the depth, the
// solving window (by its preset button, 0 for none), the number of moves;
// then OK. Returns the result dialog.
struct Analysis {
    bool solve = false;
    int depth = 1;
    int weightButton = IDC_ANALYSIS_WEIGHTS_A;
    int solvingPreset = 0;
    int topN = 0;
};

void FillParams(HWND dialog, const Analysis& a) {
    ClickControl(dialog, a.solve ? IDC_ANALYSIS_SOLVING : IDC_ANALYSIS_EVALUATION);
    ClickControl(dialog, a.weightButton);
    if (a.solvingPreset) PressButton(dialog, a.solvingPreset);
    ChooseComboEntry(dialog, IDC_ANALYSIS_DEPTH, a.depth - 1);
    ChooseComboEntry(dialog, IDC_ANALYSIS_TOP_N, a.topN);
}

HWND RunAnalysisFromDialog(const Program& tavix, const Analysis& a, DWORD timeoutMs) {
    HWND dialog = OpenParamsDialog(tavix);
    Activate(dialog);
    FillParams(dialog, a);
    CloseDialog(dialog, IDOK);
    HWND results = WaitForDialog(tavix.process.dwProcessId, timeoutMs);
    Check(results != nullptr, "no result dialog appeared");
    Check(GetDlgItem(results, IDC_RESULTS_LIST) != nullptr, "the dialog that appeared is not the result dialog");
    return results;
}

std::vector<std::wstring> ResultItems(HWND results) { return ListBoxItems(GetDlgItem(results, IDC_RESULTS_LIST)); }

int ResultSelection(HWND results) {
    return static_cast<int>(SendDlgItemMessageW(results, IDC_RESULTS_LIST, LB_GETCURSEL, 0, 0));
}

// The result line " %2d  %s  %6s" of rank, square and value, as the dialog
// shows it.
std::wstring ResultLine(int rank, Square sq, int value) {
    const std::string square = SquareText(sq);
    return Widen(Format(" %2d  ", rank)) + WideFromShiftJis(square) + Widen(Format("  %6s", ValueText(value).c_str()));
}

// Parses the square and value of a result line.
struct ResultRow {
    Square square;
    int value;
};
ResultRow ParseResultLine(const std::wstring& line) {
    // "  1  ｄ１     -12": the full-width square at columns 5 and 6.
    Check(line.size() >= 9, "result line \"" + Narrow(line) + "\" is too short");
    const int column = line[5] - L'ａ' + 1, row = line[6] - L'０';
    Check(column >= 1 && column <= 8 && row >= 1 && row <= 8, "no square in \"" + Narrow(line) + "\"");
    return {static_cast<Square>(row * 10 + column), std::stoi(Narrow(line.substr(7)))};
}

// ---------------------------------------------------------------------------
// The message lines: which are blank, and how wide the ink of the others is,
// compared with the text a status message or a best line lays out there.

constexpr int PanelToolbarBand = 28;

LayoutRect MessageLineRect(int u, int i) {
    return {42 * u, PanelToolbarBand + (24 + 2 * i) * u, 64 * u, PanelToolbarBand + (26 + 2 * i) * u};
}

// Per line, the pixels from the first to the last dark one; 0 when blank.
std::vector<int> MessageLineInk(HWND window) {
    const int u = DisplayUnit(window);
    std::vector<int> widths;
    for (int i = 0; i < MessageLineCount; ++i) {
        const LayoutRect r = MessageLineRect(u, i);
        const std::vector<DWORD> pixels = CaptureClient(window, r);
        int first = -1, last = -1;
        for (int y = 0; y < r.Height(); ++y)
            for (int x = 0; x < r.Width(); ++x) {
                const DWORD c = pixels[static_cast<size_t>(y) * r.Width() + x];
                const int luminance = ((c >> 16 & 0xFF) * 299 + (c >> 8 & 0xFF) * 587 + (c & 0xFF) * 114) / 1000;
                if (luminance >= 96) continue;
                if (first < 0 || x < first) first = x;
                last = std::max(last, x);
            }
        widths.push_back(first < 0 ? 0 : last - first + 1);
    }
    return widths;
}

// The columns from the first to the last non-blank byte of each line.
std::vector<int> TextColumns(const MessageLines& lines) {
    std::vector<int> spans;
    for (int i = 0; i < MessageLineCount; ++i) {
        const std::string text = MessageLineText(lines, i);
        const size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
        spans.push_back(first == std::string::npos ? 0 : static_cast<int>(last - first + 1));
    }
    return spans;
}

std::string Describe(const std::vector<int>& v) {
    std::string s;
    for (int x : v) s += Format(" %d", x);
    return s;
}

// The lines first..last show the laid-out text: blank where it is blank,
// and inked over about its columns (a column being the width of a
// half-width character, u - 1 pixels in the display font; the first and the
// last glyph keep some of their cell blank).
bool MessageLinesShow(HWND window, const MessageLines& expected, int first, int last, std::string* seen = nullptr) {
    const int u = DisplayUnit(window);
    const std::vector<int> ink = MessageLineInk(window), columns = TextColumns(expected);
    if (seen) *seen = "ink" + Describe(ink) + " for columns" + Describe(columns);
    for (int i = first; i <= last; ++i) {
        if ((ink[i] == 0) != (columns[i] == 0)) return false;
        if (columns[i] == 0) continue;
        const int width = u - 1;
        if (ink[i] < (columns[i] - 2) * width || ink[i] > (columns[i] + 1) * width) return false;
    }
    return true;
}

// A status message of Tavix.exe's string table as the panel lays it out,
// and the number of lines it writes.
MessageLines StatusMessageLines(int id, int& linesWritten) {
    HMODULE module = LoadLibraryExW(TavixPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(module != nullptr, "cannot open Tavix.exe as a resource file");
    const wchar_t* text = nullptr;
    const int n = LoadStringW(module, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    const std::wstring wide = n > 0 ? std::wstring(text, n) : L"";
    FreeLibrary(module);
    MessageLines lines;
    ClearMessageLines(lines);
    const std::string sjis = ShiftJisFromWide(wide);
    LayOutStatusMessage(lines, sjis);
    linesWritten = static_cast<int>(std::count(sjis.begin(), sjis.end(), '|')) + 1;
    return lines;
}

}  // namespace

// Also used by tests/e2e/review_scenarios.cpp.
void ExpectStatusMessage(HWND window, int id, DWORD timeoutMs = 3000) {
    int written = 0;
    const MessageLines lines = StatusMessageLines(id, written);
    std::string seen;
    if (!WaitUntil([&] { return MessageLinesShow(window, lines, 0, std::min(written, MessageLineCount) - 1, &seen); },
                   timeoutMs))
        Fail(Format("the message lines do not show message %d: %s", id, seen.c_str()));
}

namespace {

bool BestLineShown(HWND window, const Square* line, int value) {
    MessageLines lines;
    ClearMessageLines(lines);
    LayOutBestLine(lines, line, value);
    return MessageLinesShow(window, lines, 3, 5);
}

// ---------------------------------------------------------------------------
// The engine's own answer, for comparison with what the dialog lists.

struct EngineAnswer {
    std::vector<std::vector<Square>> lines;
    std::vector<int> values;
};

EngineAnswer AnalyseHere(const Position& position, const AnalysisParams& params) {
    static EngineState es;
    static ResultList results;
    static LineBuffer buffer;
    Position pos = position;
    Check(RunAnalysis(es, pos, params, results, buffer, {}), "the driver's analysis stopped");
    EngineAnswer a;
    for (int i = 0; results.entries[i].line; ++i) {
        std::vector<Square> line;
        for (const Square* s = results.entries[i].line; *s; ++s) line.push_back(*s);
        a.lines.push_back(line);
        a.values.push_back(results.entries[i].value);
    }
    return a;
}

// A search mark: an empty square of the board whose centre is not the
// colour of the surface.
bool SearchMarkShown(HWND window, const std::string& board, COLORREF surface) {
    for (int i = 0; i < 64; ++i) {
        if (board[i] != '-') continue;
        const POINT p = SquareCentre(window, i / 8 + 1, i % 8 + 1);
        if (ClientPixel(window, p.x, p.y) != surface) return true;
    }
    return false;
}

COLORREF SurfaceColour(HWND window, const std::string& board) {
    const size_t i = board.find('-');
    Check(i != std::string::npos, "no empty square");
    const POINT p = SquareCentre(window, static_cast<int>(i) / 8 + 1, static_cast<int>(i) % 8 + 1);
    return ClientPixel(window, p.x, p.y);
}

bool DialogOpen(const Program& tavix) {
    for (HWND d : FindProcessWindows(tavix.process.dwProcessId, L"#32770"))
        if (IsWindowVisible(d)) return true;
    return false;
}

}  // namespace

// The parameter dialog at the start position: its controls as laid out,
// what it shows first, the rule that keeps each value window ordered, the
// presets, help, and Cancel; then an analysis at depth 1 whose result dialog
// lists the engine's values, shows another line when one is selected, and
// plays a move on a double click without starting the game.
SCENARIO(analysis_parameters_and_results_at_the_start) {
    const std::wstring pages = RecordOpenedPages();
    Program tavix = StartForTwoPeople();
    HWND w = tavix.window;
    ScriptedGame game;

    HWND dialog = OpenParamsDialog(tavix);
    ExpectStatusMessage(w, IDS_ANALYSIS_OPENED);
    // Every control where the dialog's template puts it (dialog units).
    struct Placed {
        int id;
        const wchar_t* className;
        const wchar_t* text;
        RECT units;  // left, top, width, height
    } const placed[] = {
        {IDC_ANALYSIS_EVALUATION, L"Button", L"評価関数(&E)", {12, 6, 48, 12}},
        {IDC_ANALYSIS_SOLVING, L"Button", L"読み切り(&F)", {12, 76, 48, 12}},
        {IDC_ANALYSIS_FULL_RANGE, L"Button", L"全範囲(&A)", {160, 36, 44, 15}},
        {IDC_ANALYSIS_WEIGHTS_A, L"Button", L"Ａ", {80, 56, 16, 12}},
        {IDC_ANALYSIS_WEIGHTS_B, L"Button", L"Ｂ", {104, 56, 16, 12}},
        {IDC_ANALYSIS_WEIGHTS_C, L"Button", L"Ｃ", {128, 56, 16, 12}},
        {IDC_ANALYSIS_PERFECT, L"Button", L"完全読み(&P)", {160, 88, 44, 15}},
        {IDC_ANALYSIS_WIN_LOSS, L"Button", L"必勝読み(&W)", {160, 106, 44, 15}},
        {IDOK, L"Button", L"OK", {54, 156, 50, 15}},
        {IDCANCEL, L"Button", L"ｷｬﾝｾﾙ", {108, 156, 50, 15}},
        {IDC_ANALYSIS_HELP, L"Button", L"ﾍﾙﾌﾟ(&H)", {162, 156, 50, 15}},
        {-1, L"Static", L"探索の深さ(&D):", {16, 22, 48, 8}},
        {-1, L"Static", L"評価値の範囲(&R):", {16, 40, 60, 8}},
        {-1, L"Static", L"評価方法(&T):", {16, 58, 44, 8}},
        {-1, L"Static", L"評価値の範囲(&N):", {16, 92, 60, 8}},
        {-1, L"Static", L"探索する手(&B):", {8, 136, 48, 8}},
        {-1, L"Static", L"上位より", {60, 136, 28, 8}},
        // The value fields with their spin controls at their right edges.
        {IDC_ANALYSIS_ALPHA, L"Edit", nullptr, {80, 38, 32, 12}},
        {IDC_ANALYSIS_BETA, L"Edit", nullptr, {120, 38, 32, 12}},
        {IDC_ANALYSIS_SOLVE_LO, L"Edit", nullptr, {80, 90, 32, 12}},
        {IDC_ANALYSIS_SOLVE_HI, L"Edit", nullptr, {120, 90, 32, 12}},
        {IDC_ANALYSIS_DEPTH, L"ComboBox", nullptr, {80, 20, 32, 0}},
        {IDC_ANALYSIS_TOP_N, L"ComboBox", nullptr, {92, 134, 32, 0}},
    };
    // MapDialogRect reads the dialog's own font and so answers only inside
    // its process: dialog units from the client area, 220 x 178 of them.
    RECT client;
    GetClientRect(dialog, &client);
    auto ToPixels = [&](RECT& r) {
        r = {MulDiv(r.left, client.right, 220), MulDiv(r.top, client.bottom, 178), MulDiv(r.right, client.right, 220),
             MulDiv(r.bottom, client.bottom, 178)};
    };
    for (const Placed& p : placed) {
        HWND control = p.id >= 0 ? GetDlgItem(dialog, p.id) : nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); !control && child; child = GetWindow(child, GW_HWNDNEXT))
            if (lstrcmpiW(ClassName(child).c_str(), L"Static") == 0 && WindowText(child) == p.text) control = child;
        const std::string what = Narrow(p.text ? p.text : L"") + Format(" (%d)", p.id);
        Check(control != nullptr, "no control " + what);
        Check(lstrcmpiW(ClassName(control).c_str(), p.className) == 0, what + " is a " + Narrow(ClassName(control)));
        if (p.text) Check(WindowText(control) == p.text, what + " reads \"" + Narrow(WindowText(control)) + "\"");
        RECT expected = {p.units.left, p.units.top, p.units.left + p.units.right, p.units.top + p.units.bottom};
        ToPixels(expected);
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        if (lstrcmpiW(p.className, L"Edit") == 0) {
            HWND spin = GetDlgItem(dialog, p.id + 1);
            Check(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)) == control,
                  what + " is not its spin control's buddy");
            RECT s;
            GetWindowRect(spin, &s);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&s), 2);
            Check(std::abs(s.right - expected.right) <= 2 && std::abs(s.top - expected.top) <= 2,
                  what + "'s spin control is not at the field's right edge");
            const LONG_PTR style = GetWindowLongPtrW(spin, GWL_STYLE);
            Check((style & (UDS_NOTHOUSANDS | UDS_ARROWKEYS | UDS_SETBUDDYINT)) ==
                      (UDS_NOTHOUSANDS | UDS_ARROWKEYS | UDS_SETBUDDYINT),
                  what + "'s spin control shows thousands separators or ignores the arrow keys");
            r.right = s.right;  // the field and its spin control fill the field's place together
        }
        const bool heightToo = p.units.bottom != 0;
        Check(std::abs(r.left - expected.left) <= 2 && std::abs(r.top - expected.top) <= 2 &&
                  std::abs(r.right - expected.right) <= 2 && (!heightToo || std::abs(r.bottom - expected.bottom) <= 2),
              what + Format(" stands at %ld,%ld-%ld,%ld, not %ld,%ld-%ld,%ld", r.left, r.top, r.right, r.bottom,
                            expected.left, expected.top, expected.right, expected.bottom));
    }
    Check((GetWindowLongPtrW(GetDlgItem(dialog, IDC_ANALYSIS_EVALUATION), GWL_STYLE) & WS_GROUP) &&
              (GetWindowLongPtrW(GetDlgItem(dialog, IDC_ANALYSIS_WEIGHTS_A), GWL_STYLE) & WS_GROUP),
          "the method and weight buttons do not start groups");

    // What it shows first, 59 empty squares: the evaluation function only.
    Check(IsOn(dialog, IDC_ANALYSIS_EVALUATION) && !IsOn(dialog, IDC_ANALYSIS_SOLVING), "the method is not 評価関数");
    Check(!IsWindowEnabled(GetDlgItem(dialog, IDC_ANALYSIS_SOLVING)), "読み切り is offered at the start");
    std::vector<std::wstring> depths;
    for (int d = 1; d <= 20; ++d) depths.push_back(std::to_wstring(d));
    Check(ComboItems(dialog, IDC_ANALYSIS_DEPTH) == depths, "the depth list is " + Joined(ComboItems(dialog, IDC_ANALYSIS_DEPTH)));
    Check(ComboSelection(dialog, IDC_ANALYSIS_DEPTH) == 0, "depth 1 is not selected");
    Check(WindowFields(dialog) == std::vector<std::wstring>{L"-999", L"999", L"-64", L"64"},
          "the value windows read " + Joined(WindowFields(dialog)));
    const std::pair<int, std::pair<int, int>> ranges[] = {{IDC_ANALYSIS_ALPHA_SPIN, {-999, 998}},
                                                          {IDC_ANALYSIS_BETA_SPIN, {-998, 999}},
                                                          {IDC_ANALYSIS_SOLVE_LO_SPIN, {-64, 63}},
                                                          {IDC_ANALYSIS_SOLVE_HI_SPIN, {-63, 64}}};
    for (const auto& [spin, range] : ranges) {
        // UDM_GETRANGE answers in its result, which crosses processes.
        const LRESULT both = SendDlgItemMessageW(dialog, spin, UDM_GETRANGE, 0, 0);
        const int lo = static_cast<short>(HIWORD(both)), hi = static_cast<short>(LOWORD(both));
        Check(lo == range.first && hi == range.second, Format("spin control %d ranges %d..%d", spin, lo, hi));
    }
    Check(IsOn(dialog, IDC_ANALYSIS_WEIGHTS_A), "weight set Ａ is not on");
    const std::vector<std::wstring> fourMoves = {L"全て", L"1手", L"2手", L"3手", L"4手"};
    Check(ComboItems(dialog, IDC_ANALYSIS_TOP_N) == fourMoves, "the move-count list is " + Joined(ComboItems(dialog, IDC_ANALYSIS_TOP_N)));
    Check(ComboSelection(dialog, IDC_ANALYSIS_TOP_N) == 0, "全て is not selected");

    // Leaving a low end at or above its high end moves the high end above it,
    // its text selected; unreadable text is rewritten; the spin ranges hold.
    Activate(dialog);
    TypeIntoField(dialog, IDC_ANALYSIS_BETA, L"200");
    ClickControl(dialog, IDC_ANALYSIS_WEIGHTS_A);
    TypeIntoField(dialog, IDC_ANALYSIS_ALPHA, L"500");
    ClickControl(dialog, IDC_ANALYSIS_WEIGHTS_A);
    Check(ItemText(dialog, IDC_ANALYSIS_ALPHA) == L"500" && ItemText(dialog, IDC_ANALYSIS_BETA) == L"501",
          "after 500 over 200 the window reads " + Joined(WindowFields(dialog)));
    const LRESULT selection = SendDlgItemMessageW(dialog, IDC_ANALYSIS_BETA, EM_GETSEL, 0, 0);
    Check(LOWORD(selection) == 0 && HIWORD(selection) == 3,
          Format("the moved high end's text is not selected (%u..%u)", LOWORD(selection), HIWORD(selection)));
    TypeIntoField(dialog, IDC_ANALYSIS_SOLVE_HI, L"-70");
    ClickControl(dialog, IDC_ANALYSIS_WEIGHTS_A);
    Check(ItemText(dialog, IDC_ANALYSIS_SOLVE_HI) == L"-63" && ItemText(dialog, IDC_ANALYSIS_SOLVE_LO) == L"-64",
          "after -70 in the high solving end the window reads " + Joined(WindowFields(dialog)));
    TypeIntoField(dialog, IDC_ANALYSIS_SOLVE_LO, L"7-");
    ClickControl(dialog, IDC_ANALYSIS_WEIGHTS_A);
    Check(ItemText(dialog, IDC_ANALYSIS_SOLVE_LO) == L"-64", "unreadable text became \"" +
                                                                 Narrow(ItemText(dialog, IDC_ANALYSIS_SOLVE_LO)) + "\"");
    PressButton(dialog, IDC_ANALYSIS_WIN_LOSS);
    PressButton(dialog, IDC_ANALYSIS_FULL_RANGE);
    Pause(300);
    Check(WindowFields(dialog) == std::vector<std::wstring>{L"-999", L"999", L"-1", L"1"},
          "after 全範囲 and 必勝読み the windows read " + Joined(WindowFields(dialog)));
    PressButton(dialog, IDC_ANALYSIS_PERFECT);
    Pause(300);
    Check(ItemText(dialog, IDC_ANALYSIS_SOLVE_LO) == L"-64" && ItemText(dialog, IDC_ANALYSIS_SOLVE_HI) == L"64",
          "完全読み gives " + Joined(WindowFields(dialog)));

    // Help: the button and F1 open the analysis page.
    PressButton(dialog, IDC_ANALYSIS_HELP);
    ExpectOpenedPage(pages, "analysis.html");
    DeleteFileW(pages.c_str());
    Activate(dialog);
    SendKey(VK_F1);
    ExpectOpenedPage(pages, "analysis.html");

    // Cancel keeps nothing of what was changed.
    Activate(dialog);
    FillParams(dialog, {false, 5, IDC_ANALYSIS_WEIGHTS_C, IDC_ANALYSIS_WIN_LOSS, 2});
    CloseDialog(dialog, IDCANCEL);
    ExpectStatusMessage(w, IDS_CHOOSE_COMMAND);
    dialog = OpenParamsDialog(tavix);
    Check(ComboSelection(dialog, IDC_ANALYSIS_DEPTH) == 0 && IsOn(dialog, IDC_ANALYSIS_WEIGHTS_A) &&
              ComboSelection(dialog, IDC_ANALYSIS_TOP_N) == 0 &&
              WindowFields(dialog) == std::vector<std::wstring>{L"-999", L"999", L"-64", L"64"},
          "Cancel kept some of the changes: " + Joined(WindowFields(dialog)));
    CloseDialog(dialog, IDCANCEL);
    Check(ReadBoard(w) == game.Board(), "cancelling the parameters changed the board");

    // Depth 1, set Ａ, every move: the engine's values, best first.
    AnalysisParams depth1;
    const EngineAnswer expected = AnalyseHere(game.pos, depth1);
    Check(expected.values.size() == 4, "the engine does not list four first moves");
    HWND results = RunAnalysisFromDialog(tavix, {}, 30000);
    Check(WindowText(results) == L"評価値算出 - 1手先読み", "the result title is \"" + Narrow(WindowText(results)) + "\"");
    ExpectStatusMessage(w, IDS_ANALYSIS_DONE);
    std::vector<std::wstring> lines;
    for (size_t i = 0; i < expected.values.size(); ++i)
        lines.push_back(ResultLine(static_cast<int>(i) + 1, expected.lines[i][0], expected.values[i]));
    Check(ResultItems(results) == lines, "the result lines are " + Joined(ResultItems(results)) + ", not " + Joined(lines));
    Check(ResultSelection(results) == 0, "the first line is not selected");
    // Selecting another line shows it in the thinking display.
    Activate(results);
    SendKey(VK_DOWN);
    std::vector<Square> second = expected.lines[1];
    second.push_back(0);
    WaitFor([&] { return ResultSelection(results) == 1 && BestLineShown(w, second.data(), expected.values[1]); }, 3000,
            "the second line in the thinking display");
    CloseDialog(results, IDCANCEL);
    ExpectStatusMessage(w, IDS_CHOOSE_COMMAND);
    Check(ReadBoard(w) == game.Board(), "cancelling the results changed the board");

    // Depth 3, set Ｃ, two moves: a double click plays the first line's move;
    // the game does not start, so a click on the board plays nothing.
    AnalysisParams depth3;
    depth3.depth = 3;
    depth3.weightSet = 2;
    depth3.topN = 2;
    const EngineAnswer top2 = AnalyseHere(game.pos, depth3);
    results = RunAnalysisFromDialog(tavix, {false, 3, IDC_ANALYSIS_WEIGHTS_C, 0, 2}, 30000);
    Check(WindowText(results) == L"評価値算出 - 3手先読み", "the result title is \"" + Narrow(WindowText(results)) + "\"");
    Check(ResultItems(results).size() == 2, "topN 2 lists " + Joined(ResultItems(results)));
    Check(ParseResultLine(ResultItems(results)[0]).value == top2.values[0], "the best value differs from the engine's");
    const Square chosen = ParseResultLine(ResultItems(results)[0]).square;
    HWND list = GetDlgItem(results, IDC_RESULTS_LIST);
    RECT item;
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.left + 8, item.top + 2));
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(item.left + 8, item.top + 2));
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(item.left + 8, item.top + 2));
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(item.left + 8, item.top + 2));
    WaitFor([&] { return !IsWindow(results); }, 5000, "the double click to close the result dialog");
    game.Play(chosen);
    WaitForBoard(w, game.Board(), 5000, "the one after the chosen move");
    ExpectStatusMessage(w, IDS_CHOOSE_COMMAND);
    for (Square sq = 11; sq <= 88; ++sq)
        if (IsPlayable(sq) && game.pos.board[sq] == Empty && CanPlay(game.pos, sq, ColourOfSide(game.pos.sideToMove))) {
            ClickSquare(w, sq / 10, sq % 10);
            break;
        }
    Pause(500);
    Check(ReadBoard(w) == game.Board(), "a click played a move after the analysis: the game was started");
    // The next opening starts from the accepted parameters.
    dialog = OpenParamsDialog(tavix);
    Check(ComboSelection(dialog, IDC_ANALYSIS_DEPTH) == 2 && IsOn(dialog, IDC_ANALYSIS_WEIGHTS_C) &&
              ComboSelection(dialog, IDC_ANALYSIS_TOP_N) == 2,
          "the next opening does not show depth 3, set Ｃ and 2手");
    CloseDialog(dialog, IDCANCEL);
    CloseTavix(tavix);
}

// The pass game of the game scenarios: where the side to move must pass the
// analysis is unavailable; where it has one move the move-count list holds
// 全て and 1手; back before White's b8, 全手順 on b8's line plays b8, Black's
// pass and White's h2, and the end of the game is announced.
SCENARIO(analysis_line_with_a_pass_to_the_end) {
    Program tavix = StartForTwoPeople();
    HWND w = tavix.window;
    ScriptedGame game;
    SendKey(VK_F2);
    Pause(300);
    ClickPlies(w, game, 0, 12, PassGamePly);  // up to White's b8: Black must pass
    const std::string blackPasses = game.Board();
    PostCommand(w, IDM_RESEARCH_ANALYSIS);
    Pause(1000);
    Check(!DialogOpen(tavix), "the analysis opened where the side to move has no move");
    ClickPlies(w, game, 12, 13, PassGamePly);  // the pass: White has h2 only
    HWND dialog = OpenParamsDialog(tavix);
    Check(ComboItems(dialog, IDC_ANALYSIS_TOP_N) == std::vector<std::wstring>{L"全て", L"1手"},
          "with one legal move the move-count list is " + Joined(ComboItems(dialog, IDC_ANALYSIS_TOP_N)));
    CloseDialog(dialog, IDCANCEL);
    Check(ReadBoard(w) == blackPasses, "cancelling changed the board");

    // Back to White's choice before b8.
    Activate(w);
    SendKey(VK_PRIOR);
    SendKey(VK_PRIOR);
    ScriptedGame before;
    for (int i = 0; i < 11; ++i) before.Play(PassGamePly(i));
    WaitForBoard(w, before.Board(), 5000, "the one before b8");
    AnalysisParams params;
    params.depth = 3;
    const EngineAnswer answer = AnalyseHere(before.pos, params);
    int b8 = -1;
    for (size_t i = 0; i < answer.lines.size(); ++i)
        if (answer.lines[i][0] == 82) b8 = static_cast<int>(i);
    Check(b8 >= 0 && answer.lines[b8] == std::vector<Square>{82, 28}, "the engine's line of b8 is not b8 h2");
    HWND results = RunAnalysisFromDialog(tavix, {false, 3, IDC_ANALYSIS_WEIGHTS_A, 0, 0}, 30000);
    Activate(results);
    for (int i = 0; i < b8; ++i) SendKey(VK_DOWN);
    WaitFor([&] { return ResultSelection(results) == b8; }, 3000, "b8's line to be selected");
    Check(ParseResultLine(ResultItems(results)[b8]).square == 82, "the selected line is not b8's");
    CloseDialog(results, IDC_RESULTS_WHOLE_LINE);
    const std::wstring text = TakeResultBox(tavix, 15000);
    Check(text == L"白の１７石勝ちです。", "the result reads \"" + Narrow(text) + "\"");
    for (int i = 11; i < PassGamePlies; ++i) before.Play(PassGamePly(i));
    WaitForBoard(w, before.Board(), 3000, "the final one of the pass game");
    ExpectStatusMessage(w, IDS_CHOOSE_COMMAND);
    CloseTavix(tavix);
}

// Exact solving in a game of two people: offered from move 30, forced off at
// move 29 and shown again at 30; an exact analysis at 22 empty squares keeps
// the window answering, shows its search mark and best line, holds for a
// repaint and is stopped by 1402 (the board restored, 3028, the parameters
// kept), and run to its end lists the fixed tree's exact values while the
// window keeps answering; at 20 empty squares it lists the exact values of every move, the
// win-loss values with their signs and the best two; 全手順 then plays the
// game to its end.
SCENARIO(exact_analysis_in_a_played_game) {
    Program tavix = StartForTwoPeople();
    HWND w = tavix.window;
    ScriptedGame game;
    SendKey(VK_F2);
    Pause(300);
    ClickPlies(w, game, 0, 30, StudyPly);

    // Move 30: exact solving offered; chosen and stopped at once.
    HWND dialog = OpenParamsDialog(tavix);
    Check(IsWindowEnabled(GetDlgItem(dialog, IDC_ANALYSIS_SOLVING)), "読み切り is not offered at move 30");
    Check(IsOn(dialog, IDC_ANALYSIS_EVALUATION), "the first opening does not show 評価関数");
    Activate(dialog);
    ClickControl(dialog, IDC_ANALYSIS_SOLVING);
    CloseDialog(dialog, IDOK);
    ExpectStatusMessage(w, IDS_ANALYSIS_RUNNING);
    PostCommand(w, IDM_RESEARCH_STOP);
    ExpectStatusMessage(w, IDS_RESEARCH_INTERRUPTED);
    WaitForBoard(w, game.Board(), 3000, "the one before the stopped analysis");
    Pause(500);
    Check(!DialogOpen(tavix), "a result dialog came after the stop");

    // Move 29: the evaluation function, though exact solving was chosen.
    Activate(w);
    SendKey(VK_PRIOR);
    ScriptedGame at29;
    for (int i = 0; i < 29; ++i) at29.Play(StudyPly(i));
    WaitForBoard(w, at29.Board(), 5000, "the one of move 29");
    dialog = OpenParamsDialog(tavix);
    Check(!IsWindowEnabled(GetDlgItem(dialog, IDC_ANALYSIS_SOLVING)) && IsOn(dialog, IDC_ANALYSIS_EVALUATION) &&
              !IsOn(dialog, IDC_ANALYSIS_SOLVING),
          "at move 29 読み切り is offered or shown");
    CloseDialog(dialog, IDCANCEL);
    Activate(w);
    SendKey(VK_NEXT);
    WaitForBoard(w, game.Board(), 5000, "the one of move 30 again");
    dialog = OpenParamsDialog(tavix);
    Check(IsWindowEnabled(GetDlgItem(dialog, IDC_ANALYSIS_SOLVING)) && IsOn(dialog, IDC_ANALYSIS_SOLVING),
          "at move 30 the stopped run's 読み切り is not shown");
    CloseDialog(dialog, IDCANCEL);

    // 22 empty squares: an exact analysis of every move runs on the search thread.
    Activate(w);
    SendKey(VK_F2);
    Pause(300);
    ClickPlies(w, game, 30, 38, StudyPly);
    const std::string at22 = game.Board();
    const std::vector<int> inkBefore = MessageLineInk(w);
    const COLORREF surface = SurfaceColour(w, at22);
    dialog = OpenParamsDialog(tavix);
    Activate(dialog);
    FillParams(dialog, {true, 1, IDC_ANALYSIS_WEIGHTS_A, IDC_ANALYSIS_PERFECT, 0});
    CloseDialog(dialog, IDOK);
    ExpectStatusMessage(w, IDS_ANALYSIS_RUNNING);
    DWORD slowest = 0;
    bool markSeen = false, lineSeen = false;
    const ULONGLONG end = GetTickCount64() + 90000;
    while (GetTickCount64() < end && !(markSeen && lineSeen)) {
        slowest = std::max(slowest, ProbeAnswer(w));
        markSeen = markSeen || SearchMarkShown(w, at22, surface);
        const std::vector<int> ink = MessageLineInk(w);
        lineSeen = lineSeen || (ink[5] > 0 && ink[5] != inkBefore[5]);
        Check(!DialogOpen(tavix), "the exact analysis at 22 empty squares ended too soon to be watched");
        Pause(50);
    }
    Check(markSeen, "no search mark appeared during the exact analysis");
    Check(lineSeen, "no best line appeared during the exact analysis");
    if (!ScreenshotFolder().empty()) {
        const std::wstring shot = ScreenshotFolder() + L"\\exact_analysis_22_empties.bmp";
        Check(SaveScreenshot(shot, w), "cannot save the screenshot");
        Note("screenshot " + Narrow(shot));
    }
    // The repaint is read at once: the results dialog of a finished analysis
    // would stand over the board.
    InvalidateRect(w, nullptr, TRUE);
    Pause(300);
    const std::string repainted = ReadBoard(w);
    Check(!DialogOpen(tavix), "the exact analysis at 22 empty squares ended before its repaint was read");
    Check(SameDiscsBesideMark(repainted, at22), "a repaint during the analysis shows " + repainted);
    Note(Format("slowest answer during the exact analysis at 22 empty squares: %lu ms", slowest));
    PostCommand(w, IDM_RESEARCH_STOP);
    ExpectStatusMessage(w, IDS_RESEARCH_INTERRUPTED);
    WaitForBoard(w, at22, 3000, "the one before the stopped analysis");
    Pause(300);
    Check(!SearchMarkShown(w, at22, surface), "the search mark stays after the stop");
    dialog = OpenParamsDialog(tavix);
    Check(IsOn(dialog, IDC_ANALYSIS_SOLVING) && ItemText(dialog, IDC_ANALYSIS_SOLVE_LO) == L"-64" &&
              ItemText(dialog, IDC_ANALYSIS_SOLVE_HI) == L"64",
          "the parameters of the stopped run are not shown: " + Joined(WindowFields(dialog)));
    CloseDialog(dialog, IDCANCEL);

    // Run to its end, the same position lists the fixed tree's exact values
    // in their order, while the window keeps answering.
    dialog = OpenParamsDialog(tavix);
    Activate(dialog);
    FillParams(dialog, {true, 1, IDC_ANALYSIS_WEIGHTS_A, IDC_ANALYSIS_PERFECT, 0});
    const ULONGLONG started22 = GetTickCount64();
    CloseDialog(dialog, IDOK);
    slowest = 0;
    while (!DialogOpen(tavix) && GetTickCount64() < started22 + 300000) {
        slowest = std::max(slowest, ProbeAnswer(w));
        Pause(50);
    }
    HWND results = WaitForDialog(tavix.process.dwProcessId, 5000);
    Check(results != nullptr && GetDlgItem(results, IDC_RESULTS_LIST) != nullptr, "no result dialog at 22 empty squares");
    Note(Format("exact analysis of every move at 22 empty squares: %.1f s, slowest answer %lu ms",
                (GetTickCount64() - started22) / 1000.0, slowest));
    std::vector<std::wstring> items = ResultItems(results);
    Check(items.size() == std::size(StudyGameExact22), "the exact analysis at 22 empty squares lists " + Joined(items));
    for (size_t i = 0; i < items.size(); ++i)
        Check(items[i] == ResultLine(static_cast<int>(i) + 1, ParseSquareCode(StudyGameExact22[i].move),
                                     StudyGameExact22[i].value),
              "line \"" + Narrow(items[i]) + "\" at 22 empty squares, expected " + StudyGameExact22[i].move +
                  Format(" %d", StudyGameExact22[i].value));
    CloseDialog(results, IDCANCEL);

    // 20 empty squares: the exact value of every move.
    Activate(w);
    SendKey(VK_F2);
    Pause(300);
    ClickPlies(w, game, 38, 40, StudyPly);
    const ULONGLONG started = GetTickCount64();
    results = RunAnalysisFromDialog(tavix, {true, 1, IDC_ANALYSIS_WEIGHTS_A, IDC_ANALYSIS_PERFECT, 0}, 300000);
    Note(Format("exact analysis of every move at 20 empty squares: %.1f s",
                (GetTickCount64() - started) / 1000.0));
    Check(WindowText(results) == L"評価値算出 - 読み切り", "the result title is \"" + Narrow(WindowText(results)) + "\"");
    items = ResultItems(results);
    Check(items.size() == std::size(StudyGameExact), "the exact analysis lists " + Joined(items));
    int previous = 65;
    for (size_t i = 0; i < items.size(); ++i) {
        const ResultRow row = ParseResultLine(items[i]);
        Check(row.value <= previous, "the exact values are not best first: " + Joined(items));
        previous = row.value;
        bool found = false;
        for (const ExactValue& e : StudyGameExact)
            found = found || (ParseSquareCode(e.move) == row.square && e.value == row.value);
        Check(found, "line \"" + Narrow(items[i]) + "\" is not an exact value of the position");
        Check(items[i] == ResultLine(static_cast<int>(i) + 1, row.square, row.value),
              "line \"" + Narrow(items[i]) + "\" is not in the result form");
    }
    CloseDialog(results, IDCANCEL);

    // The win-loss window: -1, 0 or 1 with the signs of the exact values.
    results = RunAnalysisFromDialog(tavix, {true, 1, IDC_ANALYSIS_WEIGHTS_A, IDC_ANALYSIS_WIN_LOSS, 0}, 300000);
    items = ResultItems(results);
    Check(items.size() == std::size(StudyGameExact), "the win-loss analysis lists " + Joined(items));
    for (const std::wstring& item : items) {
        const ResultRow row = ParseResultLine(item);
        for (const ExactValue& e : StudyGameExact)
            if (ParseSquareCode(e.move) == row.square)
                Check(row.value == (e.value > 0) - (e.value < 0),
                      "win-loss line \"" + Narrow(item) + Format("\" for an exact value of %d", e.value));
    }
    CloseDialog(results, IDCANCEL);

    // The best two, and the whole line of the best: the game's end with the
    // exact value as its result.
    results = RunAnalysisFromDialog(tavix, {true, 1, IDC_ANALYSIS_WEIGHTS_A, IDC_ANALYSIS_PERFECT, 2}, 300000);
    items = ResultItems(results);
    Check(items.size() == 2, "topN 2 lists " + Joined(items));
    const ResultRow best = ParseResultLine(items[0]);
    Check(best.value == StudyGameExact[0].value && ParseResultLine(items[1]).value == StudyGameExact[1].value,
          "the best two are " + Joined(items));
    CloseDialog(results, IDC_RESULTS_WHOLE_LINE);
    const std::wstring text = TakeResultBox(tavix, 60000);
    // The line is the best play to the end: on a full board Black's margin
    // is the exact value (Black is to move after 40 plies).
    Pause(500);
    const std::string final = ReadBoard(w);
    const int margin = CountDiscs(final, 'X') - CountDiscs(final, 'O');
    Check(text == ExpectedResultText(margin), "the result reads \"" + Narrow(text) + "\" on the board " + final);
    Check(CountDiscs(final, '-') > 0 || margin == best.value,
          Format("the whole line ends %d, its exact value is %d", margin, best.value));
    ExpectStatusMessage(w, IDS_CHOOSE_COMMAND);
    CloseTavix(tavix);
}
