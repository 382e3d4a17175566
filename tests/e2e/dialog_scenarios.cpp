// End-to-end scenarios of the players dialog and board set-up: what the
// dialog and the set-up clicks show on the board's pixels and the panel, and
// what reaches the registry.

#include "tests/e2e/driver.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/board.h"
#include "res/resource.h"
#include "view/layout.h"

// Help page recording, from tests/e2e/settings_scenarios.cpp.
std::wstring RecordOpenedPages();
void ExpectOpenedPage(const std::wstring& record, const std::string& page);

namespace {

const std::vector<std::wstring> PlayerNames = {
    L"  人 間  ",  L"ｺﾝﾋﾟｭｰﾀ 0", L"ｺﾝﾋﾟｭｰﾀ 1", L"ｺﾝﾋﾟｭｰﾀ 2", L"ｺﾝﾋﾟｭｰﾀ 3", L"ｺﾝﾋﾟｭｰﾀ 4",
    L"ｺﾝﾋﾟｭｰﾀ 5", L"ｺﾝﾋﾟｭｰﾀ 6", L"ｺﾝﾋﾟｭｰﾀ 7", L"ｺﾝﾋﾟｭｰﾀ 8", L"ｺﾝﾋﾟｭｰﾀ 9",
};

// Quick play between the given kinds: the fastest turning, no sound.
void StorePlayersAndQuickPlay(int black, int white, DWORD thoughtTime = 0) {
    StoreTavixRegistryDword(L"Configuration", L"ThoughtTime", thoughtTime);
    StoreTavixRegistryDword(L"Configuration", L"TurnSpeed", 100);
    StoreTavixRegistryDword(L"Configuration", L"EffectSound", 0);
    StoreTavixRegistryDword(L"Configuration", L"ThoughtDisplay", 0);
    StoreTavixRegistryDword(L"Player", L"Black", static_cast<DWORD>(black));
    StoreTavixRegistryDword(L"Player", L"White", static_cast<DWORD>(white));
}

void ExpectStoredPlayers(int black, int white, const std::string& when) {
    DWORD b = 0, w = 0;
    Check(ReadTavixRegistryDword(L"Player", L"Black", b) && ReadTavixRegistryDword(L"Player", L"White", w),
          "the players are not stored as REG_DWORD " + when);
    Check(static_cast<int>(b) == black && static_cast<int>(w) == white,
          Format("the stored players are %d and %d %s, not %d and %d", static_cast<int>(b), static_cast<int>(w),
                 when.c_str(), black, white));
}

void WaitForBoard(HWND window, const Position& pos, const std::string& what) {
    const std::string wanted = BoardText(pos);
    std::string seen;
    if (!WaitUntil([&] { return (seen = ReadBoard(window)) == wanted; }, 5000))
        Fail("the board " + what + " reads " + seen + ", not " + wanted);
}

Position InitialPosition() {
    Position pos;
    InitBoard(pos);
    pos.sideToMove = 0;
    int black = 0, white = 0;
    RecountPosition(pos, black, white);
    return pos;
}

void Play(Position& pos, Square sq) {
    FlipRecord flips;
    Check(PlayMove(pos, sq, ColourOfSide(pos.sideToMove), flips) > 0, Format("%d is not a legal move", sq));
    pos.sideToMove ^= 1;
    int black = 0, white = 0;
    RecountPosition(pos, black, white);
}

// The panel values of a position with the given players, last moves and
// clocks.
PanelValues ValuesOf(const Position& pos, const int (&kind)[2], const int (&move)[2] = {-1, -1},
                     const int (&clock)[2] = {0, 0}) {
    Position counted = pos;
    int discs[2] = {};
    RecountPosition(counted, discs[0], discs[1]);
    PanelValues v = {};
    v.moveNumber = counted.moveNumber;
    v.sideToMove = pos.sideToMove;
    v.legalMoveCount = counted.legalMoveCount;
    for (int side = 0; side < 2; ++side) {
        v.kind[side] = kind[side];
        v.move[side] = move[side];
        v.discs[side] = discs[side];
        v.clock[side] = clock[side];
    }
    return v;
}

ExpectedPanel PanelWith(const PanelValues& values, int message) {
    ExpectedPanel panel = {values, {}};
    ClearMessageLines(panel.lines);
    SetExpectedMessage(panel, message);
    return panel;
}

constexpr unsigned BothColumns = PanelBlackColumn | PanelWhiteColumn;
constexpr unsigned PlayerFields = PanelPlayers | BothColumns;

void CloseAndExpectExit(Program& tavix) {
    PostMessageW(tavix.window, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}

int Selection(HWND dialog, int list) {
    return static_cast<int>(SendMessageW(GetDlgItem(dialog, list), LB_GETCURSEL, 0, 0));
}

void ExpectSelections(HWND dialog, int black, int white, const std::string& when) {
    WaitFor([&] { return Selection(dialog, IDC_PLAYERS_BLACK) == black && Selection(dialog, IDC_PLAYERS_WHITE) == white; },
            3000,
            Format("the lists to select %d and %d %s (they select %d and %d)", black, white, when.c_str(),
                   Selection(dialog, IDC_PLAYERS_BLACK), Selection(dialog, IDC_PLAYERS_WHITE)));
}

// Moves a dialog over panel boxes 1 and 2, where it hides neither the board
// nor the message lines.
void MoveOverSideFields(HWND window, HWND dialog) {
    const LayoutRect box = PanelBoxRect(DisplayUnit(window), 1);
    POINT corner = {box.left, box.top};
    ClientToScreen(window, &corner);
    SetWindowPos(dialog, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pause(300);
}

HWND OpenPlayersDialog(const Program& tavix) {
    PostCommand(tavix.window, IDM_GAME_PLAYERS);
    HWND dialog = WaitForDialog(tavix.process.dwProcessId);
    Check(dialog != nullptr && WindowText(dialog) == L"対局者設定", "the players dialog did not open");
    MoveOverSideFields(tavix.window, dialog);
    return dialog;
}

void CloseDialogWith(HWND dialog, int button) {
    PressButton(dialog, button);
    WaitFor([&] { return !IsWindow(dialog); }, 5000, Format("the dialog to close with button %d", button));
}

// The dialog's controls as the template gives them: every text, and the
// eleven names in both lists.
void ExpectPlayersTemplate(HWND dialog) {
    std::vector<std::wstring> texts;
    for (const ControlText& c : DialogControls(dialog)) texts.push_back(c.text);
    const std::pair<int, const wchar_t*> buttons[] = {
        {IDC_PLAYERS_SWAP, L"黒白交代(&C)"}, {IDOK, L"OK"}, {IDCANCEL, L"ｷｬﾝｾﾙ"},
        {IDC_PLAYERS_SAVE, L"保存(&S)"},     {IDC_PLAYERS_HELP, L"ﾍﾙﾌﾟ(&H)"},
    };
    for (const auto& [id, text] : buttons)
        Check(WindowText(GetDlgItem(dialog, id)) == text, Format("button %d reads \"%s\"", id, Narrow(WindowText(GetDlgItem(dialog, id))).c_str()));
    for (const wchar_t* text : {L"対局者", L"黒(&B):", L"白(&W):"})
        Check(std::find(texts.begin(), texts.end(), text) != texts.end(), "no control reads " + Narrow(text));
    Check(SendMessageW(dialog, DM_GETDEFID, 0, 0) == MAKELRESULT(IDOK, DC_HASDEFID), "OK is not the default button");
    for (int list : {IDC_PLAYERS_BLACK, IDC_PLAYERS_WHITE}) {
        const std::vector<std::wstring> items = ListBoxItems(GetDlgItem(dialog, list));
        Check(items == PlayerNames, Format("list %d does not hold the eleven names in order (%d items)", list,
                                           static_cast<int>(items.size())));
    }
}

}  // namespace

// The players dialog: chosen while level 9 thinks it stops the thinking and
// brings back the board first; its lists show the current kinds; 黒白交代
// exchanges only the selections; ｷｬﾝｾﾙ changes nothing, OK and a double click
// change the players of this game only, 保存 stores them; ﾍﾙﾌﾟ and F1 open
// its page with the dialog left open.
SCENARIO(players_dialog) {
    RemoveShippedBook();  // level 9 must think after d3, not answer from the book
    StorePlayersAndQuickPlay(Person, 9, 10);
    Program tavix = StartTavix();
    HWND w = tavix.window;
    Activate(w);
    Position pos = InitialPosition();
    int kinds[2] = {Person, 9};
    WaitForPanel(w, PanelAllFields, PanelWith(ValuesOf(pos, kinds), IDS_CHOOSE_COMMAND), "the start");

    SendKey(VK_F2);
    Pause(300);
    ClickSquare(w, 3, 4);  // d3
    Play(pos, 34);
    WaitForBoard(w, pos, "after d3");
    ExpectedPanel thinking = PanelWith(ValuesOf(pos, kinds), IDS_COMPUTER_THINKING);
    WaitForPanel(w, PanelMessages, thinking, "the computer starts thinking", 5000);
    Pause(700);
    HWND dialog = OpenPlayersDialog(tavix);
    WaitForBoard(w, pos, "when the dialog opened during the thinking");
    ExpectedPanel opened = thinking;
    SetExpectedMessage(opened, IDS_SETTING_PLAYERS);
    WaitForPanel(w, PanelMessages, opened, "opening the dialog");
    ExpectPlayersTemplate(dialog);
    ExpectSelections(dialog, 0, 10, "on opening");
    if (!ScreenshotFolder().empty()) SaveScreenshot(ScreenshotFolder() + L"\\players-dialog.bmp", dialog);

    // 黒白交代 then ｷｬﾝｾﾙ: nothing changes.
    PressButton(dialog, IDC_PLAYERS_SWAP);
    ExpectSelections(dialog, 10, 0, "after 黒白交代");
    CloseDialogWith(dialog, IDCANCEL);
    ExpectedPanel panel = PanelWith(ValuesOf(pos, kinds), IDS_CHOOSE_COMMAND);
    WaitForPanel(w, PlayerFields | PanelMessages, panel, "ｷｬﾝｾﾙ");
    ExpectStoredPlayers(Person, 9, "after ｷｬﾝｾﾙ");
    Pause(1500);
    WaitForBoard(w, pos, "a while after the thinking was stopped");

    // 黒白交代 then OK: the players of this game change, the registry not.
    dialog = OpenPlayersDialog(tavix);
    ExpectSelections(dialog, 0, 10, "on opening after ｷｬﾝｾﾙ");
    PressButton(dialog, IDC_PLAYERS_SWAP);
    ExpectSelections(dialog, 10, 0, "after 黒白交代");
    CloseDialogWith(dialog, IDOK);
    kinds[0] = 9;
    kinds[1] = Person;
    panel = PanelWith(ValuesOf(pos, kinds), IDS_PLAYERS_SET);
    WaitForPanel(w, PlayerFields | PanelMessages, panel, "黒白交代 and OK");
    ExpectStoredPlayers(Person, 9, "after OK");

    // Another choice, 黒白交代, then 保存: stored as exchanged.
    dialog = OpenPlayersDialog(tavix);
    ExpectSelections(dialog, 10, 0, "after OK");
    SendMessageW(GetDlgItem(dialog, IDC_PLAYERS_BLACK), LB_SETCURSEL, 3, 0);  // ｺﾝﾋﾟｭｰﾀ 2
    PressButton(dialog, IDC_PLAYERS_SWAP);
    ExpectSelections(dialog, 0, 3, "after choosing level 2 and 黒白交代");
    CloseDialogWith(dialog, IDC_PLAYERS_SAVE);
    kinds[0] = Person;
    kinds[1] = 2;
    panel = PanelWith(ValuesOf(pos, kinds), IDS_PLAYERS_SET);
    WaitForPanel(w, PlayerFields | PanelMessages, panel, "保存");
    ExpectStoredPlayers(Person, 2, "after 保存");

    // ﾍﾙﾌﾟ and F1 open the players page and leave the dialog open; a double
    // click in a list then acts as OK.
    const std::wstring record = RecordOpenedPages();
    dialog = OpenPlayersDialog(tavix);
    PressButton(dialog, IDC_PLAYERS_HELP);
    ExpectOpenedPage(record, "players.html");
    Check(IsWindow(dialog) && IsWindowVisible(dialog), "ﾍﾙﾌﾟ closed the dialog");
    DeleteFileW(record.c_str());
    Activate(dialog);
    SendKey(VK_F1);
    ExpectOpenedPage(record, "players.html");
    Check(IsWindow(dialog) && IsWindowVisible(dialog), "F1 closed the dialog");
    HWND blackList = GetDlgItem(dialog, IDC_PLAYERS_BLACK);
    // ｺﾝﾋﾟｭｰﾀ 4, the sixth item of a list that shows all eleven from the top.
    const int itemHeight = static_cast<int>(SendMessageW(blackList, LB_GETITEMHEIGHT, 0, 0));
    const int x = ClientSize(blackList).cx / 2, y = itemHeight * 5 + itemHeight / 2;
    ClickClient(blackList, x, y);
    ClickClient(blackList, x, y);
    WaitFor([&] { return !IsWindow(dialog); }, 5000, "the dialog to close on a double click");
    kinds[0] = 4;
    panel = PanelWith(ValuesOf(pos, kinds), IDS_PLAYERS_SET);
    WaitForPanel(w, PlayerFields | PanelMessages, panel, "a double click on ｺﾝﾋﾟｭｰﾀ 4");
    ExpectStoredPlayers(Person, 2, "after a double click");
    CloseAndExpectExit(tavix);
}

// Stored players out of range or of another type read as a person and are
// written back as -1; a valid one stays.
SCENARIO(players_stored_kinds_checked) {
    StoreTavixRegistryDword(L"Player", L"Black", 10);
    StoreTavixRegistryDword(L"Player", L"White", static_cast<DWORD>(-2));
    Program tavix = StartTavix();
    ExpectStoredPlayers(Person, Person, "after starting with 10 and -2");
    const int persons[2] = {Person, Person};
    WaitForPanel(tavix.window, PlayerFields, PanelWith(ValuesOf(InitialPosition(), persons), IDS_CHOOSE_COMMAND),
                 "starting with 10 and -2");
    CloseAndExpectExit(tavix);

    const std::wstring text = L"3";
    StoreTavixRegistryValue(L"Player", L"Black", REG_SZ, text.c_str(), static_cast<DWORD>(sizeof(wchar_t) * 2));
    StoreTavixRegistryDword(L"Player", L"White", 5);
    tavix = StartTavix();
    ExpectStoredPlayers(Person, 5, "after starting with a text and 5");
    const int kinds[2] = {Person, 5};
    WaitForPanel(tavix.window, PlayerFields, PanelWith(ValuesOf(InitialPosition(), kinds), IDS_CHOOSE_COMMAND),
                 "starting with a text and 5");
    CloseAndExpectExit(tavix);
}

namespace {

// The part of the panel that set-up changes and shows for every click.
constexpr unsigned SetupClickFields = PanelMessages | BothColumns | PanelDiscs | PanelLegalMoves | PanelMoveNumber;

// Boxes 1 and 2 of the panel: everything but the message lines.
std::vector<DWORD> CaptureGameFields(HWND window) {
    const int u = DisplayUnit(window);
    std::vector<DWORD> pixels;
    for (int box : {1, 2}) {
        const LayoutRect r = PanelBoxInsideRect(u, box);
        const std::vector<DWORD> part = CaptureClient(window, r);
        pixels.insert(pixels.end(), part.begin(), part.end());
    }
    return pixels;
}

}  // namespace

// Set-up from a game two plies in: the last moves and clocks go blank, each
// of the brush's click cases shows on the board and in the counts, removing
// every disc leaves move number -4 and no legal moves (both fields blank),
// the side to move changes, and cancelling brings back the position, the
// panel and a history that steps back as before.
SCENARIO(board_setup_clicks_and_cancel) {
    StorePlayersAndQuickPlay(Person, Person);
    Program tavix = StartTavix();
    HWND w = tavix.window;
    Activate(w);
    Position pos = InitialPosition();
    SendKey(VK_F2);
    Pause(300);
    ClickSquare(w, 3, 4);  // d3
    Play(pos, 34);
    WaitForBoard(w, pos, "after d3");
    Pause(1300);  // White thinks past a clock tick
    ClickSquare(w, 5, 3);  // c5
    Play(pos, 53);
    WaitForBoard(w, pos, "after c5");
    SendKey(VK_F3);
    // Back and forth again: the panel shows the recorded clocks, as a cancel
    // will bring them back.
    SendKey(VK_PRIOR);
    SendKey(VK_NEXT);
    WaitForBoard(w, pos, "after PgUp and PgDn");
    Pause(300);
    const Position game = pos;
    const std::vector<DWORD> gameFields = CaptureGameFields(w);
    Check(IsToolbarCommandEnabled(w, IDM_RECORD_BACK), "PgUp is grey two plies into the game");

    PostCommand(w, IDM_SETUP_BEGIN);
    const int persons[2] = {Person, Person};
    ExpectedPanel panel = PanelWith(ValuesOf(pos, persons), IDS_SETUP_PLACE_BLACK);
    WaitForPanel(w, PanelAllFields, panel, "beginning set-up (no last moves, clocks at 0)");
    for (int id : {IDM_RECORD_TO_START, IDM_RECORD_BACK, IDM_RECORD_FORWARD, IDM_RECORD_TO_END})
        Check(!IsToolbarCommandEnabled(w, id), Format("history button %d is enabled in set-up", id));
    SendKey(VK_PRIOR);  // grey in set-up: nothing happens
    Pause(300);
    WaitForBoard(w, pos, "after PgUp in set-up");

    // Each case: the square, what it holds before and after, the message the
    // brush then shows.
    Square whiteDisc = 0;
    for (Square sq = 11; sq <= 88 && !whiteDisc; ++sq)
        if (IsPlayable(sq) && pos.board[sq] == White) whiteDisc = sq;
    struct Click {
        Square sq;
        std::uint8_t before, after;
        int message;
        const char* what;
    };
    const Click clicks[] = {
        {11, Empty, Black, IDS_SETUP_PLACE_BLACK, "an empty square with the brush Black"},
        {11, Black, White, IDS_SETUP_PLACE_WHITE, "a Black disc with the brush Black"},
        {11, White, Empty, IDS_SETUP_REMOVE_DISC, "a White disc with the brush White"},
        {88, Empty, Black, IDS_SETUP_PLACE_BLACK, "an empty square with the brush removing"},
        {whiteDisc, White, Black, IDS_SETUP_PLACE_BLACK, "a White disc with the brush Black"},
    };
    for (const Click& c : clicks) {
        Check(pos.board[c.sq] == c.before, Format("square %d does not hold what the case needs", c.sq));
        ClickSquare(w, c.sq / 10, c.sq % 10);
        pos.board[c.sq] = c.after;
        WaitForBoard(w, pos, std::string("after clicking ") + c.what);
        panel.values = ValuesOf(pos, persons);
        SetExpectedMessage(panel, c.message);
        WaitForPanel(w, SetupClickFields, panel, std::string("clicking ") + c.what);
    }
    if (!ScreenshotFolder().empty()) SaveScreenshot(ScreenshotFolder() + L"\\board-setup.bmp");

    // The right-click menu of set-up: its first item removes every disc.
    const POINT corner = SquareCentre(w, 8, 1);
    ClickClient(w, corner.x, corner.y, true);
    WaitFor([&] {
        for (HWND menu : FindProcessWindows(tavix.process.dwProcessId, L"#32768"))
            if (IsWindowVisible(menu)) return true;
        return false;
    }, 5000, "the right-click menu");
    SendKey(VK_DOWN);
    SendKey(VK_RETURN);
    for (Square sq = 11; sq <= 88; ++sq)
        if (IsPlayable(sq)) pos.board[sq] = Empty;
    WaitForBoard(w, pos, "after removing every disc from the right-click menu");
    panel.values = ValuesOf(pos, persons);
    Check(panel.values.moveNumber == -4 && panel.values.legalMoveCount == -1, "the empty board's counters");
    WaitForPanel(w, PanelAllFields, panel, "removing every disc (move number and legal moves blank)");
    PostCommand(w, IDM_SETUP_CHANGE_SIDE);
    pos.sideToMove = 1;
    panel.values.sideToMove = 1;
    WaitForPanel(w, PanelLegalMoves, panel, "changing the side to move");

    PostCommand(w, IDM_SETUP_CANCEL);
    WaitForBoard(w, game, "after cancelling");
    panel = PanelWith(ValuesOf(game, persons), IDS_SETUP_CANCELLED);
    WaitForPanel(w, PanelMessages, panel, "cancelling");
    WaitFor([&] { return CaptureGameFields(w) == gameFields; }, 3000,
            "the panel of the game (side to move, last moves, clocks) after cancelling");
    Check(IsToolbarCommandEnabled(w, IDM_RECORD_BACK), "PgUp is grey after cancelling");
    SendKey(VK_PRIOR);
    Position oneBack = InitialPosition();
    Play(oneBack, 34);
    WaitForBoard(w, oneBack, "one ply back after cancelling");
    CloseAndExpectExit(tavix);
}

// A set-up of two discs accepted: 対局開始 asks first (No leaves set-up
// running and the board as it was), Yes starts the game from the set-up
// position with an empty history, which is then where Home returns to; the
// close request and loading ask with their own captions.
SCENARIO(board_setup_accepted_and_played) {
    StorePlayersAndQuickPlay(Person, Person);
    Program tavix = StartTavix();
    HWND w = tavix.window;
    Activate(w);
    PostCommand(w, IDM_SETUP_BEGIN);
    PostCommand(w, IDM_SETUP_REMOVE_ALL);
    ClickSquare(w, 3, 3);  // c3 Black
    ClickSquare(w, 4, 4);  // d4 Black, then White
    ClickSquare(w, 4, 4);
    Position set = InitialPosition();
    for (Square sq = 11; sq <= 88; ++sq)
        if (IsPlayable(sq)) set.board[sq] = Empty;
    set.board[33] = Black;
    set.board[44] = White;
    WaitForBoard(w, set, "as set up");

    SendKey(VK_F2);
    Answer(WaitForSetupQuestion(tavix, L"対局開始"), IDNO);
    WaitForBoard(w, set, "after answering No");
    ClickSquare(w, 8, 8);  // set-up still runs: the brush White places a disc
    Position withH8 = set;
    withH8.board[88] = White;
    WaitForBoard(w, withH8, "after a click once set-up went on");
    ClickSquare(w, 8, 8);  // and takes it away again
    WaitForBoard(w, set, "after the second click");

    SendKey(VK_F2);
    Answer(WaitForSetupQuestion(tavix, L"対局開始"), IDYES);
    const int persons[2] = {Person, Person};
    ExpectedPanel panel = PanelWith(ValuesOf(set, persons), IDS_SETUP_DONE);
    SetExpectedMessage(panel, IDS_WHERE_TO_PLAY);
    WaitForPanel(w, PanelAllFields, panel, "starting the game from the set-up position (move number -2 blank)");
    Check(!IsToolbarCommandEnabled(w, IDM_RECORD_TO_START), "Home is enabled with an empty history");
    ClickSquare(w, 5, 5);  // e5 takes d4
    Position played = set;
    Play(played, 55);
    // Neither side can move now: the game ends with three black discs. The
    // result box stands over the board, so the board is read once it closed.
    HWND result = WaitForDialog(tavix.process.dwProcessId);
    Check(result != nullptr && MessageBoxText(result) == L"黒の  ３石勝ちです。",
          "the result box does not read 黒の  ３石勝ちです。");
    PressButton(result, IDOK);
    WaitFor([&] { return !IsWindow(result); }, 5000, "the result box to close");
    WaitForBoard(w, played, "after e5");
    SendKey(VK_HOME);
    WaitForBoard(w, set, "after Home: the set-up position starts the history");

    // Loading and closing during set-up ask with their captions; No keeps
    // set-up and the window.
    PostCommand(w, IDM_SETUP_BEGIN);
    WaitForPanel(w, PanelMessages, PanelWith(ValuesOf(set, persons), IDS_SETUP_PLACE_BLACK), "set-up again");
    PostCommand(w, IDM_RECORD_LOAD);
    Answer(WaitForSetupQuestion(tavix, L"棋譜の復元"), IDNO);
    PostMessageW(w, WM_CLOSE, 0, 0);
    HWND box = WaitForSetupQuestion(tavix, L"終了");
    if (!ScreenshotFolder().empty()) SaveScreenshot(ScreenshotFolder() + L"\\board-setup-question.bmp");
    Answer(box, IDNO);
    Pause(500);
    Check(IsWindow(w) && WaitForSingleObject(tavix.process.hProcess, 0) == WAIT_TIMEOUT,
          "the program ended although the answer was No");
    PostMessageW(w, WM_CLOSE, 0, 0);
    Answer(WaitForSetupQuestion(tavix, L"終了"), IDYES);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}
