// End-to-end scenarios of playing games: people's clicks and passes, the
// computer's turns on the search thread with stop, resume and pause, the
// result box, and the history navigation.

#include <algorithm>
#include <string>
#include <vector>

#include "core/board.h"
#include "res/resource.h"
#include "tests/e2e/driver.h"
#include "view/layout.h"

namespace {

// Boxes 1 and 2 of the panel: move number, legal moves and side to move,
// and per side the player, last move, discs and clock.
std::vector<DWORD> CaptureSideFields(HWND window) {
    std::vector<DWORD> a = CaptureClient(window, PanelBoxInsideRect(DisplayUnit(window), 1));
    const std::vector<DWORD> b = CaptureClient(window, PanelBoxInsideRect(DisplayUnit(window), 2));
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

COLORREF SquareCentrePixel(HWND window, Square sq) {
    const POINT p = SquareCentre(window, sq / 10, sq % 10);
    return ClientPixel(window, p.x, p.y);
}

void MoveCursorTo(HWND window, POINT p) {
    ClientToScreen(window, &p);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((p.x * 65535LL + width / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((p.y * 65535LL + height / 2) / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void MouseButton(bool down) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    Pause(50);
}

// Whether the toolbar button of a command is enabled.
bool ButtonEnabled(HWND window, int id) {
    HWND toolbar = FindWindowExW(window, nullptr, L"ToolbarWindow32", nullptr);
    Check(toolbar != nullptr, "no toolbar");
    return SendMessageW(toolbar, WM_USER + 9, static_cast<WPARAM>(id), 0) != 0;  // TB_ISBUTTONENABLED
}

}  // namespace

// Two people play a legal game by clicks to its end: a click where no move
// is possible plays nothing and marks the legal squares while the button is
// held, Black passes with a click, and the result box names the winner.
SCENARIO(two_people_play_a_game_with_a_pass) {
    StoreGameSettings(Person, Person);
    Program tavix = StartTavix();
    Activate(tavix.window);
    ScriptedGame game;
    WaitForBoard(tavix.window, game.Board(), 5000, "the initial board");
    PostCommand(tavix.window, IDM_GAME_START);
    Pause(300);

    // a1 is empty but no move: the press marks d3, c4, f5 and e6 until release.
    const COLORREF surface = SquareCentrePixel(tavix.window, 11);
    MoveCursorTo(tavix.window, SquareCentre(tavix.window, 1, 1));
    Pause(50);
    MouseButton(true);
    Pause(300);
    for (Square sq : {34, 43, 56, 65})
        Check(SquareCentrePixel(tavix.window, sq) != surface, Format("legal square %d is not marked", sq));
    for (Square sq : {11, 33, 66, 88})
        Check(SquareCentrePixel(tavix.window, sq) == surface, Format("square %d is marked", sq));
    MouseButton(false);
    Pause(300);
    for (Square sq : {34, 43, 56, 65})
        Check(SquareCentrePixel(tavix.window, sq) == surface, Format("square %d stays marked", sq));
    WaitForBoard(tavix.window, game.Board(), 1000, "unchanged after the refused click");

    for (const char* ply : PassGame) {
        const Square sq = ParseSquare(ply);
        if (sq > 0) {
            ClickSquare(tavix.window, sq / 10, sq % 10);
        } else {
            ClickSquare(tavix.window, 8, 8);  // any click passes
        }
        game.Play(sq);
        if (game.pos.legalMoveCount == -1) break;  // the result box may cover the board: read it after
        WaitForBoard(tavix.window, game.Board(), 5000, std::string("the one after ") + ply);
        Pause(200);  // the last flip's pause ends the animation; clicks before the next turn are ignored
    }
    Check(game.pos.legalMoveCount == -1, "the scripted game does not end");
    const std::wstring text = TakeResultBox(tavix, 5000);
    Check(text == L"白の１７石勝ちです。", "the result reads \"" + Narrow(text) + "\"");
    WaitForBoard(tavix.window, game.Board(), 3000, "the final one");
    // Starting a finished game announces its result at once.
    PostCommand(tavix.window, IDM_GAME_START);
    const std::wstring again = TakeResultBox(tavix, 5000);
    Check(again == text, "starting the finished game announces \"" + Narrow(again) + "\"");
    PostMessageW(tavix.window, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}

// With the automatic move on, a person's only move and a pass are made
// without a click, while a choice still waits for one; the disc sound is on
// and changes nothing in the game.
SCENARIO(automatic_move_and_pass_with_sound) {
    StoreGameSettings(Person, Person);
    StoreTavixRegistryDword(L"Configuration", L"AutoMove", 1);
    StoreTavixRegistryDword(L"Configuration", L"EffectSound", 1);
    Program tavix = StartTavix();
    Activate(tavix.window);
    ScriptedGame game;
    WaitForBoard(tavix.window, game.Board(), 5000, "the initial board");
    PostCommand(tavix.window, IDM_GAME_START);
    Pause(300);
    int automatic = 0;
    for (const char* ply : PassGame) {
        const Square sq = ParseSquare(ply);
        if (game.pos.legalMoveCount <= 1) {
            ++automatic;  // no click: the program moves (or passes) by itself
        } else {
            ClickSquare(tavix.window, sq / 10, sq % 10);
        }
        game.Play(sq);
        // A board followed at once by an automatic ply may be gone before it can be read.
        if (game.pos.legalMoveCount <= 1) continue;
        WaitForBoard(tavix.window, game.Board(), 5000, std::string("the one after ") + ply);
        Pause(200);
    }
    Note(Format("%d plies made by the automatic move", automatic));
    Check(automatic >= 1, "the scripted game has no forced ply");
    const std::wstring text = TakeResultBox(tavix, 5000);
    Check(text == L"白の１７石勝ちです。", "the result reads \"" + Narrow(text) + "\"");
    WaitForBoard(tavix.window, game.Board(), 3000, "the final one");
    PostMessageW(tavix.window, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}

// The computer plays itself at level 1 to the result box; the board on the
// screen then holds the disc difference that the box states.
SCENARIO(level1_plays_level1_to_the_end) {
    StoreGameSettings(1, 1);
    Program tavix = StartTavix();
    PostCommand(tavix.window, IDM_GAME_START);
    const std::wstring text = TakeResultBox(tavix, 150000);
    Pause(500);  // the board repaints where the box stood
    const std::string board = ReadBoard(tavix.window);
    Note("final board " + board);
    Check(board.find('?') == std::string::npos, "a square reads as neither disc nor surface");
    const int black = CountDiscs(board, 'X'), white = CountDiscs(board, 'O');
    Note(Format("black %d, white %d", black, white));
    Check(black + white >= 5, "too few discs for a finished game");
    const std::wstring expected = ExpectedResultText(black - white);
    Check(text == expected, "the result reads \"" + Narrow(text) + "\", the board says \"" + Narrow(expected) + "\"");
    PostMessageW(tavix.window, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}

// A person against level 9: while the computer thinks the window answers at
// once and repaints the board before the search; the thinking display shows
// a search mark and a best line; F3 stops the thinking (the board before it,
// message 3006) and F2 starts it again, twenty times in a row.
SCENARIO(level9_thinks_without_freezing_and_stops) {
    RemoveShippedBook();
    StoreGameSettings(Person, 9, 10);
    Program tavix = StartTavix();
    HWND w = tavix.window;
    Activate(w);
    ScriptedGame game;
    WaitForBoard(w, game.Board(), 5000, "the initial board");

    // Interrupting a person's turn shows 3006: the picture to expect later.
    SendKey(VK_F2);
    Pause(300);
    SendKey(VK_F3);
    Pause(300);
    const std::vector<DWORD> interrupted = CaptureClient(w, MessageBoxArea(w));

    SendKey(VK_F2);
    Pause(300);
    ClickSquare(w, 3, 4);  // d3
    game.Play(34);
    WaitForBoard(w, game.Board(), 5000, "the one after d3");
    const std::string before = game.Board();
    Pause(300);
    const std::vector<DWORD> thinking = CaptureClient(w, MessageBoxArea(w));

    DWORD slowest = 0;
    bool markSeen = false, lineSeen = false;
    const COLORREF surface = SquareCentrePixel(w, 11);
    const ULONGLONG end = GetTickCount64() + 9000;
    int repaints = 0;
    while (GetTickCount64() < end && !(markSeen && lineSeen && repaints >= 3)) {
        slowest = std::max(slowest, ProbeAnswer(w));
        for (Square sq = 11; sq <= 88 && !markSeen; ++sq)
            if (IsPlayable(sq) && game.pos.board[sq] == Empty && SquareCentrePixel(w, sq) != surface) markSeen = true;
        if (!lineSeen && CaptureClient(w, MessageBoxArea(w)) != thinking) lineSeen = true;
        if (repaints < 3) {
            InvalidateRect(w, nullptr, TRUE);
            Pause(150);
            slowest = std::max(slowest, ProbeAnswer(w));
            // A repaint draws the board from before the search, not the one it works on.
            const std::string seen = ReadBoard(w);
            Check(SameDiscsBesideMark(seen, before), "a repaint while thinking shows " + seen + " instead of " + before);
            ++repaints;
        }
        Pause(50);
    }
    Note(Format("slowest answer while thinking %lu ms", slowest));
    Check(markSeen, "no search mark appeared while the computer thought");
    Check(lineSeen, "no best line appeared in the message lines while the computer thought");

    for (int round = 0; round < 20; ++round) {
        if (round > 0) {
            SendKey(VK_F2);
            Pause(100 + 37 * (round % 7));
            slowest = std::max(slowest, ProbeAnswer(w));
        }
        SendKey(VK_F3);
        slowest = std::max(slowest, ProbeAnswer(w));
        WaitForBoard(w, before, 3000, Format("the one before the thinking (stop %d)", round + 1));
        WaitFor([&] { return CaptureClient(w, MessageBoxArea(w)) == interrupted; }, 3000,
                Format("message 3006 after stop %d", round + 1));
    }
    Note(Format("20 stops and resumes; slowest answer %lu ms", slowest));

    // Resumed once more, the computer answers d3 within its ten seconds.
    SendKey(VK_F2);
    Check(WaitUntil([&] { return !SameDiscsBesideMark(ReadBoard(w), before); }, 30000),
          "the computer did not move after the last resume");
    PostMessageW(w, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}

// The about box opened while the computer thinks holds the search and the
// clock; closed, the computer finishes its move.
SCENARIO(about_box_pauses_the_thinking) {
    RemoveShippedBook();
    StoreGameSettings(5, Person, 3);
    Program tavix = StartTavix();
    HWND w = tavix.window;
    ScriptedGame game;
    WaitForBoard(w, game.Board(), 5000, "the initial board");
    PostCommand(w, IDM_GAME_START);
    Pause(200);
    const std::vector<DWORD> atStart = CaptureSideFields(w);
    WaitFor([&] { return CaptureSideFields(w) != atStart; }, 2500, "the thinking side's clock to run");
    Check(SameDiscsBesideMark(ReadBoard(w), game.Board()), "the computer moved before the about box opened");

    PostCommand(w, IDM_HELP_ABOUT);
    HWND about = WaitForDialog(tavix.process.dwProcessId, 5000);
    Check(about != nullptr, "the about box did not open");
    // Over the message lines, so that it hides neither the board nor the clocks.
    POINT corner = {MessageBoxArea(w).left + 4, MessageBoxArea(w).top + 4};
    ClientToScreen(w, &corner);
    SetWindowPos(about, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pause(300);
    const std::vector<DWORD> held = CaptureSideFields(w);
    Pause(5000);  // longer than the three seconds of thinking time
    Check(CaptureSideFields(w) == held, "the clock ran while the about box was open");
    const std::string whileOpen = ReadBoard(w);
    Check(SameDiscsBesideMark(whileOpen, game.Board()), "the computer moved while the about box was open: " + whileOpen);
    PressButton(about, IDOK);
    WaitFor([&] { return !IsWindow(about); }, 5000, "the about box to close");
    WaitFor([&] { return CountDiscs(ReadBoard(w), '-') == 59 && ReadBoard(w).find('?') == std::string::npos; },
            15000, "the computer's first move after the about box closed");
    PostMessageW(w, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}

// Home, PgUp, PgDn and End show exactly what stood at each ply (board,
// move number, side to move, last moves, discs and clocks); a move after
// stepping back drops the later plies, and PgDn and End are then unavailable.
SCENARIO(history_navigation_walks_the_plies) {
    Program tavix = StartForTwoPeople();
    HWND w = tavix.window;
    ScriptedGame game;
    Check(!ButtonEnabled(w, IDM_RECORD_TO_START) && !ButtonEnabled(w, IDM_RECORD_BACK),
          "Home and PgUp buttons are enabled at the start");
    SendKey(VK_F2);
    Pause(300);

    constexpr int Plies = 6;
    std::vector<std::string> boards = {game.Board()};
    std::vector<std::vector<DWORD>> panels = {CaptureSideFields(w)};
    for (int i = 0; i < Plies; ++i) {
        // Every other person thinks past a clock tick, so the clocks differ.
        if (i % 2 == 1) Pause(1300);
        const Square sq = ParseSquare(PassGame[i]);
        ClickSquare(w, sq / 10, sq % 10);
        game.Play(sq);
        WaitForBoard(w, game.Board(), 5000, std::string("the one after ") + PassGame[i]);
        Pause(200);
        boards.push_back(game.Board());
        panels.push_back(CaptureSideFields(w));
    }
    SendKey(VK_F3);
    Pause(300);

    auto expectPly = [&](int ply, const char* after) {
        WaitForBoard(w, boards[ply], 3000, Format("the one of ply %d after %s", ply, after));
        WaitFor([&] { return CaptureSideFields(w) == panels[ply]; }, 3000,
                Format("the panel of ply %d after %s", ply, after));
    };
    SendKey(VK_HOME);
    expectPly(0, "Home");
    Check(!ButtonEnabled(w, IDM_RECORD_BACK) && ButtonEnabled(w, IDM_RECORD_TO_END),
          "after Home the buttons are not enabled by direction");
    SendKey(VK_PRIOR);  // unavailable at the start: nothing happens
    expectPly(0, "PgUp at the start");
    for (int ply = 1; ply <= Plies; ++ply) {
        SendKey(VK_NEXT);
        expectPly(ply, "PgDn");
    }
    SendKey(VK_PRIOR);
    SendKey(VK_PRIOR);
    expectPly(Plies - 2, "two PgUp");
    SendKey(VK_END);
    expectPly(Plies, "End");
    SendKey(VK_HOME);
    expectPly(0, "Home again");
    SendKey(VK_END);
    expectPly(Plies, "End again");

    // Back two plies and play another move there: the later plies are gone.
    SendKey(VK_PRIOR);
    SendKey(VK_PRIOR);
    expectPly(Plies - 2, "PgUp twice");
    ScriptedGame replay;
    for (int i = 0; i < Plies - 2; ++i) replay.Play(ParseSquare(PassGame[i]));
    Square other = 0;
    for (Square sq = 11; sq <= 88 && !other; ++sq)
        if (IsPlayable(sq) && sq != ParseSquare(PassGame[Plies - 2]) && replay.pos.board[sq] == Empty &&
            CanPlay(replay.pos, sq, ColourOfSide(replay.pos.sideToMove)))
            other = sq;
    Check(other != 0, "no other legal move to play");
    SendKey(VK_F2);
    Pause(300);
    ClickSquare(w, other / 10, other % 10);
    replay.Play(other);
    WaitForBoard(w, replay.Board(), 5000, "the one after the new move");
    SendKey(VK_F3);
    Pause(300);
    Check(!ButtonEnabled(w, IDM_RECORD_FORWARD) && !ButtonEnabled(w, IDM_RECORD_TO_END),
          "PgDn and End buttons are enabled after a new move");
    Check(ButtonEnabled(w, IDM_RECORD_BACK), "the PgUp button is disabled after a new move");
    SendKey(VK_END);
    SendKey(VK_NEXT);
    Pause(300);
    Check(ReadBoard(w) == replay.Board(), "End or PgDn changed the board after the later plies were dropped");
    SendKey(VK_PRIOR);
    expectPly(Plies - 2, "PgUp over the new move");
    PostMessageW(w, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}

// The speed of level 9 as a player meets it: level 9 (Black) against level 1
// over one whole game, without minimum thinking time, each of Black's moves
// timed from the end of White's last drawing to Black's placed disc on the
// screen. Prints the times; asserts only that the game ends.
SCENARIO(level9_move_times_against_level1) {
    RemoveShippedBook();
    StoreGameSettings(9, 1);
    Program tavix = StartTavix();
    HWND w = tavix.window;
    std::string last = ReadBoard(w);
    ULONGLONG lastChange = GetTickCount64();
    PostCommand(w, IDM_GAME_START);
    lastChange = GetTickCount64();
    std::vector<double> times;
    std::string line;
    HWND box = nullptr;
    const ULONGLONG end = GetTickCount64() + 900000;
    while (!box && GetTickCount64() < end) {
        const std::string now = ReadBoard(w);
        const ULONGLONG t = GetTickCount64();
        if (now != last && now.find('?') == std::string::npos) {
            const int placed = CountDiscs(last, '-') - CountDiscs(now, '-');
            if (placed == 1) {
                // A new ply: whose disc appeared?
                for (int i = 0; i < 64; ++i)
                    if (last[i] == '-' && now[i] == 'X') {
                        times.push_back((t - lastChange) / 1000.0);
                        line += Format(" %.2f", times.back());
                        Note(Format("move %d of level 9 (%d empty before): %.2f s", static_cast<int>(times.size()),
                                    CountDiscs(last, '-'), times.back()));
                    }
            }
            if (placed >= 0) {
                last = now;
                lastChange = t;
            }
        }
        for (HWND d : FindProcessWindows(tavix.process.dwProcessId, L"#32770"))
            if (IsWindowVisible(d)) box = d;
        Pause(10);
    }
    Check(box != nullptr, "the game did not end in time");
    double total = 0, longest = 0;
    for (double s : times) {
        total += s;
        longest = std::max(longest, s);
    }
    Note(Format("level 9: %d moves, %.1f s in all, %.2f s on average, longest %.2f s; times:%s",
                static_cast<int>(times.size()), total, times.empty() ? 0.0 : total / times.size(), longest,
                line.c_str()));
    const std::wstring text = TakeResultBox(tavix, 2000);
    Note("result: " + Narrow(text));
    PostMessageW(w, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}
