// Any bytes as an opening-book file, read in blocks of varying size: the
// load never fails unsafely, the tree keeps its invariants, and the lookups
// along the book's first line list and choose only legal moves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "book/book_file.h"
#include "book/book_tree.h"
#include "core/board.h"

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at;
    int chunk;
};

int Read(void* context, char* buffer, int capacity) {
    Input& in = *static_cast<Input*>(context);
    std::size_t n = in.size - in.at;
    if (n > static_cast<std::size_t>(capacity)) n = static_cast<std::size_t>(capacity);
    if (n > static_cast<std::size_t>(in.chunk)) n = static_cast<std::size_t>(in.chunk);
    std::memcpy(buffer, in.data + in.at, n);
    in.at += n;
    return static_cast<int>(n);
}

void Require(bool condition) {
    if (!condition) std::abort();
}

// Checks the list that starts at first; returns its leaves.
int CheckList(const OpeningBook& book, int first, int& maxMinimax) {
    int leaves = 0;
    maxMinimax = -128;
    for (int node = first;;) {
        Require(node >= 0 && node < book.count);
        const BookNode& n = book.nodes[node];
        Require(n.leafValue >= -127 && n.minimaxValue >= -127 && n.lineCount >= 0);
        if (n.firstChild == 0) {
            ++leaves;
        } else {
            Require(n.firstChild > 0);
            int childMax = 0;
            leaves += CheckList(book, node + n.firstChild, childMax);
            Require(n.minimaxValue == -childMax);
        }
        if (n.minimaxValue > maxMinimax) maxMinimax = n.minimaxValue;
        if (n.nextSibling == 0) return leaves;
        Require(n.nextSibling > 0);
        node += n.nextSibling;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    Input in = {data + 1, size - 1, 0, 1 + data[0] * 5};
    OpeningBook book;
    // A 1 KiB step: the store grows often, and no input allocates a megabyte.
    book.storeStep = 64 * sizeof(BookNode);
    BookLoadReport report;
    Position pos;
    LoadBookFile({&in, Read}, book, pos, report);
    Require(report.listed <= MaxListedBookErrors && report.listed <= report.errorLines);
    Require(report.listed == (report.errorLines < MaxListedBookErrors ? report.errorLines : MaxListedBookErrors));
    Require(report.merged + report.errorLines <= report.lines);
    Require((book.count == 0) == (book.nodes == nullptr) && book.capacity == book.count);
    const std::string text = ComposeBookReport(
        report, [](int id) { return BookMessageText(id, BookTextEncoding::ShiftJis); }, BookTextEncoding::ShiftJis);
    Require(text.size() <= 8191);
    if (book.count == 0) {
        Require(report.merged == 0);
        return 0;
    }
    int rootMax = 0;
    Require(CheckList(book, 0, rootMax) == report.merged);

    // Down the first line: every position on it is in the book.
    Position game;
    InitBoard(game);
    game.sideToMove = 0;
    game.moveNumber = 0;
    static BookMoveList list;
    for (int node = 0;;) {
        Require(ListBookMoves(book, game, game.moveNumber, LeafEvaluation, list) == 0);
        const int colour = ColourOfSide(game.sideToMove);
        const bool canMove = CountLegalMoves(game, game.sideToMove) > 0;
        for (int i = 0; list.entries[i].node; ++i) {
            const Square sq = list.entries[i].square;
            Require(sq == Pass ? !canMove : game.board[sq] == Empty && CanPlay(game, sq, colour));
        }
        const int chosen = ChooseBookMove(book, game, game.moveNumber, BookChoice{MinimaxEvaluation, -127, 127, nullptr});
        Require(chosen >= 0);
        const BookNode& n = book.nodes[node];
        if (n.firstChild == 0) break;
        if (n.move != Pass) {
            FlipRecord flips;
            Require(PlayMove(game, n.move, colour, flips) > 0);
            ++game.moveNumber;
        }
        game.sideToMove ^= 1;
        node += n.firstChild;
    }
    ReleaseOpeningBook(book);
    return 0;
}
