// The game database window on a small archive folder the driver writes with
// the program's own writer, and GGF files in and out.
#include <string>
#include <vector>

#include "core/notation.h"
#include "core/position_text.h"
#include "database/wthor.h"
#include "res/resource.h"
#include "tests/e2e/driver.h"

namespace {

// A whole game with one pass (Black has none before White's g7) that ends
// with one square empty.
const char ArchivePassGame[] =
    "e6d6c6f4e3d2g4f6c1g3f5h4c4b6b7c3g5c5c2f3b5h6h5b2f2d3h3a6b3a2a7b8a8d7h7g2b4e2c7a4f7h2h1g6e7f8c8e8e1f1d8d1g8g1"
    "b1a1a5a3g7";

WthorGame ArchiveGame(int black, int white, int blackDiscs, const std::string& moves) {
    WthorGame g;
    g.black = black;
    g.white = white;
    g.blackDiscs = blackDiscs;
    g.theoretical = blackDiscs;
    for (std::size_t k = 0; k + 1 < moves.size(); k += 2) g.moves[k / 2] = static_cast<std::uint8_t>(ParseSquareCode(moves.c_str() + k));
    return g;
}

HWND WaitForDatabaseWindow(const Program& tavix) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : FindProcessWindows(tavix.process.dwProcessId, L"#32770"))
                if (IsWindowVisible(w) && WindowText(w) == L"棋譜ﾃﾞｰﾀﾍﾞｰｽ") found = w;
            return found != nullptr;
        },
        10000, "the database window");
    return found;
}

std::string Joined(const std::vector<std::wstring>& items) {
    std::string text;
    for (const std::wstring& item : items) text += Narrow(item) + " | ";
    return text;
}

void WaitForLists(HWND dialog, const std::string& moves, const std::string& games, const std::string& what) {
    std::string seenMoves, seenGames;
    if (!WaitUntil(
            [&] {
                seenMoves = Joined(ListBoxItems(GetDlgItem(dialog, IDC_DB_MOVES)));
                seenGames = Joined(ListBoxItems(GetDlgItem(dialog, IDC_DB_GAMES)));
                return seenMoves == moves && seenGames == games;
            },
            5000))
        Fail("the lists " + what + " are [" + seenMoves + "] and [" + seenGames + "]");
}

std::string BoardOf(const std::string& transcript) {
    ScriptedGame game;
    for (std::size_t k = 0; k + 1 < transcript.size(); k += 2) {
        if (transcript.compare(k, 2, "PA") == 0) game.Play(0);
        else game.Play(ParseSquareCode(transcript.c_str() + k));
    }
    return game.Board();
}

// Starts the game and plays the moves by clicks, each shown before the next.
void PlayByClicks(const Program& tavix, const std::string& moves) {
    PostCommand(tavix.window, IDM_GAME_START);
    Pause(300);
    for (std::size_t k = 0; k + 1 < moves.size(); k += 2) {
        const Square sq = ParseSquareCode(moves.c_str() + k);
        ClickSquare(tavix.window, sq / 10, sq % 10);
        WaitForBoard(tavix.window, BoardOf(moves.substr(0, k + 2)), 5000, "after " + moves.substr(0, k + 2));
    }
}

void DoubleClickLine(HWND dialog, int list, int index) {
    HWND box = GetDlgItem(dialog, list);
    SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, LBN_DBLCLK), reinterpret_cast<LPARAM>(box));
}

const std::string Muller = "M\xC3\xBCller Anna", Jaros = "Jaro\xC5\xA1 Piet";

}  // namespace

// Two players (one name with letters of the Western code page), a
// tournament and three games of 2019: f5 d6 c3 d3 c4, the pass game, and
// e6 f4 e3 (f5 d6 c5 turned over the a1-h8 diagonal).
std::wstring WriteArchive() {
    const std::wstring folder = L"C:\\tavix db";
    CreateDirectoryW(folder.c_str(), nullptr);
    WthorHeader names;
    names.nameCount = 2;
    Check(WriteFileBytes(folder + L"\\WTHOR.JOU",
                         ComposeWthorNames(names, {"M\xFCller Anna", "Jaro\x9A Piet"}, WthorPlayerSize)),
          "cannot write the players");
    names.nameCount = 1;
    Check(WriteFileBytes(folder + L"\\WTHOR.TRN", ComposeWthorNames(names, {"Paris Open"}, WthorTournamentSize)),
          "cannot write the tournaments");
    WthorHeader games;
    games.count = 3;
    games.gameYear = 2019;
    Check(WriteFileBytes(folder + L"\\WTH_2019.wtb",
                         ComposeWthorGames(games, {ArchiveGame(0, 1, 40, "f5d6c3d3c4"), ArchiveGame(1, 0, 31, ArchivePassGame),
                                                   ArchiveGame(1, 0, 20, "e6f4e3")})),
          "cannot write the games");
    return folder;
}

SCENARIO(database_window_follows_the_board) {
    const std::wstring folder = WriteArchive();
    StoreTavixRegistryValue(L"Configuration", L"DatabaseFolder", REG_SZ, folder.c_str(),
                            static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    Program tavix = StartForTwoPeople();
    PostCommand(tavix.window, IDM_RESEARCH_DATABASE);
    HWND db = WaitForDatabaseWindow(tavix);
    const std::string game1 = "2019\tParis Open\t" + Muller + "\t" + Jaros + "\t40\t40 | ";
    const std::string game2 = "2019\tParis Open\t" + Jaros + "\t" + Muller + "\t31\t31 | ";
    const std::string game3 = "2019\tParis Open\t" + Jaros + "\t" + Muller + "\t20\t20 | ";
    WaitForLists(db, "e6\t2\t0\t0\t2\t25.5 | f5\t1\t1\t0\t0\t40.0 | ", game1 + game2 + game3, "at the start");

    PlayByClicks(tavix, "f5d6");
    // The third game stands here turned: its e3 shows as c5.
    WaitForLists(db, "c3\t1\t1\t0\t0\t40.0 | c5\t1\t0\t0\t1\t20.0 | ", game1 + game3, "after f5 d6");
    if (!ScreenshotFolder().empty()) {
        Activate(db);
        Pause(500);
        SaveScreenshot(ScreenshotFolder() + L"\\database-window.bmp", db);
        SaveScreenshot(ScreenshotFolder() + L"\\database-desktop.bmp");
    }

    // A double click on that game makes it the game, at this ply, turned to the board.
    DoubleClickLine(db, IDC_DB_GAMES, 1);
    WaitFor([&] { return IsToolbarCommandEnabled(tavix.window, IDM_RECORD_FORWARD); }, 5000,
            "the loaded game's later moves");
    WaitForBoard(tavix.window, BoardOf("f5d6"), 5000, "still after f5 d6 once the game is loaded");
    PostCommand(tavix.window, IDM_RECORD_FORWARD);
    WaitForBoard(tavix.window, BoardOf("f5d6c5"), 5000, "the loaded game's next move c5");
    PostCommand(tavix.window, IDM_RECORD_TO_START);
    WaitForBoard(tavix.window, BoardOf(""), 5000, "the loaded game's start");

    // The same line turned by 180 degrees: the same games, their moves turned.
    PostCommand(tavix.window, IDM_GAME_NEW_BOARD);
    PlayByClicks(tavix, "c4e3");
    WaitForLists(db, "f4\t1\t0\t0\t1\t20.0 | f6\t1\t1\t0\t0\t40.0 | ", game1 + game3, "after c4 e3");

    // A double click on a move plays it for the side to move.
    DoubleClickLine(db, IDC_DB_MOVES, 1);
    WaitForBoard(tavix.window, BoardOf("c4e3f6"), 5000, "after the listed f6");
    WaitForLists(db, "e6\t1\t1\t0\t0\t40.0 | ", game1, "after c4 e3 f6");
    CloseTavix(tavix);
}

SCENARIO(database_ggf_choice_and_round_trip) {
    std::string passGame = "(;GM[Othello]PC[Club]DT[2021.06.02]PB[Carol]PW[Dave]TY[8]";
    std::string transcript;
    for (int k = 0; k < PassGamePlies; ++k) {
        const bool pass = PassGame[k][0] == 'p';
        passGame += Format("%s[%s//%d]", k % 2 == 0 ? "B" : "W", pass ? "PA" : PassGame[k], k + 1);
        transcript += pass ? "PA" : PassGame[k];
    }
    passGame += ";)";
    const std::string text = "(;GM[Othello]PB[Alice]PW[Bob]DT[2020.01.01]B[f5]W[d6]B[c3];)\n" + passGame + "\n";
    const std::wstring path = L"C:\\tavix db two.ggf";
    Check(WriteFileBytes(path, text), "cannot write the GGF file");
    StoreGameSettings(Person, Person);

    Program tavix = LaunchTavix(L"\"" + path + L"\"");
    HWND choice = WaitForDialog(tavix.process.dwProcessId);
    Check(choice && WindowText(choice) == L"棋譜の選択", "no choice among the file's games");
    const std::vector<std::wstring> lines = ListBoxItems(GetDlgItem(choice, IDC_GGF_GAME_LIST));
    Check(Joined(lines) == "Alice - Bob  2020.01.01 | Carol - Dave  2021.06.02 | ", "the games offered: " + Joined(lines));
    SendMessageW(GetDlgItem(choice, IDC_GGF_GAME_LIST), LB_SETCURSEL, 1, 0);
    PressButton(choice, IDOK);
    WaitForMainWindow(tavix);
    WaitForBoard(tavix.window, BoardOf(transcript), 5000, "the end of the chosen game");

    const std::wstring saved = L"C:\\tavix db again.ggf";
    PostCommand(tavix.window, IDM_RECORD_SAVE);
    ChooseFileInDialog(tavix, L"棋譜の保存", saved);
    std::string bytes;
    Check(WaitUntil([&] { return ReadFileBytes(saved, bytes) && !bytes.empty(); }, 5000), "the GGF was not saved");
    CloseTavix(tavix);
    Check(bytes.find("W[d7//10]B[c7//11]W[b8//12]B[PA//13]W[h2//14];)") != std::string::npos &&
              bytes.find("RE[-17.000]") != std::string::npos && bytes.rfind("(;GM[Othello]", 0) == 0,
          "the saved GGF is " + bytes);

    // The saved file is the same game: plies and clocks as the command-line
    // tool reads them from both files.
    auto plies = [](const std::wstring& file) {
        const std::string shown = RunBesideDriver(L"tavix-cli.exe", L"record show \"" + file + L"\"");
        std::string out;
        std::size_t at = 0;
        for (std::size_t end; (end = shown.find('\n', at)) != std::string::npos; at = end + 1) {
            const std::string line = shown.substr(at, end - at);
            if (line.size() > 3 && line[0] >= '0' && line[0] <= '9' && line[2] == ' ') out += line + "|";
        }
        return out;
    };
    const std::string original = plies(path), again = plies(saved);
    const std::string chosen = original.substr(original.find("01 ", 10));  // the second game's plies
    Check(again == chosen && again.find("13 pass 00:00:49") != std::string::npos,
          "the saved plies are " + again + " instead of " + chosen);

    Program reloaded = StartTavix(L"\"" + saved + L"\"");
    WaitForBoard(reloaded.window, BoardOf(transcript), 5000, "the saved game reloaded");
    CloseTavix(reloaded);
}
