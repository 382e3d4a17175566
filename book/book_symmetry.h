// The four board symmetries that leave the initial position unchanged, on
// the cells of the 10 x 10 board (row * 10 + column). Each is its own
// inverse and maps the border onto itself; any two compose to the symmetry
// whose index is the exclusive or of theirs.
#pragma once

#include "core/board.h"

constexpr int SymmetryCount = 4;

// A cell 0..99 of the board under symmetry index: 0 identity, 1 the a1-h8
// diagonal, 2 the half turn, 3 the a8-h1 diagonal (1, then 2).
inline int TransformCell(int index, int cell) {
    if (index & 1) cell = (cell % 10) * 10 + cell / 10;
    if (index & 2) cell = 99 - cell;
    return cell;
}

// A move under the symmetry: a pass stays a pass.
inline Square TransformSquare(int index, Square s) { return s <= 0 ? s : TransformCell(index, s); }
