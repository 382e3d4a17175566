// The six pictures of the disc strip as a list of ellipses, and where a
// picture is copied from and to. The strip is 24u x 4u: cell k covers x from
// 4u*k to 4u*k+4u.
#pragma once

#include <vector>

#include "view/layout.h"

enum DiscCell {
    EmptyCell = 0,
    BlackDiscCell = 1,
    WhiteDiscCell = 2,
    BlackEdgeCell = 3,
    WhiteEdgeCell = 4,
    MarkCell = 5,
};
constexpr int DiscCellCount = 6;

enum class DiscInk { Black, White, Grey, LightGrey, Mark, Hollow };

struct DiscEllipse {
    LayoutRect box;  // ellipse bounding box in strip coordinates
    DiscInk pen;
    DiscInk brush;   // Hollow: outline only
};

// Every ellipse of cells 1 to 5 in drawing order (later ones paint over).
std::vector<DiscEllipse> DiscSpriteEllipses(int u);

// The block of a cell that a square receives, and where it goes for a square
// (row = square / 10, column = square % 10): grid lines stay untouched.
struct DiscCopy {
    int sourceX;
    int sourceY;
    int width;
    int height;
    int destX;
    int destY;
};
DiscCopy DiscCopyFor(int u, Square sq, int cell);
