#include "book/book_tree.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "book/book_symmetry.h"
#include "engine/random.h"

OpeningBook& TheOpeningBook() {
    static OpeningBook book;
    return book;
}

namespace {

int ClampBookValue(int v) { return v < -127 ? -127 : v > 127 ? 127 : v; }

// Counts add up along every path; an equivalence line copies a whole
// subtree's count, so they stop at the largest count rather than wrap.
std::int32_t AddCounts(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return sum > INT32_MAX ? INT32_MAX : sum < 0 ? 0 : static_cast<std::int32_t>(sum);
}

// Makes room for need nodes, in whole steps of the book's storeStep; false
// (and the store as it was) when the memory cannot be had.
bool ReserveNodes(OpeningBook& book, std::int64_t need) {
    if (need <= book.capacity) return true;
    const std::int64_t perStep =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(std::min<std::size_t>(book.storeStep, BookStoreStep) /
                                                            sizeof(BookNode)));
    // Node indices and links are 32-bit.
    const std::int64_t maxSteps = INT32_MAX / perStep;
    const std::int64_t steps = (need + perStep - 1) / perStep;
    if (steps < 1 || steps > maxSteps) return false;
    const std::uint64_t wanted = static_cast<std::uint64_t>(steps * perStep) * sizeof(BookNode);
    if (wanted > SIZE_MAX) return false;
    const std::size_t bytes = static_cast<std::size_t>(wanted);
    if (book.byteLimit != 0 && bytes > book.byteLimit) return false;
    void* grown = std::realloc(book.nodes, bytes);
    if (!grown) return false;
    book.nodes = static_cast<BookNode*>(grown);
    book.capacity = static_cast<std::int32_t>(steps * perStep);
    return true;
}

// The node of move in the list that starts at node first, or -1; last
// receives the list's last node.
int FindInList(const OpeningBook& book, int first, int move, int& last) {
    int node = first;
    for (;;) {
        if (book.nodes[node].move == move) return node;
        if (book.nodes[node].nextSibling == 0) {
            last = node;
            return -1;
        }
        node += book.nodes[node].nextSibling;
    }
}

// The depth-first replay that finds the game's position in the tree.
struct Recognition {
    const OpeningBook& book;
    int gameSide;
    std::uint8_t copies[SymmetryCount][100];
    Position replay;
    int list = -1;
    int symmetry = 0;

    bool Visit(int first, int depth, int side) {
        if (depth < 0) return false;
        if (depth == 0 && side == gameSide) {
            for (int i = 0; i < SymmetryCount; ++i) {
                bool same = true;
                for (int row = 10; row <= 80 && same; row += 10)
                    for (Square q = row + 1; q <= row + 8; ++q)
                        if (replay.board[q] != copies[i][q]) {
                            same = false;
                            break;
                        }
                if (same) {
                    list = first;
                    symmetry = i;
                    return true;
                }
            }
            return false;
        }
        for (int node = first;; node += book.nodes[node].nextSibling) {
            const BookNode& n = book.nodes[node];
            if (n.firstChild != 0) {
                const int replies = node + n.firstChild;
                if (n.move == Pass) {
                    if (Visit(replies, depth, side ^ 1)) return true;
                } else {
                    FlipRecord flips;
                    const int colour = ColourOfSide(side);
                    if (PlayMove(replay, n.move, colour, flips) > 0) {
                        const bool found = Visit(replies, depth - 1, side ^ 1);
                        UndoMove(replay, n.move, colour, flips);
                        if (found) return true;
                    }
                }
            }
            if (n.nextSibling == 0) return false;
        }
    }
};

// The list of the book that holds the candidate moves of pos, and the
// symmetry that carries its moves onto the real board; false without a match.
bool RecognisePosition(const OpeningBook& book, const Position& pos, int moveNumber, int& list, int& symmetry) {
    if (moveNumber < 0 || book.count == 0) return false;
    Recognition r{book, pos.sideToMove, {}, {}};
    for (int i = 0; i < SymmetryCount; ++i)
        for (int s = 0; s < 100; ++s) r.copies[i][TransformCell(i, s)] = pos.board[s];
    InitBoard(r.replay);
    if (!r.Visit(0, moveNumber, 0)) return false;
    list = r.list;
    symmetry = r.symmetry;
    return true;
}

// A number from 0 to n - 1, each equally likely, from the program's
// generator (15 bits a call).
std::int64_t RandomBelow(std::int64_t n) {
    if (n <= 1) return 0;
    const int calls = n <= (1 << 15) ? 1 : n <= (1 << 30) ? 2 : 3;
    const std::int64_t range = std::int64_t{1} << (15 * calls);
    const std::int64_t limit = range - range % n;
    for (;;) {
        std::int64_t r = 0;
        for (int k = 0; k < calls; ++k) r = (r << 15) | NextRandom();
        if (r < limit) return r % n;
    }
}

}  // namespace

int InsertBookLine(OpeningBook& book, const BookLine& line) {
    const int length = line.moveCount;
    if (length <= 0 || length > MaxBookMoves) return 0;
    int path[MaxBookMoves];
    int matched = 0;
    int lastInList = -1;
    if (book.count > 0) {
        int list = 0;
        for (;;) {
            int last = -1;
            const int node = FindInList(book, list, line.moves[matched], last);
            if (node < 0) {
                lastInList = last;
                break;
            }
            path[matched++] = node;
            if (book.nodes[node].firstChild == 0 || matched == length) break;
            list = node + book.nodes[node].firstChild;
        }
    }
    if (matched > 0) {
        const bool hasReplies = book.nodes[path[matched - 1]].firstChild != 0;
        if (matched == length && hasReplies) return BookLongerLineExists;
        if (matched < length && !hasReplies) return BookShorterLineExists;
        if (matched == length) return BookSameLineExists;
    }
    if (!ReserveNodes(book, static_cast<std::int64_t>(book.count) + (length - matched))) return BookOutOfMemory;

    const int first = book.count;
    const int leaf = ClampBookValue(line.leafValue);
    const int minimax = ClampBookValue(line.minimaxValue);
    const std::int32_t lineCount = line.lineCount < 0 ? 0 : line.lineCount;
    for (int k = matched; k < length; ++k) {
        const int sign = k % 2 == 0 ? 1 : -1;  // even depths are Black's moves
        BookNode& n = book.nodes[book.count++];
        n.nextSibling = 0;
        n.firstChild = k + 1 < length ? 1 : 0;
        n.move = line.moves[k];
        n.leafValue = static_cast<std::int8_t>(sign * leaf);
        n.minimaxValue = static_cast<std::int8_t>(sign * minimax);
        n.lineCount = lineCount;
    }
    if (lastInList >= 0) book.nodes[lastInList].nextSibling = first - lastInList;

    int v = book.nodes[first].leafValue;
    bool minimaxRunning = true;
    for (int j = matched - 1; j >= 0; --j) {
        BookNode& n = book.nodes[path[j]];
        v = -v;
        if (v > n.leafValue) n.leafValue = static_cast<std::int8_t>(v);
        if (minimaxRunning) {
            int best = -128;
            for (int c = path[j] + n.firstChild;; c += book.nodes[c].nextSibling) {
                best = std::max(best, static_cast<int>(book.nodes[c].minimaxValue));
                if (book.nodes[c].nextSibling == 0) break;
            }
            const int value = ClampBookValue(-best);
            if (value == n.minimaxValue) minimaxRunning = false;
            else n.minimaxValue = static_cast<std::int8_t>(value);
        }
        n.lineCount = AddCounts(n.lineCount, lineCount);
    }
    return 0;
}

const BookNode* FindBookNode(const OpeningBook& book, const std::uint8_t* moves, int moveCount) {
    if (book.count == 0 || moveCount <= 0) return nullptr;
    int list = 0;
    for (int k = 0;; ++k) {
        int last = -1;
        const int node = FindInList(book, list, moves[k], last);
        if (node < 0) return nullptr;
        if (k + 1 == moveCount) return &book.nodes[node];
        if (book.nodes[node].firstChild == 0) return nullptr;
        list = node + book.nodes[node].firstChild;
    }
}

void FinishOpeningBook(OpeningBook& book) {
    if (book.count == 0) {
        ReleaseOpeningBook(book);
        return;
    }
    if (book.count < book.capacity) {
        void* trimmed = std::realloc(book.nodes, static_cast<std::size_t>(book.count) * sizeof(BookNode));
        if (trimmed) {
            book.nodes = static_cast<BookNode*>(trimmed);
            book.capacity = book.count;
        }
    }
}

void ReleaseOpeningBook(OpeningBook& book) {
    std::free(book.nodes);
    book.nodes = nullptr;
    book.capacity = 0;
    book.count = 0;
}

int ChooseBookMove(const OpeningBook& book, const Position& pos, int moveNumber, const BookChoice& choice) {
    int list = 0, symmetry = 0;
    if (!RecognisePosition(book, pos, moveNumber, list, symmetry)) return -1;
    int best = INT_MIN;
    std::int64_t sum = 0;
    int chosen = -1;
    for (int node = list;; node += book.nodes[node].nextSibling) {
        const BookNode& n = book.nodes[node];
        const int w = std::min(BookNodeValue(n, choice.standardType), choice.cap);
        if (w >= best) {
            if (w > best) {
                best = w;
                sum = 0;
                chosen = -1;
            }
            sum += n.lineCount;
            if (RandomBelow(sum) < n.lineCount) chosen = node;
        }
        if (n.nextSibling == 0) break;
    }
    // Lines of count 0 (copied from an empty place) leave no choice.
    if (best < choice.threshold || chosen < 0) return -1;
    if (choice.display && choice.display->showBestLine) {
        const Square empty[1] = {0};
        choice.display->showBestLine(choice.display->context, empty, best);
    }
    return TransformSquare(symmetry, book.nodes[chosen].move);
}

int ListBookMoves(const OpeningBook& book, const Position& pos, int moveNumber, int standardType,
                  BookMoveList& list) {
    int first = 0, symmetry = 0;
    if (!RecognisePosition(book, pos, moveNumber, first, symmetry)) return -1;
    int n = 0;
    for (int node = first; n < MaxMoves; node += book.nodes[node].nextSibling) {
        list.entries[n++] = {&book.nodes[node], 0};
        if (book.nodes[node].nextSibling == 0) break;
    }
    BookMoveEntry* begin = list.entries;
    std::stable_sort(begin, begin + n, [](const BookMoveEntry& a, const BookMoveEntry& b) {
        return a.node->lineCount > b.node->lineCount;
    });
    std::stable_sort(begin, begin + n, [standardType](const BookMoveEntry& a, const BookMoveEntry& b) {
        return BookNodeValue(*a.node, standardType) > BookNodeValue(*b.node, standardType);
    });
    for (int i = 0; i < n; ++i) list.entries[i].square = TransformSquare(symmetry, list.entries[i].node->move);
    list.entries[n] = {nullptr, 0};
    return 0;
}
