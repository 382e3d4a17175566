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

// Kept out of line: the table builder calls it on a synthetic board, where
// inlining only invites false out-of-bounds warnings.
[[gnu::noinline]] void LineScan(EngineState& es, const Position& pos, Square first, int d) {
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

int LoneCSquare(const Position& pos, Square corner, int d) {
    const std::uint8_t* b = pos.board;
    const std::uint8_t c = b[corner + d];
    if (c == Empty) return 0;
    if (b[corner + 2 * d] != Empty) return 0;
    if (b[corner + 3 * d] == Opponent(c)) return 0;
    return c == Black ? 1 : -1;
}

int EdgeRunPattern(const Position& pos, Square corner, int d, int e) {
    const std::uint8_t* b = pos.board;
    if (b[corner + d] != Empty) return 0;
    const std::uint8_t y = b[corner + 2 * d + e];
    if (!IsDisc(y)) return 0;
    Square s = corner + 2 * d;
    while (b[s] == y) s += d;
    if (b[s] == Border || b[s + d] != Border) return 0;
    return y == Black ? 1 : -1;
}

bool EdgeThreatHolds(const EngineState& es, const Position& pos, Square corner, int d) {
    const std::uint8_t* b = pos.board;
    Square s = corner + d;
    if (!(es.discFlags[s] & Exposed)) return false;
    const std::uint8_t x = b[s];
    while (es.discFlags[s] & Exposed) s += d;
    if (b[s] != Empty) return true;
    const std::uint8_t y = b[s - d];
    const Square t = s + d;
    if (b[t] != y) return (es.discFlags[t] & Exposed) != 0;
    if (!(es.discFlags[t] & Exposed)) return true;
    Square u = t + d;
    while (b[u] == y) u += d;
    if (b[u] == Border) return false;
    u += d;
    while (b[u] == x) u += d;
    return b[u] == y;
}

namespace {

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

struct CornerSpec {
    Square corner;
    int d1, d2;
};

constexpr CornerSpec Corners[4] = {{11, 1, 10}, {81, -10, 1}, {18, -1, 10}, {88, -10, -1}};

int CornerTerms(const EngineState& es, const Position& pos, const CornerSpec& c) {
    const std::uint8_t* b = pos.board;
    const std::int32_t* w = es.evalWeights;
    const std::uint8_t held = b[c.corner];
    if (held == Black) return w[6];
    if (held == White) return -w[6];
    int sum = 0;
    const Square x = c.corner + c.d1 + c.d2;
    const int bc = es.blackCaptures[c.corner];
    const int wc = es.whiteCaptures[c.corner];
    if (es.leafSide == 0) {
        if (bc > 0) sum += w[7];
        else if (wc >= 2) sum -= w[7];
        else if (wc == 1 && (b[x] == Black || EdgeThreatHolds(es, pos, c.corner, c.d1) ||
                             EdgeThreatHolds(es, pos, c.corner, c.d2)))
            sum -= w[7];
    } else {
        if (wc > 0) sum -= w[7];
        else if (bc >= 2) sum += w[7];
        else if (bc == 1 && (b[x] == White || EdgeThreatHolds(es, pos, c.corner, c.d1) ||
                             EdgeThreatHolds(es, pos, c.corner, c.d2)))
            sum += w[7];
    }
    if (es.discFlags[x] & (Exposed | SemiExposed)) sum += b[x] == Black ? w[8] : -w[8];
    sum += w[9] * (LoneCSquare(pos, c.corner, c.d2) + LoneCSquare(pos, c.corner, c.d1));
    const int t = EdgeRunPattern(pos, c.corner, c.d2, c.d1) + EdgeRunPattern(pos, c.corner, c.d1, c.d2);
    if (t == 2) sum += w[11];
    else if (t == 1) sum += w[10];
    else if (t == -1) sum -= w[10];
    else if (t == -2) sum -= w[11];
    return sum;
}

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

int CornersAndRounding(const EngineState& es, const Position& pos, std::int32_t sum) {
    for (const CornerSpec& c : Corners) sum += CornerTerms(es, pos, c);
    return (sum + 2) >> 2;
}

// What LineScan does to each cell of a line, for every content of the line:
// per cell, four counters (OpenEnd, LoneEnd, Exposed, SemiExposed set by this
// line) and two (black and white capture directions), four bits each. Summed
// over the lines through a cell they give its flags (a counter above 0) and
// its capture counts (at most 8: four lines, two sides).
constexpr int MaxLineCells = 8;
constexpr int PatternCount[MaxLineCells + 1] = {1, 3, 9, 27, 81, 243, 729, 2187, 6561};

struct LineTables {
    // effects[length][pattern * length + cell]
    std::uint32_t* effects[MaxLineCells + 1];
    std::uint32_t storage[(6561 * 8) + (2187 * 7) + (729 * 6) + (243 * 5) + (81 * 4) + (27 * 3)];
    // The 38 lines as lists of squares.
    Square squares[38][MaxLineCells];
    int length[38];
    // Per square the (up to) four lines through it and the square's place
    // value in each line's pattern; unused entries point at a spare line 38
    // with place value 0.
    std::uint8_t throughLine[100][4];
    std::int32_t placeValue[100][4];

    LineTables() {
        std::uint32_t* next = storage;
        for (int len = 3; len <= MaxLineCells; ++len) {
            effects[len] = next;
            next += PatternCount[len] * len;
            // The diagonal from (9 - len, 1) in direction +11 has exactly len
            // cells between frame cells: scan each content there.
            const Square first = (9 - len) * 10 + 1;
            for (int pattern = 0; pattern < PatternCount[len]; ++pattern) {
                Position pos;
                InitBoard(pos);
                for (Square sq = 11; sq <= 88; ++sq)
                    if (pos.board[sq] != Border) pos.board[sq] = Empty;
                for (int i = 0, p = pattern; i < len; ++i, p /= 3)
                    pos.board[first + 11 * i] = static_cast<std::uint8_t>(p % 3);
                EngineState es;
                LineScan(es, pos, first, 11);
                for (int i = 0; i < len; ++i) {
                    const Square sq = first + 11 * i;
                    const std::uint8_t f = es.discFlags[sq];
                    effects[len][pattern * len + i] =
                        ((f & OpenEnd) ? 1u : 0u) | ((f & LoneEnd) ? 1u << 4 : 0u) |
                        ((f & Exposed) ? 1u << 8 : 0u) | ((f & SemiExposed) ? 1u << 12 : 0u) |
                        static_cast<std::uint32_t>(es.blackCaptures[sq]) << 16 |
                        static_cast<std::uint32_t>(es.whiteCaptures[sq]) << 20;
                }
            }
        }
        int through[100] = {};
        for (int sq = 0; sq < 100; ++sq)
            for (int j = 0; j < 4; ++j) {
                throughLine[sq][j] = 38;
                placeValue[sq][j] = 0;
            }
        for (int l = 0; l < 38; ++l) {
            int n = 0;
            for (Square sq = ScanLines[l].first; IsPlayable(sq) && n < MaxLineCells; sq += ScanLines[l].direction) {
                squares[l][n] = sq;
                throughLine[sq][through[sq]] = static_cast<std::uint8_t>(l);
                placeValue[sq][through[sq]] = PatternCount[n];
                ++through[sq];
                ++n;
            }
            length[l] = n;
        }
    }
};

const LineTables lineTables;

}  // namespace

int EvaluateByLineScan(EngineState& es, const Position& pos, int leafSide) {
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
    return CornersAndRounding(es, pos, sum);
}

int Evaluate(EngineState& es, const Position& pos, int leafSide) {
    const std::uint8_t* b = pos.board;
    std::uint32_t acc[100];
    for (Square sq = 11; sq <= 88; ++sq) acc[sq] = 0;
    // Each line's content as a base-3 number, cell i of the line being digit i.
    std::int32_t patterns[39] = {};
    for (int row = 10; row <= 80; row += 10)
        for (Square sq = row + 1; sq <= row + 8; ++sq) {
            const std::int32_t c = b[sq];
            for (int j = 0; j < 4; ++j) patterns[lineTables.throughLine[sq][j]] += c * lineTables.placeValue[sq][j];
        }
    for (int l = 0; l < 38; ++l) {
        const Square* sqs = lineTables.squares[l];
        const int len = lineTables.length[l];
        const int pattern = patterns[l];
        if (pattern == 0) continue;  // an empty line marks nothing
        const std::uint32_t* e = lineTables.effects[len] + pattern * len;
        for (int i = 0; i < len; ++i) acc[sqs[i]] += e[i];
    }
    es.leafSide = leafSide;
    const std::int32_t* w = es.evalWeights;
    // A disc's term by its flags (OpenEnd, LoneEnd, Exposed, SemiExposed as
    // bits 0..3), for a black disc; a white disc scores the negation.
    std::int32_t discTerm[16];
    for (int k = 0; k < 16; ++k)
        discTerm[k] = ((k & 1) ? w[1] : (k & 2) ? w[2] : 0) + ((k & 4) ? w[3] : (k & 8) ? w[4] : w[5]);
    constexpr std::int32_t sign[3] = {0, 1, -1};
    std::int32_t sum = 0;
    for (int l = 0; l < 8; ++l) {
        for (Square sq = (l + 1) * 10 + 1; sq <= (l + 1) * 10 + 8; ++sq) {
            const std::uint32_t a = acc[sq];
            // Each four-bit counter above 0 becomes one bit: 0, 4, 8, 12, 16, 20.
            const std::uint32_t t = (a | a >> 1 | a >> 2 | a >> 3) & 0x111111u;
            const std::uint32_t k = (t & 1u) | ((t >> 3) & 2u) | ((t >> 6) & 4u) | ((t >> 9) & 8u);
            es.discFlags[sq] = static_cast<std::uint8_t>((t & 1u) | ((t >> 3) & 2u) | ((t >> 4) & 0x10u) |
                                                         ((t >> 7) & 0x20u));
            es.blackCaptures[sq] = static_cast<std::uint8_t>((a >> 16) & 0xF);
            es.whiteCaptures[sq] = static_cast<std::uint8_t>((a >> 20) & 0xF);
            // Capture counts exist only on empty squares, disc flags only on discs.
            sum += sign[b[sq]] * discTerm[k] +
                   w[0] * (static_cast<std::int32_t>((t >> 16) & 1u) - static_cast<std::int32_t>((t >> 20) & 1u));
        }
    }
    return CornersAndRounding(es, pos, sum);
}

int EvaluateDiscs(EngineState& es, const Discs& discs, int leafSide) {
    Position pos;
    InitBoard(pos);
    for (int bit = 0; bit < 64; ++bit)
        pos.board[SquareOfBit(bit)] = (discs.black & BitAt(bit)) ? Black : (discs.white & BitAt(bit)) ? White : Empty;
    return Evaluate(es, pos, leafSide);
}
