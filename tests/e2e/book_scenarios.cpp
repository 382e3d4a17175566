// The opening book as a user meets it: the report on a book file with bad
// lines at start-up, the book-move search and the computer's book moves.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "book/book_file.h"
#include "book/book_moves_text.h"
#include "book/book_symmetry.h"
#include "book/book_tree.h"
#include "core/notation.h"
#include "core/wide_text.h"
#include "res/resource.h"
#include "tests/e2e/driver.h"

namespace {

std::wstring BookPath() { return DriverFolder() + L"\\Tavix.STD"; }

void WriteBook(const std::string& bytes) { Check(WriteFileBytes(BookPath(), bytes), "cannot write Tavix.STD"); }

// The driver's own reading of the book beside Tavix.exe, with the same
// loader, to know what the book-move search must list.
struct ShippedBook {
    OpeningBook book;
    ShippedBook() {
        std::string bytes;
        Check(ReadFileBytes(BookPath(), bytes), "no Tavix.STD beside Tavix.exe");
        struct Cursor {
            const std::string* bytes;
            std::size_t at;
        } cursor = {&bytes, 0};
        auto read = [](void* context, char* buffer, int capacity) {
            Cursor& c = *static_cast<Cursor*>(context);
            const std::size_t n = std::min(c.bytes->size() - c.at, static_cast<std::size_t>(capacity));
            std::memcpy(buffer, c.bytes->data() + c.at, n);
            c.at += n;
            return static_cast<int>(n);
        };
        BookLoadReport report;
        Position work;
        LoadBookFile({&cursor, read}, book, work, report);
        Check(report.errorLines == 0, Format("the shipped book has %d bad lines", report.errorLines));
        Check(BookNodeCount(book) > 0, "the shipped book is empty");
    }
    ~ShippedBook() { ReleaseOpeningBook(book); }

    // The dialog's lines for the game's position (leaf values, as Tavix
    // starts with), empty when the position is not in the book.
    std::vector<std::wstring> Lines(const Position& game, std::vector<Square>* squares = nullptr) const {
        Position pos = game;
        int black = 0, white = 0;
        RecountPosition(pos, black, white);
        BookMoveList list;
        std::vector<std::wstring> lines;
        if (ListBookMoves(book, pos, pos.moveNumber, LeafEvaluation, list) != 0) return lines;
        for (int i = 0; list.entries[i].node; ++i) {
            lines.push_back(WideFromShiftJis(BookMoveLineText(i + 1, list.entries[i], LeafEvaluation)));
            if (squares) squares->push_back(list.entries[i].square);
        }
        return lines;
    }

    // The squares the computer may draw in the game's position with the
    // default StandardValue (threshold 0, cap 0): the listed moves of the
    // best capped leaf value that carry lines. Empty when it leaves the book.
    std::vector<Square> Choices(const Position& game) const {
        Position pos = game;
        int black = 0, white = 0;
        RecountPosition(pos, black, white);
        BookMoveList list;
        std::vector<Square> squares;
        if (ListBookMoves(book, pos, pos.moveNumber, LeafEvaluation, list) != 0) return squares;
        int best = INT_MIN;
        for (int i = 0; list.entries[i].node; ++i) best = std::max(best, std::min<int>(list.entries[i].node->leafValue, 0));
        if (best < 0) return squares;
        for (int i = 0; list.entries[i].node; ++i) {
            const BookNode& n = *list.entries[i].node;
            if (std::min<int>(n.leafValue, 0) == best && n.lineCount > 0) squares.push_back(list.entries[i].square);
        }
        return squares;
    }
};

std::string Joined(const std::vector<std::wstring>& lines) {
    std::string out;
    for (const std::wstring& l : lines) {
        out += '[';
        out += Narrow(l);
        out += ']';
    }
    return out;
}

// Command 1400 and its dialog 2100 (checked for its caption and node count).
HWND OpenBookMoves(const Program& tavix, const ShippedBook& book) {
    PostCommand(tavix.window, IDM_RESEARCH_BOOK);
    HWND dialog = WaitForDialog(tavix.process.dwProcessId, 10000);
    Check(dialog != nullptr, "the book-move dialog did not open");
    Check(WindowText(dialog) == L"定石手探索", "the dialog's title is \"" + Narrow(WindowText(dialog)) + "\"");
    const std::wstring nodes = WideFromShiftJis(BookNodeCountText(BookNodeCount(book.book)));
    Check(WindowText(GetDlgItem(dialog, IDC_BOOK_NODE_COUNT)) == nodes,
          "the node count reads \"" + Narrow(WindowText(GetDlgItem(dialog, IDC_BOOK_NODE_COUNT))) + "\"");
    return dialog;
}

std::vector<std::wstring> ListedMoves(HWND dialog) { return ListBoxItems(GetDlgItem(dialog, IDC_BOOK_MOVE_LIST)); }

void CloseDialog(HWND dialog, int button) {
    PressButton(dialog, button);
    WaitFor([&] { return !IsWindow(dialog); }, 5000, Format("the dialog to close with button %d", button));
}

// The list of the game's position as the book gives it, the first line
// selected; the squares listed are legal moves of the game.
void ExpectListed(HWND dialog, const ShippedBook& book, const ScriptedGame& game, const std::string& where) {
    std::vector<Square> squares;
    const std::vector<std::wstring> expected = book.Lines(game.pos, &squares);
    Check(!expected.empty(), "the shipped book has no move " + where);
    Check(ListedMoves(dialog) == expected, where + ": listed " + Joined(ListedMoves(dialog)) + ", the book gives " +
                                                Joined(expected));
    Check(SendDlgItemMessageW(dialog, IDC_BOOK_MOVE_LIST, LB_GETCURSEL, 0, 0) == 0, where + ": line 1 is not selected");
    for (Square sq : squares)
        Check(CanPlay(game.pos, sq, ColourOfSide(game.pos.sideToMove)), where + ": " + SquareCode(sq) + " is not legal");
}

// A list line of sq with the square turned by 180 degrees (the square
// stands after the rank, two characters wide).
std::wstring Turned(const std::wstring& line, Square sq) {
    return line.substr(0, 5) + WideFromShiftJis(SquareText(TransformSquare(2, sq))) + line.substr(7);
}

}  // namespace

// Good and bad lines: one box before the window, with no owner, the
// version text as caption and every bad line with its number and message.
SCENARIO(book_report_box) {
    WriteBook("; a book with faults\r\n"
              "f5d6c3d3c4 +2\r\n"
              "f5d6+3\r\n"
              "f5d6c3d3c4 -1\r\n"
              "f5f4e3=f5f6\r\n"
              "f5f6 -1\r\n"
              "f5d6c3");
    Program tavix = LaunchTavix();
    HWND box = WaitForDialog(tavix.process.dwProcessId, 20000);
    Check(box != nullptr, "no report box");
    Check(FindProcessWindows(tavix.process.dwProcessId, L"Tavix").empty(), "the main window came before the report");
    Check(GetWindow(box, GW_OWNER) == nullptr, "the report box has an owner");
    Check(WindowText(box) == L"" TAVIX_VERSION_TEXT, "caption: " + Narrow(WindowText(box)));
    const std::wstring expected = Widen(
        "定石ﾌｧｲﾙ\n\n"
        "3行目: この行の内容に誤りがあります。\n"
        "4行目: この手順と全く同一の手順が既に読み込まれています。\n"
        "5行目: 元になる手順が読み込まれていません。\n"
        "7行目: この手順を完全に含む手順が既に読み込まれています。\n"
        "\nｴﾗｰのある行が全部で4行見つかりました。");
    Check(MessageBoxText(box) == expected, "report text: " + Narrow(MessageBoxText(box)));
    PressButton(box, IDOK);
    WaitForMainWindow(tavix);
    PostCommand(tavix.window, IDM_GAME_EXIT);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}

// The book-move search with the shipped book, two people at the board: the
// first move at the start; after f5 White's replies best first, and the one
// chosen played with the game not going on; after c4 e3 (f5 d6 turned by
// 180 degrees) the real squares; cancel changes nothing.
SCENARIO(book_search_with_the_shipped_book) {
    const ShippedBook book;
    Program tavix = StartForTwoPeople();
    HWND w = tavix.window;
    ScriptedGame game;

    HWND dialog = OpenBookMoves(tavix, book);
    ExpectListed(dialog, book, game, "at the start");
    std::vector<Square> first;
    book.Lines(game.pos, &first);
    Check(first.size() == 1 && first[0] == 56, "the book's first move is not f5 alone");
    CloseDialog(dialog, IDCANCEL);
    WaitForBoard(w, game.Board(), 3000, "the initial one after cancel");

    PostCommand(w, IDM_GAME_START);
    Pause(300);
    ClickSquare(w, 5, 6);  // f5
    game.Play(56);
    WaitForBoard(w, game.Board(), 5000, "the one after f5");
    Pause(300);
    dialog = OpenBookMoves(tavix, book);
    ExpectListed(dialog, book, game, "after f5");
    std::vector<Square> replies;
    book.Lines(game.pos, &replies);
    Check(replies.size() >= 3, Format("only %d replies to f5", static_cast<int>(replies.size())));
    CloseDialog(dialog, IDOK);
    game.Play(replies[0]);
    WaitForBoard(w, game.Board(), 5000, "the one after the chosen reply " + SquareCode(replies[0]));
    // The turn loop is not restarted: a click on a legal square does nothing.
    std::vector<Square> next;
    book.Lines(game.pos, &next);
    Check(!next.empty(), "the book has no move after f5 " + SquareCode(replies[0]));
    ClickSquare(w, next[0] / 10, next[0] % 10);
    Pause(800);
    WaitForBoard(w, game.Board(), 1000, "unchanged after a click outside a turn");

    // f5 d6 and its turned image c4 e3 list the same moves, turned.
    std::vector<std::wstring> straight, turned;
    std::vector<Square> straightSquares;
    for (const char* line : {"f5d6", "c4e3"}) {
        PostCommand(w, IDM_GAME_NEW_BOARD);
        game = ScriptedGame();
        WaitForBoard(w, game.Board(), 5000, "the initial one");
        PostCommand(w, IDM_GAME_START);
        Pause(300);
        for (int i = 0; i < 2; ++i) {
            const Square sq = ParseSquare(line + 2 * i);
            ClickSquare(w, sq / 10, sq % 10);
            game.Play(sq);
            WaitForBoard(w, game.Board(), 5000, std::string("the one in ") + line);
            Pause(300);
        }
        dialog = OpenBookMoves(tavix, book);
        ExpectListed(dialog, book, game, std::string("after ") + line);
        (line[0] == 'f' ? straight : turned) = ListedMoves(dialog);
        if (line[0] == 'f') book.Lines(game.pos, &straightSquares);
        CloseDialog(dialog, IDCANCEL);
        WaitForBoard(w, game.Board(), 3000, std::string("unchanged after cancel in ") + line);
    }
    std::vector<std::wstring> expected;
    for (std::size_t i = 0; i < straight.size(); ++i) expected.push_back(Turned(straight[i], straightSquares[i]));
    Check(turned == expected, "after c4 e3 " + Joined(turned) + ", after f5 d6 turned " + Joined(expected));
    CloseTavix(tavix);
}

// Two computers at level 0: 着手 plays the book's move for the computer to
// move and the game waits; started, both play their first moves from the
// book, and two games differ.
SCENARIO(book_moves_of_level0_games) {
    const ShippedBook book;
    // Out of the book a level-0 move waits ten seconds, so the book moves
    // stand apart.
    StoreGameSettings(0, 0, 10);
    Program tavix = StartTavix();
    HWND w = tavix.window;
    ScriptedGame game;
    WaitForBoard(w, game.Board(), 5000, "the initial one");
    HWND dialog = OpenBookMoves(tavix, book);
    CloseDialog(dialog, IDOK);
    game.Play(56);
    WaitForBoard(w, game.Board(), 5000, "the one after f5 from the dialog");
    Pause(1500);
    WaitForBoard(w, game.Board(), 500, "still the one after f5: the computers do not go on");

    // Book moves come at once, faster than the board can be read after each
    // one, so the board is read where the computers stop: at the first move
    // out of the book, which waits ten seconds. The board must stand still
    // there, a line of moves the book's draw could choose must lead to it,
    // and the book must have nothing to play in it (the side to move has no
    // listed move valued 0 or better, or the position is not in the book).
    std::vector<std::string> games;
    for (int round = 0; round < 2; ++round) {
        PostCommand(w, IDM_GAME_NEW_BOARD);
        game = ScriptedGame();
        WaitForBoard(w, game.Board(), 5000, "the initial one");
        PostCommand(w, IDM_GAME_START);
        std::string seen = ReadBoard(w), last, moves;
        int plies = 0;
        // Depth-first over the moves the book may choose; a disc once placed
        // stays, so a move onto a square empty on the board seen is not
        // followed. Sets moves to the line found.
        std::function<bool(ScriptedGame&, int)> reach = [&](ScriptedGame& at, int left) {
            if (left == 0) return at.Board() == seen && book.Choices(at.pos).empty();
            for (Square sq : book.Choices(at.pos)) {
                const int row = sq / 10 - 1, column = sq % 10 - 1;
                if (seen[row * 8 + column] == '-') continue;
                ScriptedGame next = at;
                next.Play(sq);
                if (reach(next, left - 1)) {
                    moves = SquareCode(sq) + moves;
                    return true;
                }
            }
            return false;
        };
        DWORD steadySince = GetTickCount();
        bool reached = false;
        WaitUntil(
            [&] {
                last = seen;
                seen = ReadBoard(w);
                if (seen != last || seen == game.Board()) steadySince = GetTickCount();
                if (GetTickCount() - steadySince < 1500) return false;
                plies = CountDiscs(seen, 'X') + CountDiscs(seen, 'O') - 4;
                ScriptedGame start = game;
                moves.clear();
                return reached = reach(start, plies);
            },
            8000);
        PostCommand(w, IDM_GAME_INTERRUPT);
        Check(reached, Format("game %d stopped after %d plies at %s, which no line of book moves the computer "
                              "would choose leads to with the book then left",
                              round + 1, plies, seen.c_str()));
        Note(Format("game %d from the book: %s", round + 1, moves.c_str()));
        games.push_back(seen);
    }
    Check(games[0] != games[1], "the two games reached the same board " + games[0]);
    CloseTavix(tavix);
}

// A book whose every line is bad: no report, an empty book, and the
// book-move search says the position has no book move.
SCENARIO(book_all_bad_lines) {
    WriteBook("f5d6+3\r\nxx\r\nf5f4e3=f5f6\r\n");
    StoreGameSettings(Person, Person);
    Program tavix = StartTavix();
    Check(FindProcessWindows(tavix.process.dwProcessId, L"#32770").empty(), "a box came with the window");
    PostCommand(tavix.window, IDM_RESEARCH_BOOK);
    HWND box = WaitForDialog(tavix.process.dwProcessId, 10000);
    Check(box != nullptr, "no answer to the book-move search");
    Check(WindowText(box) == L"定石手探索", "caption: " + Narrow(WindowText(box)));
    Check(MessageBoxText(box) == L"現在の局面には定石手が存在しません。", "text: " + Narrow(MessageBoxText(box)));
    PressButton(box, IDOK);
    WaitFor([&] { return !IsWindow(box); }, 5000, "the box to close");
    WaitForBoard(tavix.window, ScriptedGame().Board(), 3000, "the initial one");
    CloseTavix(tavix);
}
