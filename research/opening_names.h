// The named openings the shipped book was built from, and where a game
// stands among them and in the book. Portable code.
#pragma once

#include <string>
#include <vector>

#include "book/book_tree.h"
#include "research/game_review.h"

struct NamedOpening {
    std::string name;
    std::vector<Square> moves;  // from f5
};

// The list compiled into the program (tools/book/opening-names.tsv).
const std::vector<NamedOpening>& NamedOpenings();
// Lines "name<TAB>moves"; blank lines, lines starting with '#' and lines
// whose moves do not read as squares are left out.
std::vector<NamedOpening> ParseNamedOpenings(const std::string& text);

// The longest named line the game's first moves follow under one of the four
// symmetries of the start, and the number of plies the game stays in book
// (null book: 0). A game from a set-up start has neither.
OpeningInfo FindOpening(const ReviewGame& game, const std::vector<NamedOpening>& names, const OpeningBook* book);
