// The static evaluation: a weighted sum of mobility, disc exposure along the
// lines and corner features, from black's point of view.
#pragma once

#include <cstdint>

#include "core/board.h"
#include "engine/engine_state.h"

// Rows: sets A, B, C.
extern const std::int32_t WeightSets[3][WeightCount];

// Disc flags of the line scan.
constexpr std::uint8_t OpenEnd = 0x01;
constexpr std::uint8_t LoneEnd = 0x02;
constexpr std::uint8_t Exposed = 0x10;
constexpr std::uint8_t SemiExposed = 0x20;

// Set 0..2 copies that row into the weights in force; a negative set (or
// any other value outside 0..2) picks a row with the program's pseudo-random
// generator. Returns the row used.
int SelectWeights(EngineState& es, int set);

// leafSide: 0 when black is to move in pos, 1 when white is. Walks every
// line of the mailbox with LineScan and writes the scratch state of es (the
// capture counts and disc flags); pos is not changed.
int Evaluate(EngineState& es, const Position& pos, int leafSide);

// The same value for the discs of the fast board, as the search calls it:
// every line of a direction scanned at once on sets of squares. The scratch
// state is not written.
struct Discs;
int EvaluateDiscs(EngineState& es, const Discs& discs, int leafSide);

// Parts of the evaluation, exposed for tests; each reads the scratch state of
// the last line scan.
void LineScan(EngineState& es, const Position& pos, Square first, int direction);
int LoneCSquare(const Position& pos, Square corner, int d);
int EdgeRunPattern(const Position& pos, Square corner, int d, int e);
bool EdgeThreatHolds(const EngineState& es, const Position& pos, Square corner, int d);
