// The lines of the book-move search dialog, in Shift-JIS.
#pragma once

#include <cstdint>
#include <string>

#include "book/book_tree.h"

// " %2d  %s  %6s%10d": the rank from 1, the square as the board names it,
// the node's value of standardType (uncapped) and its line count.
std::string BookMoveLineText(int rank, const BookMoveEntry& entry, int standardType);
// "使用ｾﾙ数\n%d" with the book's node count.
std::string BookNodeCountText(std::int32_t nodes);
