// Games in the text form the game servers exchange: "(;GM[Othello]...;)",
// properties NAME[value] in any order, the start board in BO, moves B[f5],
// W[d6] with an optional "/eval/time", a pass written PA. A text may hold
// several games.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "record/record_file.h"

struct GgfGame {
    // The properties shown when choosing among the games of a file (UTF-8
    // or whatever the file holds, as written).
    std::string black, white, date, place, result;
    RecordGame game;      // from its start board, clocks summed per colour
    int movesWritten = 0; // moves and passes in the text
    int movesTaken = 0;   // of those, played (a pass the text left out is added)
};

// Whether the text starts (after blanks) as a game of this form.
bool LooksLikeGgf(std::string_view text);

// The games of the text whose board is 8 x 8 (an other size is skipped),
// in order, the first MostGgfGames of them; the moves of each are replayed
// from its start board up to the first that cannot be played. Unknown
// properties are skipped.
std::vector<GgfGame> ReadGgfGames(std::string_view text);

// A game holds a whole history (some 4 KiB): a megabyte of empty games,
// "(;)" after "(;)", would otherwise take 1.7 GB. A megabyte of real games
// holds about a thousand.
constexpr std::size_t MostGgfGames = 5000;

// The game from its start, all recorded plies with each ply's thinking time
// (the mover's clock less the clock of its previous ply); the result only
// when the game is over. Players are named as the panel names them (UTF-8).
std::string ComposeGgfText(const Position& current, const GameRecord& history, const std::int32_t kinds[2],
                           const RecordTime& when);
