#include "engine/order_eval.h"

#include <array>

namespace order_eval {

namespace {

constexpr int Squares[PatternCount] = {8, 8, 8, 8, 8, 7, 6, 5, 4, 9};

constexpr int Power3(int n) { return n == 0 ? 1 : 3 * Power3(n - 1); }

constexpr std::array<int, PatternCount + 1> MakeOffsets() {
    std::array<int, PatternCount + 1> t{};
    for (int p = 0; p < PatternCount; ++p) t[p + 1] = t[p] + Power3(Squares[p]);
    return t;
}

constexpr std::array<int, PatternCount + 1> Offsets = MakeOffsets();

// The base-3 number whose digits are the bits of b (a pattern's own or
// opponent's discs, read as places).
constexpr std::array<std::uint16_t, 512> MakeTernary() {
    std::array<std::uint16_t, 512> t{};
    for (int b = 0; b < 512; ++b) {
        int v = 0;
        for (int i = 8; i >= 0; --i) v = v * 3 + ((b >> i) & 1);
        t[b] = static_cast<std::uint16_t>(v);
    }
    return t;
}

constexpr std::array<std::uint16_t, 512> Ternary = MakeTernary();

inline Bits MirrorFiles(Bits x) {
    x = ((x >> 1) & 0x5555555555555555ull) | ((x & 0x5555555555555555ull) << 1);
    x = ((x >> 2) & 0x3333333333333333ull) | ((x & 0x3333333333333333ull) << 2);
    return ((x >> 4) & 0x0F0F0F0F0F0F0F0Full) | ((x & 0x0F0F0F0F0F0F0F0Full) << 4);
}

inline Bits MirrorRanks(Bits x) { return __builtin_bswap64(x); }

// Rows become files: the square of row r and file f goes to row f, file r.
inline Bits Transpose(Bits x) {
    Bits t = 0x0F0F0F0F00000000ull & (x ^ (x << 28));
    x ^= t ^ (t >> 28);
    t = 0x3333000033330000ull & (x ^ (x << 14));
    x ^= t ^ (t >> 14);
    t = 0x5500550055005500ull & (x ^ (x << 7));
    return x ^ t ^ (t >> 7);
}

// The pattern places of one orientation of the board, as bits: the four
// first rows, the diagonals from a1 and beside it, the corner's 3 x 3.
inline void Gather(Bits x, unsigned (&out)[PatternCount]) {
    constexpr Bits FileA = 0x0101010101010101ull;
    out[0] = static_cast<unsigned>(x) & 0xFF;
    out[1] = static_cast<unsigned>(x >> 8) & 0xFF;
    out[2] = static_cast<unsigned>(x >> 16) & 0xFF;
    out[3] = static_cast<unsigned>(x >> 24) & 0xFF;
    // A diagonal's squares stand in different files: multiplying by the
    // a-file gathers them into the top byte without carries.
    out[4] = static_cast<unsigned>(((x & 0x8040201008040201ull) * FileA) >> 56);
    out[5] = static_cast<unsigned>(((x & 0x0080402010080402ull) * FileA) >> 57);
    out[6] = static_cast<unsigned>(((x & 0x0000804020100804ull) * FileA) >> 58);
    out[7] = static_cast<unsigned>(((x & 0x0000008040201008ull) * FileA) >> 59);
    out[8] = static_cast<unsigned>(((x & 0x0000000080402010ull) * FileA) >> 60);
    out[9] = static_cast<unsigned>((x & 7) | ((x >> 5) & 0x38) | ((x >> 10) & 0x1C0));
}

#include "engine/order_weights.inc"

static_assert(sizeof(Weights) / sizeof(Weights[0]) == Offsets[PatternCount]);

// The weights folded for reading each pattern's places once: every place
// set is read twice among the eight orientations (forward and backward, or
// a corner's square by rows and by files; the long diagonals four times), so
// one reading of the folded table gives the same sum.
struct FoldedWeights {
    std::int16_t w[Offsets[PatternCount]];
};

// The index of the same discs read the other way: the places reversed, or a
// corner's 3 x 3 read by files instead of rows.
int OtherReading(int pattern, int index) {
    const int n = Squares[pattern];
    int digits[9];
    for (int j = 0; j < n; ++j, index /= 3) digits[j] = index % 3;
    int other = 0;
    for (int j = n - 1; j >= 0; --j) {
        const int from = pattern == 9 ? (j % 3) * 3 + j / 3 : n - 1 - j;
        other = other * 3 + digits[from];
    }
    return other;
}

FoldedWeights Fold() {
    FoldedWeights f;
    for (int p = 0; p < PatternCount; ++p) {
        const int base = Offsets[p];
        for (int i = 0; i < Offsets[p + 1] - base; ++i) {
            const int sum = Weights[base + i] + Weights[base + OtherReading(p, i)];
            f.w[base + i] = static_cast<std::int16_t>(p == 4 ? 2 * sum : sum);
        }
    }
    return f;
}

const FoldedWeights Folded = Fold();

inline int Index(unsigned own, unsigned opp) { return Ternary[own] + 2 * Ternary[opp]; }

}  // namespace

int Weight(int index) { return Weights[index]; }

const int PatternSquares[PatternCount] = {Squares[0], Squares[1], Squares[2], Squares[3], Squares[4],
                                          Squares[5], Squares[6], Squares[7], Squares[8], Squares[9]};

const int PatternOffset[PatternCount + 1] = {Offsets[0], Offsets[1], Offsets[2], Offsets[3],
                                             Offsets[4], Offsets[5], Offsets[6], Offsets[7],
                                             Offsets[8], Offsets[9], Offsets[10]};

int TableSize() { return Offsets[PatternCount]; }

void Features(Bits own, Bits opp, std::uint32_t (&index)[FeatureCount]) {
    Bits o[Orientations], p[Orientations];
    o[0] = own, p[0] = opp;
    o[1] = MirrorFiles(own), p[1] = MirrorFiles(opp);
    o[2] = MirrorRanks(o[0]), p[2] = MirrorRanks(p[0]);
    o[3] = MirrorRanks(o[1]), p[3] = MirrorRanks(p[1]);
    for (int k = 0; k < 4; ++k) o[k + 4] = Transpose(o[k]), p[k + 4] = Transpose(p[k]);
    for (int k = 0; k < Orientations; ++k) {
        unsigned a[PatternCount], b[PatternCount];
        Gather(o[k], a);
        Gather(p[k], b);
        for (int q = 0; q < PatternCount; ++q)
            index[k * PatternCount + q] = static_cast<std::uint32_t>(Offsets[q] + Ternary[a[q]] + 2 * Ternary[b[q]]);
    }
}

}  // namespace order_eval

// The sum of every feature's weight, each place set read once: the ranks
// and files of the first four lines from each edge; the diagonals beside
// the long ones in the identity, the mirror image across the files and both
// transposed readings; the long diagonals in the first two; the corners in
// the first four orientations.
int OrderEval(Bits own, Bits opp) {
    using namespace order_eval;
    const std::int16_t* const w = Folded.w;
    Bits o[6], p[6];
    o[0] = own, p[0] = opp;
    o[1] = MirrorFiles(own), p[1] = MirrorFiles(opp);
    o[2] = MirrorRanks(own), p[2] = MirrorRanks(opp);
    o[3] = MirrorRanks(o[1]), p[3] = MirrorRanks(p[1]);
    o[4] = Transpose(own), p[4] = Transpose(opp);
    o[5] = Transpose(o[1]), p[5] = Transpose(p[1]);
    unsigned a[PatternCount], b[PatternCount];
    int sum = 0;
    for (int k = 0; k < 6; ++k) {
        Gather(o[k], a);
        Gather(p[k], b);
        if (k != 1 && k != 3)
            for (int q = 0; q < 4; ++q) sum += w[Offsets[q] + Index(a[q], b[q])];
        if (k < 2) sum += w[Offsets[4] + Index(a[4], b[4])];
        if (k != 2 && k != 3)
            for (int q = 5; q < 9; ++q) sum += w[Offsets[q] + Index(a[q], b[q])];
        if (k < 4) sum += w[Offsets[9] + Index(a[9], b[9])];
    }
    return sum;
}
