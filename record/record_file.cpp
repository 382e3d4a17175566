#include "record/record_file.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/notation.h"
#include "record/profile_text.h"

namespace {

constexpr int PlayableSquares = 64;

Square NthSquare(int k) { return (k / 8 + 1) * 10 + (k % 8 + 1); }

char KindCharacter(std::int32_t kind) { return kind >= 0 && kind <= 9 ? static_cast<char>('0' + kind) : '*'; }

std::int32_t KindFromValue(const std::string& value) {
    return value.size() == 1 && value[0] >= '0' && value[0] <= '9' ? value[0] - '0' : -1;
}

void AppendLine(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AppendLine(std::string& text, const char* format, ...) {
    char line[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    text += line;
}

// Board value: 64 characters "0", "1", "2"; anything else gives the
// standard start.
void ReadBoard(const std::string& value, Position& pos) {
    InitBoard(pos);
    if (value.size() != PlayableSquares) return;
    Position read = pos;
    for (int k = 0; k < PlayableSquares; ++k) {
        const char c = value[k];
        if (c < '0' || c > '2') return;
        read.board[NthSquare(k)] = static_cast<std::uint8_t>(c - '0');
    }
    pos = read;
}

// Ply n's value: "e4" or "**", then a blank and the mover's clock.
bool ReadPly(Position& pos, GameRecord& rec, const std::string& value) {
    if (value.size() < 2) return false;
    const Square square = ParseSquareCode(value.c_str());
    if (square < 0) return false;
    FlipRecord flips{};
    const int colour = ColourOfSide(pos.sideToMove);
    if (square > 0) {
        if (pos.board[square] != Empty || PlayMove(pos, square, colour, flips) == 0) return false;
    } else if (CountLegalMoves(pos, pos.sideToMove) != 0) {
        return false;
    }
    const int clock = value.size() >= 3 ? ParseTimeText(value.c_str() + 3) : 0;
    if (!AppendPly(rec, square, flips, clock)) {
        if (square > 0) UndoMove(pos, square, colour, flips);
        return false;
    }
    pos.sideToMove ^= 1;
    return true;
}

std::string PlyKey(int n) {
    char key[16];
    std::snprintf(key, sizeof key, "%02d", n);
    return key;
}

}  // namespace

void GameStart(const Position& current, const GameRecord& history, Position& start) {
    start = current;
    GameRecord rec = history;
    LastMoves last;
    NavigateHistory(start, rec, HistoryStep::ToStart, last);
}

bool IsStandardStart(const Position& start) {
    Position standard;
    InitBoard(standard);
    return start.sideToMove == 0 && std::memcmp(start.board, standard.board, sizeof standard.board) == 0;
}

std::string ComposeRecordText(const Position& current, const GameRecord& history, const std::int32_t kinds[2],
                              const RecordTime& when) {
    std::string text;
    AppendLine(text, "[%s]\r\n", RecordSection);
    AppendLine(text, "%s=%s\r\n", "Application", RecordApplication);
    AppendLine(text, "%s=%02d/%02d/%02d\r\n", "Date", when.year % 100, when.month, when.day);
    AppendLine(text, "%s=%02d:%02d:%02d\r\n", "Time", when.hour, when.minute, when.second);
    Position start;
    GameStart(current, history, start);
    if (!IsStandardStart(start)) {
        std::string board;
        for (int k = 0; k < PlayableSquares; ++k) board += static_cast<char>('0' + start.board[NthSquare(k)]);
        AppendLine(text, "%s=%s\r\n", "Board", board.c_str());
        AppendLine(text, "%s=%s\r\n", "Turn", start.sideToMove == 0 ? "Black" : "White");
    }
    AppendLine(text, "%s=%c\r\n", "Black", KindCharacter(kinds[0]));
    AppendLine(text, "%s=%c\r\n", "White", KindCharacter(kinds[1]));
    GameRecord rec = history;
    SeekHistory(rec, 0);
    Square square;
    int clock;
    for (int n = 1; StepForward(rec, &square, nullptr, &clock); ++n)
        AppendLine(text, "%02d=%s %s\r\n", n, SquareCode(square).c_str(), TimeText(clock).c_str());
    return text;
}

bool ReadRecordText(std::string_view bytes, RecordGame& out) {
    const ProfileSection section = ReadProfileSection(bytes, RecordSection);
    if (ProfileValue(section, "Application") != RecordApplication) return false;
    RecordGame game;
    ReadBoard(ProfileValue(section, "Board"), game.position);
    game.position.sideToMove = ProfileValue(section, "Turn") == "White" ? 1 : 0;
    game.kinds[0] = KindFromValue(ProfileValue(section, "Black"));
    game.kinds[1] = KindFromValue(ProfileValue(section, "White"));
    ResetHistory(game.record);
    for (int n = 1; ReadPly(game.position, game.record, ProfileValue(section, PlyKey(n))); ++n) {}
    int black, white;
    RecountPosition(game.position, black, white);
    out = game;
    return true;
}
