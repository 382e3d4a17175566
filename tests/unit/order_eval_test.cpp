// The solver's ordering guess reads every pattern in all eight orientations:
// a board and its mirror images and rotations give the same features and the
// same guess, the sum of the features' weights; each feature indexes its own
// pattern's table, and the index spells out the pattern's squares as base-3
// digits (empty 0, own 1, opponent's 2).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/order_eval.h"

namespace {

using namespace order_eval;

// The square of row r and file f after one of the board's eight symmetries.
int Image(int bit, int symmetry) {
    int r = bit / 8, f = bit % 8;
    if (symmetry & 1) f = 7 - f;
    if (symmetry & 2) r = 7 - r;
    if (symmetry & 4) std::swap(r, f);
    return r * 8 + f;
}

Bits ImageOf(Bits x, int symmetry) {
    Bits y = 0;
    for (int b = 0; b < 64; ++b)
        if (x & BitAt(b)) y |= BitAt(Image(b, symmetry));
    return y;
}

std::vector<std::uint32_t> SortedFeatures(Bits own, Bits opp) {
    std::uint32_t index[FeatureCount];
    Features(own, opp, index);
    std::vector<std::uint32_t> v(index, index + FeatureCount);
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace

TEST(OrderEval, FeaturesAreTheSameInEveryOrientation) {
    std::mt19937_64 rng(7);
    for (int trial = 0; trial < 200; ++trial) {
        const Bits occupied = rng() | rng();
        const Bits own = occupied & rng(), opp = occupied & ~own;
        const std::vector<std::uint32_t> features = SortedFeatures(own, opp);
        std::uint32_t index[FeatureCount];
        Features(own, opp, index);
        for (int o = 0; o < Orientations; ++o)
            for (int p = 0; p < PatternCount; ++p) {
                ASSERT_GE(index[o * PatternCount + p], static_cast<std::uint32_t>(PatternOffset[p]));
                ASSERT_LT(index[o * PatternCount + p], static_cast<std::uint32_t>(PatternOffset[p + 1]));
            }
        for (int symmetry = 1; symmetry < 8; ++symmetry)
            ASSERT_EQ(SortedFeatures(ImageOf(own, symmetry), ImageOf(opp, symmetry)), features)
                << std::hex << own << " " << opp << " symmetry " << symmetry;
        // The guess reads each place set once from folded weights: the same
        // sum as every feature's weight, in every orientation.
        int sum = 0;
        for (const std::uint32_t i : features) sum += Weight(static_cast<int>(i));
        for (int symmetry = 0; symmetry < 8; ++symmetry)
            ASSERT_EQ(OrderEval(ImageOf(own, symmetry), ImageOf(opp, symmetry)), sum) << "symmetry " << symmetry;
    }
}

TEST(OrderEval, IndexSpellsThePatternsSquares) {
    // The first orientation reads the board as it stands: the first row from
    // a1, the diagonals from a1 and b1.. e1 down to the right, the corner's
    // 3 x 3 from a1 by rows.
    const std::vector<std::vector<int>> squares = {
        {0, 1, 2, 3, 4, 5, 6, 7},         {8, 9, 10, 11, 12, 13, 14, 15},
        {16, 17, 18, 19, 20, 21, 22, 23}, {24, 25, 26, 27, 28, 29, 30, 31},
        {0, 9, 18, 27, 36, 45, 54, 63},   {1, 10, 19, 28, 37, 46, 55},
        {2, 11, 20, 29, 38, 47},          {3, 12, 21, 30, 39},
        {4, 13, 22, 31},                  {0, 1, 2, 8, 9, 10, 16, 17, 18}};
    ASSERT_EQ(static_cast<int>(squares.size()), PatternCount);
    std::mt19937_64 rng(11);
    for (int trial = 0; trial < 100; ++trial) {
        const Bits occupied = rng() & rng();
        const Bits own = occupied & rng(), opp = occupied & ~own;
        std::uint32_t index[FeatureCount];
        Features(own, opp, index);
        for (int p = 0; p < PatternCount; ++p) {
            ASSERT_EQ(static_cast<int>(squares[p].size()), PatternSquares[p]);
            std::uint32_t expected = PatternOffset[p], place = 1;
            for (const int sq : squares[p]) {
                expected += place * ((own & BitAt(sq)) ? 1 : (opp & BitAt(sq)) ? 2 : 0);
                place *= 3;
            }
            EXPECT_EQ(index[p], expected) << "pattern " << p;
        }
    }
}
