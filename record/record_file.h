// Record files (*.rgm): the text a game is saved as and the reading of it
// back into a game. One section "Record of Games" with the header keys and
// one numbered key per ply; every line ends with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/board.h"
#include "record/game_record.h"

inline constexpr char RecordSection[] = "Record of Games";
inline constexpr char RecordApplication[] = "Tavix";

// A game as a record holds it: the position after the plies read (counters
// recounted), the history with its cursor after the last ply, and the
// player kinds (-1 a person, 0..9 a computer level), Black first.
struct RecordGame {
    Position position;
    GameRecord record;
    std::int32_t kinds[2];
};

// Local date and time of saving.
struct RecordTime {
    int year, month, day, hour, minute, second;
};

// The start of the game: every recorded ply before the cursor taken back.
void GameStart(const Position& current, const GameRecord& history, Position& start);
// The standard initial position with Black to move.
bool IsStandardStart(const Position& start);

// The whole record text of a game, all recorded plies from its start
// whatever ply the cursor stands at. Nothing of the game is changed.
std::string ComposeRecordText(const Position& current, const GameRecord& history, const std::int32_t kinds[2],
                              const RecordTime& when);

// Reads a record file's bytes into out. False when the text is no record of
// this program (Application is not exactly "Tavix"); out is then untouched.
// Otherwise it always succeeds: a bad Board value means the standard start,
// and the plies are read up to the first that is missing, malformed or not
// legal.
bool ReadRecordText(std::string_view bytes, RecordGame& out);
