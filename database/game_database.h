// The game database: every game of a folder of tournament-archive files,
// replayed into compact form, and the position query over them: the moves
// played next from a position (or any of its seven symmetric images) and
// the games that reached it, under the player, tournament and year filters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/board.h"
#include "database/wthor.h"
#include "record/record_file.h"

// A file of the folder: its name (UTF-8, as shown in reports) and bytes.
struct DatabaseFile {
    std::string name;
    std::string bytes;
};

// A game as kept: the moves as bit indices (a1 = 0 .. h8 = 63), the legal
// ones only.
struct DatabaseGame {
    std::uint16_t year;
    std::uint16_t tournament, black, white;
    std::uint8_t blackDiscs, theoretical;
    std::uint8_t moveCount;
    std::uint8_t moves[WthorMoveRoom];
};

struct DatabaseProblem {
    std::string file;
    WthorFault fault;
    int record;  // 1-based, 0 the whole file
    int detail;
};

struct GameDatabase {
    std::vector<std::string> players;      // UTF-8
    std::vector<std::string> tournaments;  // UTF-8
    std::vector<DatabaseGame> games;
    std::vector<DatabaseProblem> problems;
    int gameFiles = 0;
    int depth = 22;  // empties of the theoretical scores (of the last game file read)
};

// Which files of a folder the database reads, by name: WTHOR.JOU, WTHOR.TRN
// and every *.wtb, in any letter case.
bool IsDatabaseFileName(std::string_view name);

// Reads the files (in the order given) into db, replacing what it held. A
// damaged file or record is reported in db.problems and the rest kept: a
// record cut short is dropped, and a game with a move that is no square or
// cannot be played is kept up to the move before it.
void LoadDatabase(const std::vector<DatabaseFile>& files, GameDatabase& db);

// One report line (UTF-8): the file, the record and what is wrong.
std::string DatabaseProblemText(const DatabaseProblem& problem);

struct DatabaseFilter {
    std::string player;      // part of Black's or White's name, any letter case; empty: any
    std::string tournament;  // part of the tournament's name; empty: any
    int yearFrom = 0, yearTo = 65535;
};

// A move played next from the queried position, in that position's own
// orientation, and how the games that played it ended.
struct NextMoveStats {
    Square move;
    int games = 0, blackWins = 0, draws = 0, whiteWins = 0;
    long long blackDiscs = 0;  // sum of Black's final discs
};

// A game that reached the queried position, and the symmetry (0..7) that
// takes the queried position to the game's.
struct GameMatch {
    int game;
    int symmetry;
};

struct DatabaseAnswer {
    std::vector<NextMoveStats> moves;  // most played first, then by square
    std::vector<GameMatch> games;      // newest year first, then in file order
};

// A position is the same game position when its discs and its side to
// move are (a side that must pass counts as the other side to move).
DatabaseAnswer QueryDatabase(const GameDatabase& db, const Position& pos, const DatabaseFilter& filter);

// The whole game of a match as a record from the standard start, turned so
// that after moves moves it stands on the queried position; the history's
// cursor is left there (before a pass that follows). False when the game's
// moves could not all be recorded.
bool DatabaseGameRecord(const GameDatabase& db, const GameMatch& match, int moves, RecordGame& out);

// The lines the database window lists and tavix-cli prints, tab-separated
// (UTF-8): "f5 games black-wins draws white-wins average-black-discs" and
// "year tournament black white black-discs theoretical".
std::string NextMoveLine(const NextMoveStats& move);
std::string GameLine(const GameDatabase& db, const GameMatch& match);

// The symmetries of the board on bit indices: bit 1 transposes (a1-h8
// diagonal), bit 2 turns the rows over, bit 4 the columns.
constexpr int BoardSymmetries = 8;
int TransformBit(int symmetry, int bit);
int InverseSymmetry(int symmetry);
