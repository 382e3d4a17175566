#include "engine/endgame.h"

#include <type_traits>

#include "engine/disc_search.h"
#include "engine/search_loops.h"

int DefaultOrderDepth(int empties) {
    if (empties <= 14) return 1;
    if (empties <= 20) return (empties - 11) / 2;
    return 5;
}

namespace {

// A line of at most eight moves, one square a byte, the first move lowest:
// the small solver's lines are built by a shift instead of a copy.
using PackedLine = std::uint64_t;

void UnpackLine(PackedLine packed, Line& line) {
    int k = 0;
    for (; packed != 0; packed >>= 8) line.squares[k++] = static_cast<Square>(packed & 0xFF);
    line.squares[k] = 0;
}

// Squares of the empty list that are empty now, for the small solver.
void CollectSmallEmpties(EngineState& es, const Discs& d) {
    const Bits empty = ~(d.black | d.white);
    int n = 0;
    for (int i = 0; i < es.emptyCount; ++i)
        if (empty & BitAt(es.emptyBits[i])) {
            es.smallRank[es.emptyBits[i]] = static_cast<std::uint8_t>(n);
            es.smallBits[n++] = es.emptyBits[i];
        }
    es.smallCount = n;
}

// The last empty square, bit: own plays it if it can, else the opponent,
// else the game ends with it empty. With 63 discs on the board, black's
// count alone gives the disc difference.
template <int Own>
inline int SolveLastAt(EngineState& es, Discs d, int bit, PackedLine& line) {
    ++es.nodes;
    const Bits own = OwnDiscs<Own>(d), opp = OwnDiscs<3 - Own>(d);
    const int black = CountBits(d.black);
    if (const int n = CountLastFlips(bit, own); n > 0) {
        line = static_cast<PackedLine>(SquareOfBit(bit));
        return Own == Black ? 2 * (black + n + 1) - 64 : 2 * (black - n) - 64;
    }
    if (const int m = CountLastFlips(bit, opp); m > 0) {
        line = static_cast<PackedLine>(SquareOfBit(bit));
        return Own == Black ? 2 * (black - m) - 64 : 2 * (black + m + 1) - 64;
    }
    line = 0;
    return 2 * black - 63;
}

template <int Own>
int SolveLastDiscs(EngineState& es, const Discs& d, PackedLine& line) {
    const Bits empty = ~(d.black | d.white);
    if (!empty) {
        ++es.nodes;
        line = 0;
        return DiscDifferenceOf(d);
    }
    return SolveLastAt<Own>(es, d, std::countr_zero(empty), line);
}

template <int Own>
inline Discs AfterMove(Bits own, Bits opp, int bit, Bits flips) {
    const Bits placed = flips | BitAt(bit);
    return Own == Black ? Discs{own | placed, opp ^ flips} : Discs{opp ^ flips, own | placed};
}

// Records a move's value at a node of the small solver: fail-hard, a move
// replaces the line only when strictly better. True at a cut-off.
template <int Own>
inline bool RecordSmall(int v, int bit, PackedLine child, int& alpha, int& beta, PackedLine& line) {
    if (Own == Black ? v > alpha : v < beta) {
        (Own == Black ? alpha : beta) = v;
        line = 0;
    }
    if (line != 0) return false;
    line = static_cast<PackedLine>(SquareOfBit(bit)) | child << 8;
    return alpha >= beta;
}

// Two to eight empty squares, known in square order: each move leaves the
// others, in their order, to the other side.
template <int Own, int N>
int SolveFew(EngineState& es, Discs d, const int (&squares)[N], bool passed, int alpha, int beta,
             PackedLine& line) {
    constexpr int Opp = 3 - Own;
    line = 0;
    if (NodeMustStop(es)) return 0;
    const Bits own = OwnDiscs<Own>(d), opp = OwnDiscs<Opp>(d);
    bool moved = false;
    for (int k = 0; k < N; ++k) {
        const int bit = squares[k];
        if (!(NeighboursOf(bit) & opp)) continue;
        const Bits flips = FlipsOf(bit, own, opp);
        if (!flips) continue;
        moved = true;
        int rest[N - 1];
        for (int i = 0, n = 0; i < N; ++i)
            if (i != k) rest[n++] = squares[i];
        PackedLine child;
        const Discs next = AfterMove<Own>(own, opp, bit, flips);
        int v;
        if constexpr (N == 2) v = SolveLastAt<Opp>(es, next, rest[0], child);
        else v = SolveFew<Opp, N - 1>(es, next, rest, false, alpha, beta, child);
        if (es.stopped) return 0;
        if (RecordSmall<Own>(v, bit, child, alpha, beta, line)) break;
    }
    if (moved) return Own == Black ? alpha : beta;
    if (passed) return DiscDifferenceOf(d);
    return SolveFew<Opp, N>(es, d, squares, true, alpha, beta, line);
}

template <int Own>
int SolveSmallDiscs(EngineState& es, Discs d, int empties, bool passed, int alpha, int beta, PackedLine& line) {
    constexpr int Opp = 3 - Own;
    line = 0;
    if (empties == 0) {
        ++es.nodes;
        return DiscDifferenceOf(d);
    }
    if (empties == 1) return SolveLastDiscs<Own>(es, d, line);
    const Bits own = OwnDiscs<Own>(d), opp = OwnDiscs<Opp>(d);
    const Bits empty = ~(own | opp);
    // The squares still empty, in square order: when they are as many as the
    // count says (always, in a search), the routine for that many.
    int squares[SmallSolveEmpties], n = 0;
    for (int i = 0; i < es.smallCount; ++i)
        if (empty & BitAt(es.smallBits[i])) {
            if (n < SmallSolveEmpties) squares[n] = es.smallBits[i];
            ++n;
        }
    if (n == empties && CountBits(empty) == n) {
        auto few = [&](auto count) {
            constexpr int N = decltype(count)::value;
            int known[N];
            for (int i = 0; i < N; ++i) known[i] = squares[i];
            return SolveFew<Own, N>(es, d, known, passed, alpha, beta, line);
        };
        switch (n) {
            case 2: return few(std::integral_constant<int, 2>{});
            case 3: return few(std::integral_constant<int, 3>{});
            case 4: return few(std::integral_constant<int, 4>{});
            case 5: return few(std::integral_constant<int, 5>{});
            case 6: return few(std::integral_constant<int, 6>{});
            case 7: return few(std::integral_constant<int, 7>{});
            case 8: return few(std::integral_constant<int, 8>{});
        }
    }
    if (NodeMustStop(es)) return 0;
    bool moved = false;
    for (int i = 0; i < es.smallCount; ++i) {
        const int bit = es.smallBits[i];
        // A move flips something only next to an opponent disc.
        if (!(empty & BitAt(bit)) || !(NeighboursOf(bit) & opp)) continue;
        const Bits flips = FlipsOf(bit, own, opp);
        if (!flips) continue;
        moved = true;
        PackedLine child;
        const int v = SolveSmallDiscs<Opp>(es, AfterMove<Own>(own, opp, bit, flips), empties - 1, false, alpha,
                                           beta, child);
        if (es.stopped) return 0;
        if (RecordSmall<Own>(v, bit, child, alpha, beta, line)) break;
    }
    if (moved) return Own == Black ? alpha : beta;
    if (passed) return DiscDifferenceOf(d);
    return SolveSmallDiscs<Opp>(es, d, empties, true, alpha, beta, line);
}

template <int Own>
int SolveSmallToLine(EngineState& es, const Discs& d, int empties, bool passed, int alpha, int beta,
                     Line& line) {
    CollectSmallEmpties(es, d);
    PackedLine packed;
    const int v = SolveSmallDiscs<Own>(es, d, empties, passed, alpha, beta, packed);
    UnpackLine(packed, line);
    return v;
}

template <int Own>
int SolveDiscs(EngineState& es, const Discs& d, int empties, bool passed, int alpha, int beta, Line& line) {
    constexpr int Opp = 3 - Own;
    if (empties <= SmallSolveEmpties) return SolveSmallToLine<Own>(es, d, empties, passed, alpha, beta, line);
    line.squares[0] = 0;
    if (NodeMustStop(es)) return 0;
    MoveList list;
    const int n = GenerateDiscMoves<Own>(es, d, list);
    if (n == 0) {
        if (passed) return DiscDifferenceOf(d);
        return SolveDiscs<Opp>(es, d, empties, true, alpha, beta, line);
    }
    if (n >= 2) {
        OrderDiscMoves<Own>(es, d, DefaultOrderDepth(empties), -FullWindow, FullWindow, list, false);
        if (es.stopped) return 0;
    }
    return RunNodeLoop<Own>(es, list, n, alpha, beta, line, [&](Square sq, int a, int b, Line& child) {
        return SolveDiscs<Opp>(es, PlayedDiscs<Own>(d, BitOfCell(sq)), empties - 1, false, a, b, child);
    });
}

}  // namespace

int SolveBlack(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta, Line& line) {
    return SolveDiscs<Black>(es, DiscsOf(pos), empties, passed, alpha, beta, line);
}
int SolveWhite(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta, Line& line) {
    return SolveDiscs<White>(es, DiscsOf(pos), empties, passed, alpha, beta, line);
}
int SolveSmallBlack(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta,
                    Line& line) {
    return SolveSmallToLine<Black>(es, DiscsOf(pos), empties, passed, alpha, beta, line);
}
int SolveSmallWhite(EngineState& es, Position& pos, int empties, bool passed, int alpha, int beta,
                    Line& line) {
    return SolveSmallToLine<White>(es, DiscsOf(pos), empties, passed, alpha, beta, line);
}
int SolveLastBlack(EngineState& es, const Position& pos, Line& line) {
    PackedLine packed;
    const int v = SolveLastDiscs<Black>(es, DiscsOf(pos), packed);
    UnpackLine(packed, line);
    return v;
}
int SolveLastWhite(EngineState& es, const Position& pos, Line& line) {
    PackedLine packed;
    const int v = SolveLastDiscs<White>(es, DiscsOf(pos), packed);
    UnpackLine(packed, line);
    return v;
}

void SolveRoot(EngineState& es, Position& pos, int empties, int lo, int hi, int orderDepth, int orderLo,
               int orderHi, int slots, ResultList& results, LineBuffer& lines, bool display,
               Pacing pacing) {
    const Discs d = DiscsOf(pos);
    MoveList list;
    const int n = GenerateDiscMoves<Black>(es, d, list);
    // Without an ordering instruction the default rule orders the root.
    const int depth = orderDepth != 0 ? orderDepth : DefaultOrderDepth(empties);
    const int oLo = orderDepth != 0 ? orderLo : -FullWindow, oHi = orderDepth != 0 ? orderHi : FullWindow;
    RunRoot(
        es, pos.legalMoveCount, list, n, orderDepth != 0 || empties > SmallSolveEmpties,
        [&](MoveList& l) { OrderDiscMoves<Black>(es, d, depth, oLo, oHi, l, display); }, lo, hi, slots, empties + 1, results, lines, display, pacing, [&](Square sq, int a, int b, Line& child) {
            return SolveDiscs<White>(es, PlayedDiscs<Black>(d, BitOfCell(sq)), empties - 1, false, a, b, child);
        });
}
