// The midgame search on the fast board, shared by the midgame search and the
// endgame solver. Internal to the engine: callers use midgame.h.
#pragma once

#include "core/bitboard.h"
#include "engine/midgame.h"

template <int Own>
inline Bits OwnDiscs(const Discs& d) {
    return Own == Black ? d.black : d.white;
}

// The discs after colour Own plays the legal move at bit.
template <int Own>
inline Discs PlayedDiscs(const Discs& d, int bit) {
    const Bits flips = FlipsOf(bit, OwnDiscs<Own>(d), OwnDiscs<3 - Own>(d));
    const Bits placed = flips | BitAt(bit);
    return Own == Black ? Discs{d.black | placed, d.white ^ flips} : Discs{d.black ^ flips, d.white | placed};
}

inline int DiscDifferenceOf(const Discs& d) { return CountBits(d.black) - CountBits(d.white); }

template <int Own>
int GenerateDiscMoves(const EngineState& es, const Discs& d, MoveList& list);
template <int Own>
void OrderDiscMoves(EngineState& es, const Discs& d, int depth, int lo, int hi, MoveList& list, bool display);
template <int Own>
int SearchDiscs(EngineState& es, const Discs& d, int depth, bool passed, int alpha, int beta, Line& line);
