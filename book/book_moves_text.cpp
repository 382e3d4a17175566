#include "book/book_moves_text.h"

#include <cstdio>

#include "core/notation.h"

std::string BookMoveLineText(int rank, const BookMoveEntry& entry, int standardType) {
    char text[64];
    std::snprintf(text, sizeof text, " %2d  %s  %6s%10d", rank, SquareText(entry.square).c_str(),
                  ValueText(BookNodeValue(*entry.node, standardType)).c_str(), static_cast<int>(entry.node->lineCount));
    return text;
}

std::string BookNodeCountText(std::int32_t nodes) {
    return "\x8E\x67\x97\x70\xBE\xD9\x90\x94\n" + std::to_string(nodes);
}
