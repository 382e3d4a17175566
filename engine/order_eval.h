// A guess of the final disc difference from the discs alone, for ordering
// the moves of an exact solve far from its end. It never decides a value:
// a poor guess costs nodes, not correctness.
//
// The guess is a sum over line and corner patterns: the edges, the second
// to fourth rows and files, the diagonals of four squares and more, and the
// 3 x 3 squares at the corners. Each pattern is read on the board in its
// eight orientations (mirrors and rotations), so every orientation of a
// pattern shares one weight table. The weights are fitted to exact solves
// of positions from generated games (tools/train_order_eval.cpp).
#pragma once

#include <cstdint>

#include "core/bitboard.h"

namespace order_eval {

// The patterns as places on the board in their first orientation.
constexpr int PatternCount = 10;
constexpr int Orientations = 8;
constexpr int FeatureCount = PatternCount * Orientations;

// Squares of each pattern and where its table starts in the weights.
extern const int PatternSquares[PatternCount];
extern const int PatternOffset[PatternCount + 1];

// The weights' unit: this many per disc of the final difference.
constexpr int WeightsPerDisc = 64;

// The index into the weights of every feature of the side to move's discs
// own against opp.
void Features(Bits own, Bits opp, std::uint32_t (&index)[FeatureCount]);

// The weights' count (PatternOffset[PatternCount]), and one weight.
int TableSize();
int Weight(int index);

}  // namespace order_eval

// The guessed final disc difference for the side to move, in
// order_eval::WeightsPerDisc units: the sum of the weights of its Features.
int OrderEval(Bits own, Bits opp);
