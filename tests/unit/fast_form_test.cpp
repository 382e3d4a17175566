// The engine's fast board against the plain mailbox code, side by side:
// every evaluation, every search and solve value, line and node count.
#include <gtest/gtest.h>

#include <ostream>

#include "core/bitboard.h"
#include "engine/endgame.h"
#include "engine/evaluation.h"
#include "engine/plain_search.h"
#include "engine_test_support.h"

namespace {

// Any filling of the 64 squares, legal or not, with a random density of
// discs: it reaches line contents that play rarely does.
Position RandomFilling(std::mt19937& rng) {
    Position pos;
    InitBoard(pos);
    const unsigned density = rng() % 100;
    for (Square sq = 11; sq <= 88; ++sq)
        if (pos.board[sq] != Border)
            pos.board[sq] = rng() % 100 < density ? static_cast<std::uint8_t>(1 + rng() % 2) : Empty;
    pos.sideToMove = 0;
    int b, w;
    RecountPosition(pos, b, w);
    return pos;
}

struct RootAnswer {
    std::vector<std::pair<std::vector<Square>, int>> entries;
    std::uint64_t nodes;
    bool operator==(const RootAnswer&) const = default;
};

RootAnswer AnswerOf(const EngineState& es, const ResultList& results) {
    RootAnswer a{{}, es.nodes};
    for (int i = 0; results.entries[i].line; ++i) {
        std::vector<Square> line;
        for (const Square* s = results.entries[i].line; *s; ++s) line.push_back(*s);
        a.entries.emplace_back(line, results.entries[i].value);
    }
    return a;
}

std::ostream& operator<<(std::ostream& out, const RootAnswer& a) {
    out << "nodes " << a.nodes << ":";
    for (const auto& [line, value] : a.entries) {
        out << " " << value << "/";
        for (Square s : line) out << s << ",";
    }
    return out;
}

// Runs root(es, pos, results, lines) for the fast and the plain form on
// fresh states prepared alike, and compares what they answer.
template <typename Fast, typename Plain>
void ExpectSameAnswer(const Position& start, int set, Fast fast, Plain plain, int lo, int hi) {
    EngineState a, b;
    Position pa = start, pb = start;
    SelectWeights(a, set);
    SelectWeights(b, set);
    const int e = BuildEmptyList(a, pa);
    BuildEmptyList(b, pb);
    static ResultList ra, rb;
    static LineBuffer la, lb;
    fast(a, pa, e, ra, la);
    plain(b, pb, e, rb, lb);
    const RootAnswer x = AnswerOf(a, ra), y = AnswerOf(b, rb);
    ASSERT_EQ(x, y) << "window " << lo << " " << hi << " " << PositionText(start) << "\nfast  " << x << "\nplain " << y;
    ASSERT_TRUE(SamePosition(pa, start));
}

}  // namespace

TEST(FastForm, BoardConversionAndMovesAgreeWithTheMailbox) {
    std::mt19937 rng(8);
    for (int game = 0; game < 2000; ++game) {
        const Position pos = game % 2 ? RandomFilling(rng) : RandomPosition(rng, static_cast<int>(rng() % 61));
        const Discs d = DiscsOf(pos);
        for (Square sq = 11; sq <= 88; ++sq) {
            if (!IsPlayable(sq)) continue;
            const int bit = BitOfSquare(sq);
            ASSERT_EQ(BitOfCell(sq), bit);
            ASSERT_EQ(SquareOfBit(bit), sq);
            ASSERT_EQ(((d.black >> bit) & 1) + 2 * ((d.white >> bit) & 1), pos.board[sq]);
            const bool empty = pos.board[sq] == Empty;
            ASSERT_EQ(((LegalMovesOf(d.black, d.white) >> bit) & 1) != 0, empty && CanPlay(pos, sq, Black));
            ASSERT_EQ(((LegalMovesOf(d.white, d.black) >> bit) & 1) != 0, empty && CanPlay(pos, sq, White));
            if (!empty) continue;
            for (int colour : {Black, White}) {
                // The flipped discs are exactly those PlayMove turns over.
                Position after = pos;
                FlipRecord f;
                PlayMove(after, sq, colour, f);
                const Bits own = colour == Black ? d.black : d.white, opp = colour == Black ? d.white : d.black;
                const Bits flips = FlipsOf(bit, own, opp);
                const Discs a = DiscsOf(after);
                ASSERT_EQ(flips, (colour == Black ? d.white & ~a.white : d.black & ~a.black))
                    << PositionText(pos) << " " << sq;
                ASSERT_EQ(CountBits(flips), CountFlips(pos, sq, colour));
            }
        }
    }
}

TEST(FastForm, EvaluationEqualsTheLineScanEverywhere) {
    std::mt19937 rng(2024);
    EngineState es;
    for (int game = 0; game < 6000; ++game) {
        const Position pos = game % 2 ? RandomFilling(rng) : RandomPosition(rng, static_cast<int>(rng() % 61));
        const int set = game % 3, side = (game / 3) % 2;
        SelectWeights(es, set);
        ASSERT_EQ(EvaluateDiscs(es, DiscsOf(pos), side), Evaluate(es, pos, side))
            << PositionText(pos) << " set " << set << " side " << side;
    }
}

TEST(FastForm, SearchesAnswerAsThePlainSearchNodeForNode) {
    std::mt19937 rng(12);
    for (int game = 0; game < 400; ++game) {
        Position pos = RandomPosition(rng, 4 + static_cast<int>(rng() % 54));
        if (pos.sideToMove == 1) SwapColours(pos);
        pos.sideToMove = 0;
        int b, w;
        RecountPosition(pos, b, w);
        const int depth = 1 + game % 5, set = game % 3;
        const int slots = game % 4 == 0 ? 1 : 40;
        // The full window, or a narrow one around a random value.
        const int lo = game % 2 ? -999 : static_cast<int>(rng() % 200) - 100;
        const int hi = game % 2 ? 999 : lo + 1 + static_cast<int>(rng() % 30);
        ExpectSameAnswer(
            pos, set,
            [&](EngineState& es, Position& p, int, ResultList& r, LineBuffer& l) {
                SearchRoot(es, p, depth, lo, hi, slots, r, l, false, {0, 0});
            },
            [&](EngineState& es, Position& p, int, ResultList& r, LineBuffer& l) {
                PlainSearchRoot(es, p, depth, lo, hi, slots, r, l, false, {0, 0});
            },
            lo, hi);
    }
}

TEST(FastForm, SolvesAnswerAsThePlainSolverNodeForNode) {
    std::mt19937 rng(13);
    for (int game = 0; game < 600; ++game) {
        Position pos = RandomPosition(rng, 1 + static_cast<int>(rng() % 13));
        if (pos.sideToMove == 1) SwapColours(pos);
        pos.sideToMove = 0;
        int b, w;
        RecountPosition(pos, b, w);
        const int set = game % 3, slots = game % 3 == 0 ? 1 : 40;
        // Perfect, win-loss, and a window of the analysis with its own ordering pass.
        const int kind = game % 3;
        const int lo = kind == 0 ? -64 : kind == 1 ? -1 : static_cast<int>(rng() % 20) - 10;
        const int hi = kind == 0 ? 64 : kind == 1 ? 1 : lo + 1 + static_cast<int>(rng() % 10);
        const int orderDepth = kind == 2 ? static_cast<int>(rng() % 4) : 0;
        ExpectSameAnswer(
            pos, set,
            [&](EngineState& es, Position& p, int e, ResultList& r, LineBuffer& l) {
                SolveRoot(es, p, e, lo, hi, orderDepth, -999, 999, slots, r, l, false, {0, 0});
            },
            [&](EngineState& es, Position& p, int e, ResultList& r, LineBuffer& l) {
                PlainSolveRoot(es, p, e, lo, hi, orderDepth, -999, 999, slots, r, l, false, {0, 0});
            },
            lo, hi);
    }
}
