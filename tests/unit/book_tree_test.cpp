// The book tree: merging and its invariants, values and counts, and the two
// lookups of a game position up to the board's symmetries.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "book/book_moves_text.h"
#include "book/book_symmetry.h"
#include "book_test_support.h"
#include "engine/random.h"
#include "engine_test_support.h"

namespace {

struct ModelLine {
    std::vector<std::uint8_t> moves;
    int leaf, minimax;  // Black's point of view
    int count;
};

bool StartsWith(const std::vector<std::uint8_t>& line, const std::vector<std::uint8_t>& prefix) {
    return line.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), line.begin());
}

// Checks every node against the lines merged so far; returns the number of
// leaves.
int CheckNode(const OpeningBook& book, int first, std::vector<std::uint8_t>& path,
              const std::vector<ModelLine>& lines, int& maxMinimax) {
    int leaves = 0;
    std::vector<std::uint8_t> seen;
    std::vector<std::size_t> firstUse;
    maxMinimax = -128;
    for (int node = first;; node += book.nodes[node].nextSibling) {
        const BookNode& n = book.nodes[node];
        EXPECT_EQ(std::count(seen.begin(), seen.end(), n.move), 0) << "siblings differ in their move";
        seen.push_back(n.move);
        path.push_back(n.move);
        const int sign = (path.size() - 1) % 2 == 0 ? 1 : -1;
        int count = 0, leaf = -999;
        std::size_t earliest = lines.size();
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (StartsWith(lines[i].moves, path)) {
                count += lines[i].count;
                leaf = std::max(leaf, sign * lines[i].leaf);
                earliest = std::min(earliest, i);
            }
        firstUse.push_back(earliest);
        EXPECT_EQ(n.lineCount, count);
        EXPECT_EQ(n.leafValue, leaf);
        if (n.firstChild == 0) {
            ++leaves;
            const auto it = std::find_if(lines.begin(), lines.end(), [&](const ModelLine& l) { return l.moves == path; });
            EXPECT_NE(it, lines.end()) << "a leaf ends a line";
            if (it != lines.end()) {
                EXPECT_EQ(n.minimaxValue, sign * it->minimax);
            }
        } else {
            int childMax = -128;
            leaves += CheckNode(book, node + n.firstChild, path, lines, childMax);
            EXPECT_EQ(n.minimaxValue, -childMax);
        }
        maxMinimax = std::max(maxMinimax, static_cast<int>(n.minimaxValue));
        path.pop_back();
        if (n.nextSibling == 0) break;
        EXPECT_GT(n.nextSibling, 0) << "links point forward";
    }
    EXPECT_TRUE(std::is_sorted(firstUse.begin(), firstUse.end())) << "siblings in the order of the file";
    return leaves;
}

int ExpectedInsertResult(const std::vector<ModelLine>& lines, const std::vector<std::uint8_t>& moves) {
    for (const ModelLine& l : lines) {
        if (l.moves == moves) return BookSameLineExists;
        if (StartsWith(l.moves, moves)) return BookLongerLineExists;
        if (StartsWith(moves, l.moves)) return BookShorterLineExists;
    }
    return 0;
}

// A random legal line of 1 to maxLength moves, as book text.
std::string RandomLineText(std::mt19937& rng, int maxLength) {
    Position pos;
    SetInitialPosition(pos);
    int colour = Black;
    std::string text;
    const int length = 1 + static_cast<int>(rng() % maxLength);
    for (int i = 0; i < length; ++i) {
        auto moves = LegalSquares(pos, colour);
        if (moves.empty()) {
            colour = Opponent(colour);
            moves = LegalSquares(pos, colour);
            if (moves.empty()) break;
        }
        // Few choices, so that lines meet and collide often.
        const Square sq = moves[rng() % std::min<std::size_t>(moves.size(), 3)];
        FlipRecord f;
        PlayMove(pos, sq, colour, f);
        text += SquareCode(sq);
        colour = Opponent(colour);
    }
    return text;
}

const std::uint8_t F5[] = {56};

}  // namespace

TEST(BookTree, MergeExampleLeafAndMinimax) {
    LoadedBook b;
    LoadBookText(b, "f5d6 +3\r\nf5f6 -1\r\n");
    const BookNode* f5 = FindBookNode(b.book, F5, 1);
    ASSERT_NE(f5, nullptr);
    EXPECT_EQ(f5->lineCount, 2);
    EXPECT_EQ(f5->leafValue, 3) << "the better line for Black";
    EXPECT_EQ(f5->minimaxValue, -1) << "White's best reply is f6";
    EXPECT_EQ(BookNodeValue(*f5, LeafEvaluation), 3);
    EXPECT_EQ(BookNodeValue(*f5, MinimaxEvaluation), -1);
    EXPECT_EQ(BookNodeCount(b.book), 3);
}

TEST(BookTree, InvariantsHoldAfterEveryMergeOfGeneratedLines) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 4; ++round) {
        OpeningBook book;
        std::vector<ModelLine> lines;
        Position work;
        for (int i = 0; i < 150; ++i) {
            std::string text = RandomLineText(rng, 3 + round * 2);
            // Some lines copy the values of a place already in the book.
            if (!lines.empty() && rng() % 5 == 0) {
                const ModelLine& source = lines[rng() % lines.size()];
                std::string prefix;
                for (std::size_t k = 0; k < 1 + rng() % source.moves.size(); ++k) prefix += SquareCode(source.moves[k]);
                text += "=" + prefix;
            } else {
                const int v = static_cast<int>(rng() % 255) - 127;
                text += ' ' + std::to_string(v);
            }
            BookLine line;
            const int parsed = ParseBookLine(text.c_str(), book, work, line);
            if (parsed != 0 || line.moveCount == 0) continue;  // a source that passes a leaf
            const std::vector<std::uint8_t> moves(line.moves, line.moves + line.moveCount);
            const int expected = ExpectedInsertResult(lines, moves);
            const int before = BookNodeCount(book);
            ASSERT_EQ(InsertBookLine(book, line), expected) << text;
            if (expected != 0) {
                EXPECT_EQ(BookNodeCount(book), before) << text;
                continue;
            }
            lines.push_back({moves, line.leafValue, line.minimaxValue, line.lineCount});
            std::vector<std::uint8_t> path;
            int rootMax = 0;
            ASSERT_EQ(CheckNode(book, 0, path, lines, rootMax), static_cast<int>(lines.size())) << text;
            if (::testing::Test::HasFailure()) FAIL() << "after " << text;
        }
        EXPECT_GE(lines.size(), 8u);
        ReleaseOpeningBook(book);
    }
}

TEST(BookTree, EquivalenceLineCopiesValuesAndWeight) {
    LoadedBook b;
    LoadBookText(b,
                 "f5d6c3 +4\r\n"
                 "f5d6c5 -2\r\n"
                 "f5d6c7 +1\r\n"
                 "f5f4e3 +0\r\n"
                 "f5f6e6=f5d6\r\n");
    ASSERT_EQ(b.report.errorLines, 0);
    const std::uint8_t f5d6[] = {56, 64}, f5f6[] = {56, 66}, f5f6e6[] = {56, 66, 65};
    const BookNode* source = FindBookNode(b.book, f5d6, 2);
    const BookNode* copy = FindBookNode(b.book, f5f6e6, 3);
    ASSERT_TRUE(source && copy);
    EXPECT_EQ(copy->lineCount, 3);
    // The source is White's move, the copy Black's: each from its mover.
    EXPECT_EQ(copy->leafValue, -source->leafValue);
    EXPECT_EQ(copy->minimaxValue, -source->minimaxValue);
    EXPECT_EQ(FindBookNode(b.book, f5f6, 2)->lineCount, 3);
    EXPECT_EQ(FindBookNode(b.book, F5, 1)->lineCount, 7);

    // With the default limits every reply of White after f5 counts as best
    // (d6 and f6 +2, f4 0, all capped at 0): the transposition weighs 3,
    // like the three lines after d6, against f4's 1.
    Position pos = GameAfter("f5");
    std::map<Square, int> chosen;
    SeedRandom(7);
    for (int i = 0; i < 7000; ++i) ++chosen[ChooseBookMove(b.book, pos, pos.moveNumber, BookChoice{})];
    EXPECT_EQ(chosen.size(), 3u);
    EXPECT_NEAR(chosen[64], 3000, 200);
    EXPECT_NEAR(chosen[66], 3000, 200);
    EXPECT_NEAR(chosen[46], 1000, 150);
}

TEST(BookTree, SymmetriesAreInvolutionsOfTheBoard) {
    for (int i = 0; i < SymmetryCount; ++i)
        for (int s = 0; s < 100; ++s) {
            const int t = TransformCell(i, s);
            ASSERT_EQ(TransformCell(i, t), s);
            ASSERT_EQ(IsPlayable(s), IsPlayable(t)) << i << " " << s;
            if (IsPlayable(s)) {
                ASSERT_EQ(TransformSquare(i, s), t);
            }
        }
    EXPECT_EQ(TransformSquare(1, 56), 65);  // f5 -> e6
    EXPECT_EQ(TransformSquare(2, 56), 43);  // f5 -> c4
    EXPECT_EQ(TransformSquare(3, 56), 34);  // f5 -> d3
    EXPECT_EQ(TransformSquare(3, Pass), Pass);
}

TEST(BookLookup, RecognisesPositionsUpToSymmetry) {
    LoadedBook b;
    LoadBookText(b,
                 "f5d6c3d3c4 +2\r\n"
                 "f5d6c5 -1\r\n"
                 "f5f6e6f4 +5\r\n"
                 "f5f4 +0\r\n");
    ASSERT_EQ(b.report.errorLines, 0);
    BookMoveList list;
    const struct {
        const char* game;
        const char* listed;  // real squares, best first
    } cases[] = {
        {"", "f5"},            // the initial position: the root list, unturned
        {"f5", "d6f4f6"},      // White's replies, best for White first
        {"f5d6", "c3c5"},
        {"c4e3", "f6f4"},      // the half turn of f5 d6
        {"e6f4", "c3e3"},      // the a1-h8 mirror image of f5 d6
        {"d3c5", "f6d6"},      // the a8-h1 mirror image of f5 d6
        {"f5f6d3", ""},        // a position the book does not hold
        {"f5f4", ""},          // reached only by a line's last move
        {"f5d6c5", ""},
    };
    for (const auto& c : cases) {
        const Position pos = GameAfter(c.game);
        const Position before = pos;
        const int r = ListBookMoves(b.book, pos, pos.moveNumber, LeafEvaluation, list);
        if (*c.listed == 0) {
            EXPECT_EQ(r, -1) << c.game;
            EXPECT_EQ(ChooseBookMove(b.book, pos, pos.moveNumber, BookChoice{LeafEvaluation, -127, 127, nullptr}), -1);
            continue;
        }
        ASSERT_EQ(r, 0) << c.game;
        EXPECT_EQ(ListedSquares(list), c.listed) << c.game;
        EXPECT_EQ(std::memcmp(&before, &pos, sizeof pos), 0);
        const int move = ChooseBookMove(b.book, pos, pos.moveNumber, BookChoice{LeafEvaluation, -127, 127, nullptr});
        EXPECT_EQ(SquareCode(move), std::string(c.listed, 2)) << c.game << ": the best value is chosen";
    }
    // The same discs with the other side to move are not in the book.
    Position other = GameAfter("f5d6");
    other.sideToMove = 1;
    EXPECT_EQ(ListBookMoves(b.book, other, other.moveNumber, LeafEvaluation, list), -1);
    // Nor is anything in an empty book, or at a negative move number.
    OpeningBook empty;
    EXPECT_EQ(ListBookMoves(empty, GameAfter(""), 0, LeafEvaluation, list), -1);
    EXPECT_EQ(ListBookMoves(b.book, GameAfter(""), -1, LeafEvaluation, list), -1);
}

TEST(BookLookup, ListOrderThresholdCapAndDisplay) {
    LoadedBook b;
    // After f5 White has d6, f6 and f4; d6 and f6 tie on value.
    LoadBookText(b,
                 "f5d6c3 -2\r\n"
                 "f5f6e6 -2\r\n"
                 "f5f6d3 -1\r\n"
                 "f5f4e3 +5\r\n");
    const Position pos = GameAfter("f5");
    BookMoveList list;
    ASSERT_EQ(ListBookMoves(b.book, pos, pos.moveNumber, LeafEvaluation, list), 0);
    EXPECT_EQ(ListedSquares(list), "f6d6f4") << "equal values by line count";
    EXPECT_EQ(list.entries[0].node->lineCount, 2);
    // The dialog's line of it: rank, full-width square, value, line count.
    EXPECT_EQ(BookMoveLineText(1, list.entries[0], LeafEvaluation), "  1  \x82\x86\x82\x55      +2         2");
    EXPECT_EQ(BookNodeCountText(BookNodeCount(b.book)), "\x8E\x67\x97\x70\xBE\xD9\x90\x94\n8");
    ASSERT_EQ(ListBookMoves(b.book, pos, pos.moveNumber, MinimaxEvaluation, list), 0);
    EXPECT_EQ(ListedSquares(list), "d6f6f4") << "minimax: d6 +2, f6 -max(-2, -1) = +1";

    struct Shown {
        int calls = 0;
        int value = 0;
        Square first = -1;
    } shown;
    const ThinkingDisplay display = {&shown, nullptr, [](void* c, const Square* line, int value) {
                                         auto& s = *static_cast<Shown*>(c);
                                         ++s.calls;
                                         s.value = value;
                                         s.first = line[0];
                                     }};
    // Cap below the threshold: never a book move, though the list still has them.
    EXPECT_EQ(ChooseBookMove(b.book, pos, 1, BookChoice{LeafEvaluation, 3, 2, &display}), -1);
    EXPECT_EQ(shown.calls, 0);
    // Cap 1: d6 and f6 (+2) count as 1 and share the choice; f4 (-5) never.
    SeedRandom(1);
    std::map<Square, int> chosen;
    for (int i = 0; i < 400; ++i) ++chosen[ChooseBookMove(b.book, pos, 1, BookChoice{LeafEvaluation, 0, 1, &display})];
    EXPECT_EQ(chosen.count(46), 0u);
    EXPECT_GT(chosen[64], 60);
    EXPECT_GT(chosen[66], 160);
    EXPECT_EQ(shown.calls, 400);
    EXPECT_EQ(shown.value, 1) << "the capped value is shown";
    EXPECT_EQ(shown.first, 0) << "with an empty line";
    // Every candidate below the threshold: the computer searches instead.
    EXPECT_EQ(ChooseBookMove(b.book, pos, 1, BookChoice{LeafEvaluation, 3, 127, nullptr}), -1);
}

TEST(BookLookup, PassInTheBookIsListedAndChosen) {
    LoadedBook b;
    LoadBookText(b, "f5f6d3g5h5h4f7h6e7 +3\r\nf5f6d3g5h5h4f7h6c5 -2\r\n");
    // After h6 Black must pass: its only book move is the pass.
    Position pos = GameAfter("f5f6d3g5h5h4f7h6");
    pos.sideToMove = 0;
    BookMoveList list;
    ASSERT_EQ(ListBookMoves(b.book, pos, pos.moveNumber, LeafEvaluation, list), 0);
    ASSERT_NE(list.entries[0].node, nullptr);
    EXPECT_EQ(list.entries[0].square, Pass);
    EXPECT_EQ(list.entries[1].node, nullptr);
    EXPECT_EQ(ChooseBookMove(b.book, pos, pos.moveNumber, BookChoice{LeafEvaluation, -127, 127, nullptr}), Pass);
    // With White to move the replay passes through the pass node.
    pos.sideToMove = 1;
    ASSERT_EQ(ListBookMoves(b.book, pos, pos.moveNumber, LeafEvaluation, list), 0);
    EXPECT_EQ(ListedSquares(list), "c5e7");
}
