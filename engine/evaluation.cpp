#include "engine/evaluation.h"

#include <cstring>

#include "core/bitboard.h"
#include "engine/random.h"

const std::int32_t WeightSets[3][WeightCount] = {
    {20, -3, -2, -9, -8, 30, 200, 150, -150, -100, -20, -150},
    {24, -20, -2, -15, -8, 27, 198, 133, -150, -110, -40, -149},
    {29, -22, 0, -14, -8, 15, 197, 139, -154, -106, -28, -158},
};

int SelectWeights(EngineState& es, int set) {
    if (set < 0 || set > 2) set = NextRandom() % 3;
    std::memcpy(es.evalWeights, WeightSets[set], sizeof es.evalWeights);
    return set;
}

namespace {

inline bool IsDisc(std::uint8_t c) { return c == Black || c == White; }

// Flags every disc of the run that starts at from and ends at to (inclusive).
inline void FlagRun(EngineState& es, Square from, Square to, int d, std::uint8_t flag) {
    for (Square q = from;; q += d) {
        es.discFlags[q] |= flag;
        if (q == to) break;
    }
}

// One open end of a mixed block. runStart/runEnd list the block's runs from
// this end inward; beyond is the empty square next to the end disc and
// emptiesBeyond the empties there.
void MarkOpenEnd(EngineState& es, const Position& pos, Square beyond, int emptiesBeyond,
                 const Square* runStart, const Square* runEnd, int runs, int inward) {
    const Square endDisc = runStart[0];
    if (pos.board[endDisc] == Black) ++es.whiteCaptures[beyond];
    else ++es.blackCaptures[beyond];
    es.discFlags[endDisc] |= OpenEnd;
    FlagRun(es, runStart[0], runEnd[0], inward, Exposed);
    const int k = emptiesBeyond < runs - 1 ? emptiesBeyond : runs - 1;
    for (int r = 1; r < k; ++r) FlagRun(es, runStart[r], runEnd[r], inward, SemiExposed);
}

}  // namespace

void LineScan(EngineState& es, const Position& pos, Square first, int d) {
    const std::uint8_t* b = pos.board;
    Square s = first;
    int before = 0;
    while (b[s] == Empty) { ++before; s += d; }
    while (IsDisc(b[s])) {
        // The block's runs, in scan order (a line holds at most 8 discs).
        Square start[8], end[8];
        int runs = 0;
        const Square blockStart = s;
        while (IsDisc(b[s])) {
            start[runs] = s;
            const std::uint8_t c = b[s];
            while (b[s] == c) s += d;
            end[runs] = s - d;
            ++runs;
        }
        const Square blockEnd = s - d;
        int after = 0;
        while (b[s] == Empty) { ++after; s += d; }
        if (runs == 1) {
            if (before > 0 && after > 0) {
                es.discFlags[blockStart] |= LoneEnd;
                es.discFlags[blockEnd] |= LoneEnd;
                FlagRun(es, blockStart, blockEnd, d, SemiExposed);
            }
        } else {
            if (before > 0) MarkOpenEnd(es, pos, blockStart - d, before, start, end, runs, d);
            if (after > 0) {
                // The same from the far end: runs listed inward, walking back.
                Square rStart[8], rEnd[8];
                for (int r = 0; r < runs; ++r) {
                    rStart[r] = end[runs - 1 - r];
                    rEnd[r] = start[runs - 1 - r];
                }
                MarkOpenEnd(es, pos, blockEnd + d, after, rStart, rEnd, runs, -d);
            }
        }
        before = after;
    }
}

namespace {

// What the corner terms read of a board and its last line scan: the cells
// with the frame around them, the Exposed and SemiExposed flags and the
// capture directions of each colour (counted up to 2, all the rules ask).
// Two forms: the mailbox with the scratch state, and the fast board.
struct MailboxView {
    const EngineState* es;
    const Position& pos;
    std::uint8_t Cell(Square sq) const { return pos.board[sq]; }
    bool IsExposed(Square sq) const { return es->discFlags[sq] & Exposed; }
    bool IsExposedOrSemi(Square sq) const { return es->discFlags[sq] & (Exposed | SemiExposed); }
    int BlackCaptures(Square sq) const { return es->blackCaptures[sq]; }
    int WhiteCaptures(Square sq) const { return es->whiteCaptures[sq]; }
    int LoneC(Square corner, int d) const;
    int EdgeRun(Square corner, int d, int e) const;
};

struct DiscView {
    Bits black, white, exposed, exposedOrSemi;
    Bits blackOne, blackTwo, whiteOne, whiteTwo;  // at least one, at least two directions
    static bool Has(Bits set, Square sq) {
        const int bit = BitOfCell(sq);
        return bit != NoBit && ((set >> bit) & 1);
    }
    std::uint8_t Cell(Square sq) const {
        if (BitOfCell(sq) == NoBit) return Border;
        return Has(black, sq) ? Black : Has(white, sq) ? White : Empty;
    }
    bool IsExposed(Square sq) const { return Has(exposed, sq); }
    bool IsExposedOrSemi(Square sq) const { return Has(exposedOrSemi, sq); }
    int BlackCaptures(Square sq) const { return Has(blackTwo, sq) ? 2 : Has(blackOne, sq) ? 1 : 0; }
    int WhiteCaptures(Square sq) const { return Has(whiteTwo, sq) ? 2 : Has(whiteOne, sq) ? 1 : 0; }
    static constexpr Bits At(Square sq) { return BitAt(BitOfSquare(sq)); }
    // As LoneCSquare and EdgeRunPattern, on the sets of squares (the corners
    // are fixed, so the squares fold into constants).
    int LoneC(Square corner, int d) const {
        const Bits c = At(corner + d), next = At(corner + 2 * d), third = At(corner + 3 * d);
        if ((black | white) & next) return 0;
        if (black & c) return (white & third) ? 0 : 1;
        if (white & c) return (black & third) ? 0 : -1;
        return 0;
    }
    int EdgeRun(Square corner, int d, int e) const {
        Bits run = 0;
        for (int k = 2; k <= 6; ++k) run |= At(corner + k * d);
        const Bits y = At(corner + 2 * d + e), far = At(corner + 7 * d);
        if ((black | white) & At(corner + d)) return 0;
        if (black & y) return (black & run) == run && !(black & far) ? 1 : 0;
        if (white & y) return (white & run) == run && !(white & far) ? -1 : 0;
        return 0;
    }
};

template <class View>
int LoneCSquareIn(const View& v, Square corner, int d) {
    const std::uint8_t c = v.Cell(corner + d);
    if (c == Empty) return 0;
    if (v.Cell(corner + 2 * d) != Empty) return 0;
    if (v.Cell(corner + 3 * d) == Opponent(c)) return 0;
    return c == Black ? 1 : -1;
}

template <class View>
int EdgeRunPatternIn(const View& v, Square corner, int d, int e) {
    if (v.Cell(corner + d) != Empty) return 0;
    const std::uint8_t y = v.Cell(corner + 2 * d + e);
    if (!IsDisc(y)) return 0;
    Square s = corner + 2 * d;
    while (v.Cell(s) == y) s += d;
    if (v.Cell(s) == Border || v.Cell(s + d) != Border) return 0;
    return y == Black ? 1 : -1;
}

template <class View>
bool EdgeThreatHoldsIn(const View& v, Square corner, int d) {
    Square s = corner + d;
    if (!v.IsExposed(s)) return false;
    const std::uint8_t x = v.Cell(s);
    while (v.IsExposed(s)) s += d;
    if (v.Cell(s) != Empty) return true;
    const std::uint8_t y = v.Cell(s - d);
    const Square t = s + d;
    if (v.Cell(t) != y) return v.IsExposed(t);
    if (!v.IsExposed(t)) return true;
    Square u = t + d;
    while (v.Cell(u) == y) u += d;
    if (v.Cell(u) == Border) return false;
    u += d;
    while (v.Cell(u) == x) u += d;
    return v.Cell(u) == y;
}

struct CornerSpec {
    Square corner;
    int d1, d2;
};

constexpr CornerSpec Corners[4] = {{11, 1, 10}, {81, -10, 1}, {18, -1, 10}, {88, -10, -1}};

// One corner's terms; the corner a constant, so that the board form's
// squares fold into fixed bits.
template <int K, class View>
inline __attribute__((always_inline)) int CornerTerms(const View& v, const std::int32_t* w, int leafSide) {
    constexpr CornerSpec c = Corners[K];
    const std::uint8_t held = v.Cell(c.corner);
    if (held == Black) return w[6];
    if (held == White) return -w[6];
    int sum = 0;
    const Square x = c.corner + c.d1 + c.d2;
    const int bc = v.BlackCaptures(c.corner);
    const int wc = v.WhiteCaptures(c.corner);
    auto threat = [&] { return EdgeThreatHoldsIn(v, c.corner, c.d1) || EdgeThreatHoldsIn(v, c.corner, c.d2); };
    if (leafSide == 0) {
        if (bc > 0) sum += w[7];
        else if (wc >= 2) sum -= w[7];
        else if (wc == 1 && (v.Cell(x) == Black || threat())) sum -= w[7];
    } else {
        if (wc > 0) sum -= w[7];
        else if (bc >= 2) sum += w[7];
        else if (bc == 1 && (v.Cell(x) == White || threat())) sum += w[7];
    }
    if (v.IsExposedOrSemi(x)) sum += v.Cell(x) == Black ? w[8] : -w[8];
    sum += w[9] * (v.LoneC(c.corner, c.d2) + v.LoneC(c.corner, c.d1));
    const int t = v.EdgeRun(c.corner, c.d2, c.d1) + v.EdgeRun(c.corner, c.d1, c.d2);
    if (t == 2) sum += w[11];
    else if (t == 1) sum += w[10];
    else if (t == -1) sum -= w[10];
    else if (t == -2) sum -= w[11];
    return sum;
}

template <class View>
int CornersAndRounding(const View& v, const std::int32_t* w, int leafSide, std::int32_t sum) {
    sum += CornerTerms<0>(v, w, leafSide) + CornerTerms<1>(v, w, leafSide) + CornerTerms<2>(v, w, leafSide) +
           CornerTerms<3>(v, w, leafSide);
    return (sum + 2) >> 2;
}

struct LineStart {
    Square first;
    int direction;
};

constexpr LineStart ScanLines[38] = {
    {11, 1},  {21, 1},  {31, 1},  {41, 1},  {51, 1},  {61, 1},  {71, 1},  {81, 1},
    {11, 10}, {12, 10}, {13, 10}, {14, 10}, {15, 10}, {16, 10}, {17, 10}, {18, 10},
    {61, 11}, {51, 11}, {41, 11}, {31, 11}, {21, 11}, {11, 11}, {12, 11}, {13, 11},
    {14, 11}, {15, 11}, {16, 11},
    {13, 9},  {14, 9},  {15, 9},  {16, 9},  {17, 9},  {18, 9},  {28, 9},  {38, 9},
    {48, 9},  {58, 9},  {68, 9},
};

// The square terms of one cell from its flags and capture counts.
inline std::int32_t SquareTerm(const std::int32_t* w, std::uint8_t c, std::uint8_t flags, int blackCaps,
                               int whiteCaps) {
    if (c == Empty) return (blackCaps > 0 ? w[0] : 0) - (whiteCaps > 0 ? w[0] : 0);
    std::int32_t term = 0;
    if (flags & OpenEnd) term += w[1];
    else if (flags & LoneEnd) term += w[2];
    if (flags & Exposed) term += w[3];
    else if (flags & SemiExposed) term += w[4];
    else term += w[5];
    return c == Black ? term : -term;
}

// The flags of the line scan as sets of squares, summed over the lines.
struct FlagSets {
    Bits openEnd = 0, loneEnd = 0, exposed = 0, semiExposed = 0;
    Bits blackOne = 0, blackTwo = 0, whiteOne = 0, whiteTwo = 0;
};

inline void CountDirection(Bits captures, Bits& one, Bits& two) {
    two |= one & captures;
    one |= captures;
}

// The line scan of every line of one orientation at once. A step towards
// the far end of a line is a shift by S; squares with no neighbour that way
// are outside PlusMask (and outside MinusMask for the near end), so no step
// leaves its line. Runs are found by fills through the squares whose
// neighbour holds the same colour.
template <int S, Bits PlusMask, Bits MinusMask>
inline __attribute__((always_inline)) void ScanOrientation(Bits b, Bits w, FlagSets& f) {
    auto stepP = [](Bits x) { return (x << S) & PlusMask; };
    auto stepM = [](Bits x) { return (x >> S) & MinusMask; };
    const Bits discs = b | w, empty = ~discs;
    // Squares whose near (far) neighbour has the same colour: the fills'
    // paths, which never cross the edge of a line.
    const Bits sameP = (b & stepP(b)) | (w & stepP(w));
    const Bits sameM = stepM(sameP);
    const Bits sameP2 = sameP & (sameP << S), sameP4 = sameP2 & (sameP2 << 2 * S);
    const Bits sameM2 = sameM & (sameM >> S), sameM4 = sameM2 & (sameM2 >> 2 * S);
    // The whole runs of the given run ends, filled towards the far (near) end.
    auto fillP = [&](Bits g) {
        g |= sameP & (g << S);
        g |= sameP2 & (g << 2 * S);
        return g | (sameP4 & (g << 4 * S));
    };
    auto fillM = [&](Bits g) {
        g |= sameM & (g >> S);
        g |= sameM2 & (g >> 2 * S);
        return g | (sameM4 & (g >> 4 * S));
    };
    const Bits emptyNear = stepP(empty), emptyFar = stepM(empty);  // the neighbour that way is empty
    const Bits runEmptyNear = fillP(emptyNear & discs), runEmptyFar = fillM(emptyFar & discs);
    const Bits runOtherNear = fillP(discs & stepP(discs) & ~sameP);
    const Bits runOtherFar = fillM(discs & stepM(discs) & ~sameM);
    // End runs of mixed blocks with an empty square beyond: Exposed.
    const Bits endNear = runEmptyNear & runOtherFar, endFar = runEmptyFar & runOtherNear;
    f.exposed |= endNear | endFar;
    f.openEnd |= (endNear & emptyNear) | (endFar & emptyFar);
    CountDirection(stepM(endNear & emptyNear & w), f.blackOne, f.blackTwo);
    CountDirection(stepP(endFar & emptyFar & w), f.blackOne, f.blackTwo);
    CountDirection(stepM(endNear & emptyNear & b), f.whiteOne, f.whiteTwo);
    CountDirection(stepP(endFar & emptyFar & b), f.whiteOne, f.whiteTwo);
    // One-colour blocks between empty squares.
    const Bits lone = runEmptyNear & runEmptyFar;
    f.semiExposed |= lone;
    f.loneEnd |= lone & (emptyNear | emptyFar);
    // The deeper runs of a mixed block within reach from an open end: run j
    // (j >= 2) when j empties lie beyond and it is not the block's last run.
    // A line of eight leaves room for j = 2 and 3 only.
    const Bits twoNear = endNear & emptyNear & stepP(emptyNear);
    if (twoNear) {
        const Bits first = fillP(twoNear);
        const Bits second = fillP(stepP(first) & ~first) & runOtherFar;
        f.semiExposed |= second;
        const Bits threeNear = twoNear & stepP(stepP(emptyNear));
        if (threeNear && second) {
            const Bits first3 = fillP(threeNear);
            const Bits second3 = fillP(stepP(first3) & ~first3) & runOtherFar;
            f.semiExposed |= fillP(stepP(second3) & ~second3) & runOtherFar;
        }
    }
    const Bits twoFar = endFar & emptyFar & stepM(emptyFar);
    if (twoFar) {
        const Bits first = fillM(twoFar);
        const Bits second = fillM(stepM(first) & ~first) & runOtherNear;
        f.semiExposed |= second;
        const Bits threeFar = twoFar & stepM(stepM(emptyFar));
        if (threeFar && second) {
            const Bits first3 = fillM(threeFar);
            const Bits second3 = fillM(stepM(first3) & ~first3) & runOtherNear;
            f.semiExposed |= fillM(stepM(second3) & ~second3) & runOtherNear;
        }
    }
}

// Black's count minus white's over a set of squares.
inline int Balance(Bits set, Bits b, Bits w) { return CountBits(set & b) - CountBits(set & w); }

int MailboxView::LoneC(Square corner, int d) const { return LoneCSquareIn(*this, corner, d); }
int MailboxView::EdgeRun(Square corner, int d, int e) const { return EdgeRunPatternIn(*this, corner, d, e); }

}  // namespace

int LoneCSquare(const Position& pos, Square corner, int d) { return LoneCSquareIn(MailboxView{nullptr, pos}, corner, d); }

int EdgeRunPattern(const Position& pos, Square corner, int d, int e) {
    return EdgeRunPatternIn(MailboxView{nullptr, pos}, corner, d, e);
}

bool EdgeThreatHolds(const EngineState& es, const Position& pos, Square corner, int d) {
    return EdgeThreatHoldsIn(MailboxView{&es, pos}, corner, d);
}

int Evaluate(EngineState& es, const Position& pos, int leafSide) {
    std::memset(es.blackCaptures, 0, sizeof es.blackCaptures);
    std::memset(es.whiteCaptures, 0, sizeof es.whiteCaptures);
    std::memset(es.discFlags, 0, sizeof es.discFlags);
    es.leafSide = leafSide;
    for (const LineStart& line : ScanLines) LineScan(es, pos, line.first, line.direction);
    const std::int32_t* w = es.evalWeights;
    std::int32_t sum = 0;
    for (Square sq = 11; sq <= 88; ++sq)
        if (pos.board[sq] != Border)
            sum += SquareTerm(w, pos.board[sq], es.discFlags[sq], es.blackCaptures[sq], es.whiteCaptures[sq]);
    return CornersAndRounding(MailboxView{&es, pos}, w, leafSide, sum);
}

int EvaluateDiscs(EngineState& es, const Discs& discs, int leafSide) {
    constexpr Bits NotFileA = 0xFEFEFEFEFEFEFEFEull, NotFileH = 0x7F7F7F7F7F7F7F7Full;
    const Bits b = discs.black, w = discs.white;
    FlagSets f;
    ScanOrientation<1, NotFileA, NotFileH>(b, w, f);
    ScanOrientation<8, ~Bits{0}, ~Bits{0}>(b, w, f);
    ScanOrientation<9, NotFileA, NotFileH>(b, w, f);
    ScanOrientation<7, NotFileH, NotFileA>(b, w, f);
    const std::int32_t* wt = es.evalWeights;
    // A disc scores one of w1, w2 (or neither) and one of w3, w4, w5: each
    // set's balance of black and white discs, the ones further down the
    // list taken as differences of the ones above.
    const Bits exposedOrSemi = f.exposed | f.semiExposed;
    const int open = Balance(f.openEnd, b, w), openOrLone = Balance(f.openEnd | f.loneEnd, b, w);
    const int exposed = Balance(f.exposed, b, w), marked = Balance(exposedOrSemi, b, w);
    const int all = CountBits(b) - CountBits(w);
    const std::int32_t sum = wt[0] * (CountBits(f.blackOne) - CountBits(f.whiteOne)) + wt[1] * open +
                             wt[2] * (openOrLone - open) + wt[3] * exposed + wt[4] * (marked - exposed) +
                             wt[5] * (all - marked);
    const DiscView view = {b, w, f.exposed, exposedOrSemi, f.blackOne, f.blackTwo, f.whiteOne, f.whiteTwo};
    return CornersAndRounding(view, wt, leafSide, sum);
}
