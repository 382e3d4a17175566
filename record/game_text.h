// Games and positions as the text players exchange through the clipboard:
// a transcript of moves ("f5d6c3"), a board string (64 characters a1..h8,
// a space and the side to move), or a board string, a line break and the
// moves played from it.
#pragma once

#include <string>
#include <string_view>

#include "core/board.h"
#include "record/game_record.h"

// The whole game from its start, all recorded plies, passes left out: the
// moves alone from the standard start, otherwise the start's board string,
// CR LF, then the moves. (A game of one pass and no move writes it "PA".)
std::string GameTranscriptText(const Position& current, const GameRecord& history);

// What pasted text turned out to be.
enum class PastedKind { Neither, Transcript, BoardString };

// Moves a pasted text may carry; more cannot all be legal.
constexpr int PastedMoveRoom = 128;

struct PastedText {
    PastedKind kind = PastedKind::Neither;
    Position start;                   // the board string's, or the standard start
    bool hasBoard = false;            // a board string was given
    int moveCount = 0;                // moves written, passes included
    Square moves[PastedMoveRoom];     // squares in order, 0 for a written pass
};

// Accepts a transcript in either letter case, with or without blanks, move
// numbers and dots, passes written PA or -- or left out; and a board string
// whose discs are X x * B b (black) and O o W w (white), empties - or ., blanks
// anywhere, an optional side to move (Black when missing), optionally
// followed by a transcript. Anything else is Neither.
PastedText ParsePastedText(std::string_view text);

struct PasteOutcome {
    PastedKind kind = PastedKind::Neither;  // what the text was
    bool accepted = false;   // the game was taken; false changes nothing
    int movesTaken = 0;      // moves played, passes not counted
    Square refused = -1;     // the first written move that could not be played
                             // (0 a pass); -1 when all were played
};

// The pasted game: its start position, each move replayed up to the first
// that is not legal (a pass the side to move has to make is inserted, also
// after the last move), the
// history holding them with clocks 0, the cursor at its end and the
// counters recounted. A text that is neither, or whose first move cannot be
// played, is not accepted and pos and rec are untouched.
PasteOutcome PasteGame(std::string_view text, Position& pos, GameRecord& rec);
