// The opening book: one tree of move sequences from the initial position,
// merged line by line at start-up and read-only afterwards, with the two
// lookups of the current position (the computer's book move and the list of
// book moves). Positions are recognised up to the four symmetries of
// book/book_symmetry.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/board.h"
#include "engine/engine_state.h"
#include "engine/midgame.h"

// One node: a move (0 a pass) with its values from the point of view of the
// side that made it, and the number of book lines through it. Links count
// nodes forward from this one; 0 ends the list (nextSibling) or the line
// (firstChild).
struct BookNode {
    std::int32_t nextSibling;
    std::int32_t firstChild;
    std::uint8_t move;
    std::int8_t leafValue;
    std::int8_t minimaxValue;
    std::int32_t lineCount;
};
static_assert(sizeof(BookNode) == 16, "1 MiB of the store holds 65,536 nodes");

// The store grows in steps of this many bytes.
constexpr std::size_t BookStoreStep = 1 << 20;

struct OpeningBook {
    BookNode* nodes = nullptr;  // node 0 begins the root list
    std::int32_t capacity = 0;  // nodes the store has room for
    std::int32_t count = 0;     // BookNodeCount
    // Bytes the store may take at most, 0 for no limit other than memory:
    // lets a test make the store fail to grow.
    std::size_t byteLimit = 0;
    // Bytes the store grows by, at least one node and at most BookStoreStep,
    // which the program keeps; a fuzzing run, which loads a tiny book per
    // input, takes a small step so that no input pays for a megabyte.
    std::size_t storeStep = BookStoreStep;
};

// A line as the loader hands it over: moves in playing order (0 a pass the
// loader inserted), values from Black's point of view.
constexpr int MaxBookMoves = 128;
struct BookLine {
    std::uint8_t moves[MaxBookMoves];
    int moveCount = 0;
    std::int8_t leafValue = 0;
    std::int8_t minimaxValue = 0;
    std::int32_t lineCount = 1;
};

// Results of InsertBookLine (the message ids of the book errors).
constexpr int BookOutOfMemory = 3202;
constexpr int BookLongerLineExists = 3203;
constexpr int BookShorterLineExists = 3204;
constexpr int BookSameLineExists = 3205;

// The program's one book.
OpeningBook& TheOpeningBook();

// 0, or one of the four results above; on any of those the book is unchanged.
int InsertBookLine(OpeningBook& book, const BookLine& line);
// The node the whole move list leads to, or null.
const BookNode* FindBookNode(const OpeningBook& book, const std::uint8_t* moves, int moveCount);
// Trims the store to the nodes in use, or releases it when there are none.
void FinishOpeningBook(OpeningBook& book);
void ReleaseOpeningBook(OpeningBook& book);
inline std::int32_t BookNodeCount(const OpeningBook& book) { return book.count; }

// The two values a book node can be judged by (StandardType).
enum BookValueKind { LeafEvaluation = 0, MinimaxEvaluation = 1 };
inline int BookNodeValue(const BookNode& node, int standardType) {
    return standardType == MinimaxEvaluation ? node.minimaxValue : node.leafValue;
}

// How the computer takes a book move: the value kind, the threshold below
// which no book move is played and the cap above which values count as equal
// (the two halves of StandardValue), and the thinking display to show the
// chosen value in (null: nothing shown).
struct BookChoice {
    int standardType = LeafEvaluation;
    int threshold = 0;
    int cap = 0;
    const ThinkingDisplay* display = nullptr;
};

// The book move to play in pos (the game's board and side to move, with
// moveNumber moves played): its real square (0 a pass), or -1 when the
// position is not in the book or no move reaches the threshold. Draws from
// the program's pseudo-random generator. pos is left as it was.
int ChooseBookMove(const OpeningBook& book, const Position& pos, int moveNumber, const BookChoice& choice);

// One entry of the book-move list: the node and the real square of its move.
struct BookMoveEntry {
    const BookNode* node;  // null ends the list
    Square square;
};
struct BookMoveList {
    BookMoveEntry entries[MaxMoves + 1];
};

// Fills list with every book move of pos, best value (of standardType) first,
// equal values by line count, then in book order; 0. Without a match -1, and
// the list is left alone.
int ListBookMoves(const OpeningBook& book, const Position& pos, int moveNumber, int standardType,
                  BookMoveList& list);
