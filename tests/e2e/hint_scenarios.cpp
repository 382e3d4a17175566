// Hints on the board, as a student sees them: the values drawn in the legal
// squares are the engine's at the depth the message box names, a click plays
// at once and the next position's values follow, stepping through the
// history never shows another position's values, switching them off leaves
// every pixel as it was, and a game with the computer shows none.
#include <map>
#include <optional>

#include "core/notation.h"
#include "core/position_text.h"
#include "driver.h"
#include "engine/hints.h"
#include "engine/jobs.h"
#include "res/resource.h"
#include "view/hint_layout.h"

namespace {

constexpr COLORREF BoardColour = RGB(192, 192, 96);
constexpr COLORREF MarkColour = RGB(255, 128, 255);
// A midgame position after 20 moves, Black to move, and one with 15 empty
// squares, White to move (exact from the start of its hints).
const char* const Move20 = "---O------OO------OOO----XXOXX----XOX---OOOOXX----OO------OO---- X";
const char* const Late15 = "-XOOXO--OXXXX---OXXXXX--OXOXXO-OOOOOOOO-OXOOOOO-OXXOOO--OOOOOO-- O";

void StoreHintSettings(DWORD on, DWORD depth, DWORD exact = 20, DWORD best = 0, DWORD withComputer = 0) {
    StoreTavixRegistryDword(L"Configuration", L"Hints", on);
    StoreTavixRegistryDword(L"Configuration", L"HintDepth", depth);
    StoreTavixRegistryDword(L"Configuration", L"HintExact", exact);
    StoreTavixRegistryDword(L"Configuration", L"HintBest", best);
    StoreTavixRegistryDword(L"Configuration", L"HintWithComputer", withComputer);
}

std::string ShiftJis(const std::wstring& text) {
    char bytes[256];
    const int n = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes, sizeof bytes, nullptr,
                                      nullptr);
    return std::string(bytes, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring FromShiftJis(const std::string& bytes) {
    wchar_t text[256];
    const int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), text, 256);
    return std::wstring(text, n > 0 ? static_cast<size_t>(n) : 0);
}

int Empties(const Position& pos) {
    int n = 0;
    for (Square sq = 11; sq <= 88; ++sq) n += IsPlayable(sq) && pos.board[sq] == Empty;
    return n;
}

Position PositionOf(const std::string& text) {
    Position pos;
    Check(ParsePositionText(text, pos), "bad position " + text);
    pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
    return pos;
}

// The driver's own valuation of a step: the analysis over every legal move.
HintReport ExpectedReport(const Position& pos, const HintStep& step) {
    static EngineState es;
    static ResultList results;
    static LineBuffer lines;
    AnalysisParams a;
    a.topN = 0;
    a.weightSet = 0;
    a.method = step.exact ? 0 : 1;
    a.depth = step.exact ? std::min(HintLeadDepth, Empties(pos)) : step.depth;
    Position copy = pos;
    copy.legalMoveCount = CountLegalMoves(copy, copy.sideToMove);
    RunAnalysis(es, copy, a, results, lines, {});
    HintReport r;
    r.position = pos;
    r.step = step;
    for (int i = 0; results.entries[i].line && i < MaxMoves; ++i)
        r.moves[r.count++] = {results.entries[i].line[0], results.entries[i].value};
    return r;
}

// The message line the depth stands in, as the panel lays its lines out.
RECT DepthLineRect(HWND window) {
    const int u = DisplayUnit(window);
    return {42 * u, ToolbarBand + (24 + 2 * HintDepthLine) * u, 64 * u, ToolbarBand + (26 + 2 * HintDepthLine) * u};
}

std::wstring DepthLineText(const HintStep& step) {
    return FromShiftJis(
        HintDepthText(step, ShiftJis(TavixString(IDS_HINT_DEPTH)), ShiftJis(TavixString(IDS_HINT_EXACT))));
}

// The step the depth line names, or none.
std::optional<HintStep> ShownStep(HWND window, const Position& pos, int deepest) {
    const RECT r = DepthLineRect(window);
    const HintStep exact = {Empties(pos), true};
    if (ShowsPanelText(window, r, DepthLineText(exact), RGB(0, 0, 0))) return exact;
    for (int d = 1; d <= deepest; ++d)
        if (ShowsPanelText(window, r, DepthLineText({d, false}), RGB(0, 0, 0))) return HintStep{d, false};
    return std::nullopt;
}

bool DepthLineBlank(HWND window) { return ShowsPanelText(window, DepthLineRect(window), L"", RGB(0, 0, 0)); }

RECT AreaRect(HWND window, Square sq) {
    const LayoutRect a = HintArea(DisplayUnit(window), sq);
    return {a.left, a.top, a.right, a.bottom};
}

bool ShowsMark(HWND window, const HintMark& mark, bool exact) {
    const HintFontSize f = HintFontFor(DisplayUnit(window), mark.text.size());
    TextLook look;
    look.height = f.height;
    look.width = f.width;
    look.underline = exact;
    look.ink = exact ? RGB(0, 0, 160) : RGB(0, 0, 0);
    look.background = mark.best ? MarkColour : BoardColour;
    look.clipped = true;
    return ShowsText(window, AreaRect(window, mark.square), FromShiftJis(mark.text), look);
}

// An empty square without a mark: the surface alone.
bool ShowsPlainSquare(HWND window, Square sq) {
    for (DWORD p : CaptureClient(window, AreaRect(window, sq)))
        if (p != 0xC0C060) return false;
    return true;
}

// Every value of the report in its square as the program draws it, and every
// other empty square plain; "" or what differs first.
std::string MarksMismatch(HWND window, const HintReport& r, int best) {
    HintMark marks[MaxMoves];
    const int n = HintMarks(r, best, marks);
    bool marked[100] = {};
    for (int i = 0; i < n; ++i) {
        marked[marks[i].square] = true;
        if (!ShowsMark(window, marks[i], r.step.exact))
            return Format("%s does not show %s%s", SquareCode(marks[i].square).c_str(), marks[i].text.c_str(),
                          marks[i].best ? " as a best value" : "");
    }
    for (Square sq = 11; sq <= 88; ++sq)
        if (IsPlayable(sq) && r.position.board[sq] == Empty && !marked[sq] && !ShowsPlainSquare(window, sq))
            return SquareCode(sq) + " is not plain";
    return {};
}

// Waits until the board shows the hints of pos at a step the depth line
// names (at least the depth atLeast, exact counting as deeper than every
// depth), read twice around the squares so that a deeper step arriving
// between does not pass; returns that step.
constexpr int ExactStep = 1000;
HintStep WaitForHints(HWND window, const Position& pos, int deepest, int best, const std::string& what,
                      int atLeast = 1, DWORD timeoutMs = 30000) {
    std::map<int, HintReport> expected;
    std::string mismatch = "no depth line";
    HintStep seen = {0, false};
    const bool ok = WaitUntil(
        [&] {
            const std::optional<HintStep> before = ShownStep(window, pos, deepest);
            if (!before) return false;
            const int key = before->exact ? ExactStep : before->depth;
            if (key < atLeast) return false;
            if (!expected.count(key)) expected[key] = ExpectedReport(pos, *before);
            mismatch = MarksMismatch(window, expected[key], best);
            const std::optional<HintStep> after = ShownStep(window, pos, deepest);
            seen = *before;
            return mismatch.empty() && after && after->depth == before->depth && after->exact == before->exact;
        },
        timeoutMs);
    if (!ok) Fail("the hints of " + what + ": " + mismatch);
    Note(Format("%s: hints at %s %d", what.c_str(), seen.exact ? "exact" : "depth", seen.depth));
    return seen;
}

// No value of any position on the board: no depth line, and every empty
// square that is not a legal move of pos plain.
std::string StrayMarks(HWND window, const Position& pos) {
    for (Square sq = 11; sq <= 88; ++sq)
        if (IsPlayable(sq) && pos.board[sq] == Empty && !CanPlay(pos, sq, ColourOfSide(pos.sideToMove)) &&
            !ShowsPlainSquare(window, sq))
            return SquareCode(sq) + " shows something";
    return {};
}

bool NoHints(HWND window, const Position& pos) {
    if (!DepthLineBlank(window)) return false;
    for (Square sq = 11; sq <= 88; ++sq)
        if (IsPlayable(sq) && pos.board[sq] == Empty && !ShowsPlainSquare(window, sq)) {
            // The computer's search mark may stand on an empty square: the
            // mark disc, never ink.
            for (DWORD p : CaptureClient(window, AreaRect(window, sq)))
                if (p == 0 || p == 0x0000A0) return false;
        }
    return true;
}

// A disc on the square: a quarter of its block in the disc's colour (a value
// drawn there is far thinner).
bool ShowsDisc(HWND window, Square sq, bool black) {
    const std::vector<DWORD> pixels = CaptureClient(window, AreaRect(window, sq));
    const DWORD face = black ? 0x000000 : 0xFFFFFF;
    size_t n = 0;
    for (DWORD p : pixels) n += p == face;
    return n * 4 >= pixels.size();
}

// The discs of pos where it has them (empty squares may carry values).
bool ShowsDiscsOf(HWND window, const Position& pos) {
    for (Square sq = 11; sq <= 88; ++sq)
        if (IsPlayable(sq) && pos.board[sq] != Empty && !ShowsDisc(window, sq, pos.board[sq] == Black)) return false;
    return true;
}

// The disc a click put down, as soon as it is there.
DWORD MillisecondsUntilDisc(HWND window, Square sq, bool black) {
    const ULONGLONG start = GetTickCount64();
    WaitFor([&] { return ShowsDisc(window, sq, black); }, 5000, "the disc of " + SquareCode(sq));
    return static_cast<DWORD>(GetTickCount64() - start);
}

void ClickAt(HWND window, Square sq) { ClickSquare(window, sq / 10, sq % 10); }

void SaveShot(const std::wstring& name, HWND window) {
    if (ScreenshotFolder().empty()) return;
    Check(SaveScreenshot(ScreenshotFolder() + L"\\" + name, window), "cannot save the screenshot");
}

// CPU time the program uses (kernel and user) over the next milliseconds.
DWORD CpuMilliseconds(const Program& program, DWORD milliseconds) {
    auto used = [&] {
        FILETIME created, exited, kernel, user;
        Check(GetProcessTimes(program.process.hProcess, &created, &exited, &kernel, &user) != 0,
              "cannot read the program's CPU time");
        auto value = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
        return value(kernel) + value(user);
    };
    const ULONGLONG before = used();
    Pause(milliseconds);
    return static_cast<DWORD>((used() - before) / 10000);
}

// Under Wine the program can find the clipboard still empty right after the
// driver wrote it: the refusal box is answered and the paste given again.
void PastePosition(const Program& tavix, const char* text) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        WriteClipboardText(Widen(text));
        PostCommand(tavix.window, IDM_RECORD_PASTE);
        HWND box = WaitForDialog(tavix.process.dwProcessId, 1500);
        if (!box) return;
        Note("the paste was refused (\"" + Narrow(MessageBoxText(box)) + "\"); pasted again");
        Answer(box, IDOK);
    }
    Fail(std::string("the program refused the pasted position ") + text + " three times");
}

}  // namespace

// Two people with hints on: the values of the four first moves are the
// engine's at the depth the message box names; a click on a hinted square
// plays at once, also while the job runs, and the next position's values
// follow; the history keys never leave another position's values on the
// board.
SCENARIO(hints_follow_the_board) {
    StoreHintSettings(1, 12);
    Program tavix = StartForTwoPeople();
    HWND w = tavix.window;
    ScriptedGame game;
    Position pos = game.pos;
    const HintStep first = WaitForHints(w, pos, 12, 0, "the start");
    Check(first.depth >= 1 && !first.exact, "the start's hints are not a midgame depth");
    for (const char* name : {"d3", "c4", "f5", "e6"})
        Check(!ShowsPlainSquare(w, ParseSquare(name)), std::string(name) + " shows no value");

    PostCommand(w, IDM_GAME_START);
    WaitForHints(w, pos, 12, 0, "the start, a person to move");
    const char* const moves[] = {"f5", "d6", "c3"};
    std::vector<Position> positions = {pos};
    for (const char* m : moves) {
        const Square sq = ParseSquare(m);
        const bool black = pos.sideToMove == 0;
        Check(ProbeAnswer(w) <= 100, "the window did not answer at once during hints");
        ClickAt(w, sq);
        const DWORD took = MillisecondsUntilDisc(w, sq, black);
        Note(Format("%s down %lu ms after the click", m, took));
        // The time includes the input's way through Wine and the driver's
        // polling; a click that waited for a step of the search would take
        // seconds.
        Check(took <= 250, Format("%s was put down %lu ms after the click", m, took));
        game.Play(sq);
        pos = game.pos;
        pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
        positions.push_back(pos);
        // Hints of the new position, never the old one's on its squares.
        WaitFor([&] { return StrayMarks(w, pos).empty(); }, 3000, std::string("no stray marks after ") + m);
        WaitForHints(w, pos, 12, 0, std::string("the position after ") + m);
    }

    // Back twice and forward once: at every look only the position on the
    // board has values, and its own come.
    const int keys[] = {IDM_RECORD_BACK, IDM_RECORD_BACK, IDM_RECORD_FORWARD};
    int at = 3;
    for (int key : keys) {
        at += key == IDM_RECORD_BACK ? -1 : 1;
        const Position& now = positions[static_cast<size_t>(at)];
        PostCommand(w, key);
        const ULONGLONG start = GetTickCount64();
        while (GetTickCount64() - start < 1500) {
            // Until the board has changed, the squares of the last position
            // may still be plain or marked as its own; afterwards never. The
            // discs are looked at first: a look at the marks taken before the
            // board changed would blame the old position's own values.
            if (ShowsDiscsOf(w, now)) {
                const std::string stray = StrayMarks(w, now);
                if (!stray.empty()) Fail("after a history key: " + stray);
            }
            Pause(20);
        }
        WaitForHints(w, now, 12, 0, Format("ply %d of the history", at));
    }
    CloseTavix(tavix);
}

// Off (the default) leaves every pixel as it was; the switch is a check item
// with Ctrl+H, stored at once; the settings dialog stores its values.
SCENARIO(hints_off_leaves_every_pixel) {
    Program tavix = StartForTwoPeople();
    HWND w = tavix.window;
    DWORD stored = 7;
    Check(ReadTavixRegistryDword(L"Configuration", L"Hints", stored) && stored == 0, "Hints is not stored as 0");
    const SIZE client = ClientSize(w);
    const std::vector<DWORD> before = CaptureClientPixels(w, 0, ToolbarBand, client.cx, client.cy);

    SendKey('H', true);
    const Position start = ScriptedGame().pos;
    WaitForHints(w, start, 16, 0, "the start after Ctrl+H");
    Check(ReadTavixRegistryDword(L"Configuration", L"Hints", stored) && stored == 1, "Ctrl+H did not store Hints 1");
    PostCommand(w, IDM_RESEARCH_HINTS);
    WaitFor([&] { return CaptureClientPixels(w, 0, ToolbarBand, client.cx, client.cy) == before; }, 3000,
            "the board and panel as before hints");
    Pause(500);
    Check(CaptureClientPixels(w, 0, ToolbarBand, client.cx, client.cy) == before, "hints came back while off");
    Check(ReadTavixRegistryDword(L"Configuration", L"Hints", stored) && stored == 0, "the switch did not store 0");

    const std::vector<std::wstring> menu = MenuResourceTexts(IDR_MAIN_MENU);
    bool item = false, settings = false;
    for (const std::wstring& t : menu) {
        item = item || t.find(L"1404\t候補手の評価値表示(&H)\tCtrl+H") != std::wstring::npos;
        settings = settings || t.find(L"1405\t候補手の設定(&O)...") != std::wstring::npos;
    }
    Check(item && settings, "the research menu lacks the hint items");

    PostCommand(w, IDM_RESEARCH_HINT_SETTINGS);
    HWND dialog = WaitForDialog(tavix.process.dwProcessId);
    Check(dialog && WindowText(dialog) == L"候補手の設定", "no hint settings dialog");
    SendMessageW(FindDialogItem(dialog, IDC_HINT_DEPTH), CB_SETCURSEL, 5, 0);
    SendMessageW(FindDialogItem(dialog, IDC_HINT_BEST), CB_SETCURSEL, 3, 0);
    PressButton(dialog, IDOK);
    WaitFor([&] { return ReadTavixRegistryDword(L"Configuration", L"HintDepth", stored) && stored == 6; }, 3000,
            "HintDepth 6 stored by OK");
    Check(ReadTavixRegistryDword(L"Configuration", L"HintBest", stored) && stored == 3, "HintBest 3 not stored");
    // Hints are off: once the dialog's place is painted again, all is as before.
    WaitFor([&] { return CaptureClientPixels(w, 0, ToolbarBand, client.cx, client.cy) == before; }, 3000,
            "the board and panel as before the dialog");
    CloseTavix(tavix);
}

// A person against level 5 with the default setting: hints while idle before
// the game, none on either side's turn once it runs, and the computer
// answers every move.
SCENARIO(hints_stay_off_in_a_game_with_the_computer) {
    StoreGameSettings(Person, 5);
    StoreHintSettings(1, 16);
    Program tavix = StartTavix();
    HWND w = tavix.window;
    Activate(w);
    ScriptedGame game;
    WaitForHints(w, game.pos, 16, 0, "the start, idle");
    PostCommand(w, IDM_GAME_START);
    WaitFor([&] { return NoHints(w, game.pos); }, 3000, "no hints once the game runs");
    for (int turn = 0; turn < 4; ++turn) {
        // The person's move: the first legal square.
        Square move = 0;
        for (Square sq = 11; sq <= 88 && !move; ++sq)
            if (IsPlayable(sq) && game.pos.board[sq] == Empty && CanPlay(game.pos, sq, ColourOfSide(game.pos.sideToMove)))
                move = sq;
        ClickAt(w, move);
        game.Play(move);
        // The computer's answer: one of its legal moves, with no hint drawn
        // while it thinks or after.
        std::string board;
        Square answer = 0;
        WaitFor(
            [&] {
                Check(NoHints(w, game.pos) || ReadBoard(w) != game.Board(), "hints during the game");
                board = ReadBoard(w);
                for (Square sq = 11; sq <= 88; ++sq) {
                    if (!IsPlayable(sq) || game.pos.board[sq] != Empty ||
                        !CanPlay(game.pos, sq, ColourOfSide(game.pos.sideToMove)))
                        continue;
                    ScriptedGame after = game;
                    after.Play(sq);
                    if (after.Board() == board) answer = sq;
                }
                return answer != 0;
            },
            30000, "the computer's answer");
        game.Play(answer);
        Note("the computer answered " + SquareCode(answer));
        Pause(300);
        Check(NoHints(w, game.pos), "hints on the person's turn against the computer");
    }
    CloseTavix(tavix);
}

// Pictures of hints at a midgame position and of exact values, at the
// smallest display size and the largest; the values are read back there too.
SCENARIO(hints_pictures) {
    for (int size : {4, 0}) {
        // Without a stored size the program takes the largest.
        ClearTavixRegistryValues(L"Configuration");
        StoreGameSettings(Person, Person);
        StoreHintSettings(1, 8);
        if (size) StoreTavixRegistryDword(L"Configuration", L"DisplaySize", static_cast<DWORD>(size));
        Program tavix = StartTavix();
        HWND w = tavix.window;
        Activate(w);
        WaitFor([&] { return DisplayUnit(w) != 0; }, 5000, "the window at a layout size");
        const int u = DisplayUnit(w);
        PastePosition(tavix, Move20);
        WaitForHints(w, PositionOf(Move20), 8, 0, Format("the move-20 position at size %d", u), 8);
        SaveShot(Widen(Format("hints-midgame-size%d.bmp", u)), w);
        PastePosition(tavix, Late15);
        WaitForHints(w, PositionOf(Late15), 8, 0, Format("15 empties at size %d", u), ExactStep);
        SaveShot(Widen(Format("hints-exact-size%d.bmp", u)), w);
        // The job has ended with the exact values: the program is quiet.
        const DWORD busy = CpuMilliseconds(tavix, 2000);
        Note(Format("CPU after the exact values: %lu ms in 2 s", busy));
        Check(busy <= 200, Format("the program used %lu ms of CPU in 2 s after its hints were done", busy));
        CloseTavix(tavix);
    }
}
