// The tournament-archive file format: a 16-byte header, then fixed-size
// records, little-endian. Game files (*.wtb) hold 68-byte games; the player
// file (WTHOR.JOU) 20-byte names and the tournament file (WTHOR.TRN) 26-byte
// names, NUL-padded, in the Western 8-bit code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int WthorHeaderSize = 16;
constexpr int WthorGameSize = 68;
constexpr int WthorPlayerSize = 20;
constexpr int WthorTournamentSize = 26;
constexpr int WthorMoveRoom = 60;

struct WthorHeader {
    int century = 20, year = 0, month = 1, day = 1;  // creation date
    std::int32_t count = 0;      // games of a game file
    std::int32_t nameCount = 0;  // names of a player or tournament file (N2)
    int gameYear = 0;            // the year of a game file's games
    int boardSize = 8;           // 0 or 8: 8 x 8
    int solitaire = 0;
    int depth = 22;              // empties of the theoretical score (0 stored means 22)
};

// One game as stored: the moves are squares row * 10 + column (a1 = 11),
// 0 after the last; passes are not written.
struct WthorGame {
    int tournament = 0, black = 0, white = 0;
    int blackDiscs = 0;   // final count, empty squares given to the winner
    int theoretical = 0;  // Black's discs with perfect play from depth empties
    std::uint8_t moves[WthorMoveRoom] = {};
};

// What is wrong with a file or one of its records; record is counted from 1,
// 0 for the file as a whole.
enum class WthorFault {
    ShortHeader,          // fewer than 16 bytes
    CountBeyondFile,      // the header promises more records than the file holds
    TruncatedRecord,      // the file ends inside a record
    NotEightByEight,      // a board size other than 8
    BadSquare,            // a move byte that is no square
    IllegalMove,          // a move that cannot be played where it stands
};

struct WthorProblem {
    WthorFault fault;
    int record;   // 1-based; 0 the whole file
    int detail;   // the promised count, the move number, the bad byte ...
};

bool ReadWthorHeader(std::string_view bytes, WthorHeader& out);
// The names of a player or tournament file, each converted to UTF-8; the
// records the file holds in full, at most the header's count.
std::vector<std::string> ReadWthorNames(std::string_view bytes, int width, std::vector<WthorProblem>& problems);
// The games a game file holds in full, at most the header's count.
std::vector<WthorGame> ReadWthorGames(std::string_view bytes, WthorHeader& header,
                                      std::vector<WthorProblem>& problems);

// Western (Windows-1252) bytes to UTF-8; NUL ends the name, trailing blanks go.
std::string Utf8FromWestern(std::string_view bytes);

std::string ComposeWthorHeader(const WthorHeader& header);
// name bytes are written as they are (Western code page), cut or NUL-padded.
std::string ComposeWthorNames(const WthorHeader& header, const std::vector<std::string>& names, int width);
std::string ComposeWthorGames(const WthorHeader& header, const std::vector<WthorGame>& games);
