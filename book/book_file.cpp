#include "book/book_file.h"

#include <cstdio>

#include "core/notation.h"

void OpenBookReader(BookReader& reader, BookSource source) {
    reader.source = source;
    reader.length = 0;
    reader.next = 0;
    reader.ended = false;
}

namespace {

// The next byte of the file, or -1 at its end; a failed read counts as the
// end.
int PeekByte(BookReader& r) {
    if (r.next >= r.length) {
        if (r.ended) return -1;
        r.length = r.source.read ? r.source.read(r.source.context, r.block, BookBlockSize) : 0;
        r.next = 0;
        if (r.length <= 0 || r.length > BookBlockSize) {
            r.length = 0;
            r.ended = true;
            return -1;
        }
    }
    return static_cast<unsigned char>(r.block[r.next]);
}

}  // namespace

bool ReadBookLine(BookReader& reader, char* buffer, int capacity) {
    int kept = 0;
    bool any = false;
    for (;;) {
        int c = PeekByte(reader);
        if (c < 0) break;
        ++reader.next;
        any = true;
        if (c == '\r') {
            // The LF may lie in the next block.
            if (PeekByte(reader) == '\n') {
                ++reader.next;
                break;
            }
        }
        if (kept < capacity - 1) buffer[kept++] = static_cast<char>(c);
    }
    if (capacity > 0) buffer[kept] = '\0';
    return any;
}

int ParseBookMoves(const char* text, Position& pos, BookMoves& moves) {
    InitBoard(pos);
    moves.count = 0;
    int side = 0;
    int at = 0;
    while (moves.count + 2 <= MaxBookMoves) {
        if (text[at] == '\0' || text[at + 1] == '\0') break;
        const Square sq = ParseSquareCode(text + at);
        if (sq <= 0 || pos.board[sq] != Empty) break;
        FlipRecord flips;
        if (PlayMove(pos, sq, ColourOfSide(side), flips) > 0) {
            moves.moves[moves.count++] = static_cast<std::uint8_t>(sq);
            at += 2;
            side ^= 1;
            continue;
        }
        if (CountLegalMoves(pos, side) != 0) break;
        // Only the opponent can move: the side to move passes first.
        moves.moves[moves.count++] = Pass;
        side ^= 1;
        if (PlayMove(pos, sq, ColourOfSide(side), flips) == 0) break;
        moves.moves[moves.count++] = static_cast<std::uint8_t>(sq);
        at += 2;
        side ^= 1;
    }
    pos.sideToMove = side;
    return at;
}

namespace {

int SkipSpaces(const char* text, int at) {
    while (text[at] == ' ') ++at;
    return at;
}

bool TailIsEmpty(const char* text, int at) {
    at = SkipSpaces(text, at);
    return text[at] == '\0' || text[at] == ';';
}

}  // namespace

int ParseBookLine(const char* text, const OpeningBook& book, Position& pos, BookLine& line) {
    BookMoves first;
    int at = ParseBookMoves(text, pos, first);
    line.moveCount = 0;
    line.leafValue = 0;
    line.minimaxValue = 0;
    line.lineCount = 1;
    if (text[at] == '=') {
        BookMoves second;
        const int rest = at + 1 + ParseBookMoves(text + at + 1, pos, second);
        if (!TailIsEmpty(text, rest) || first.count == 0 || second.count == 0) return BookLineError;
        const BookNode* node = FindBookNode(book, second.moves, second.count);
        if (!node) return BookSourceMissing;
        // An even number of entries ends with a move (or pass) of White.
        const int sign = second.count % 2 == 0 ? -1 : 1;
        line.leafValue = static_cast<std::int8_t>(sign * node->leafValue);
        line.minimaxValue = static_cast<std::int8_t>(sign * node->minimaxValue);
        line.lineCount = node->lineCount;
    } else {
        int value = 0;
        bool negative = false;
        if (text[at] == ' ') {
            at = SkipSpaces(text, at);
            if (text[at] == '+' || text[at] == '-') negative = text[at++] == '-';
            // A digit that would take the value past 127 stays unread, so
            // the tail check below fails on it.
            while (text[at] >= '0' && text[at] <= '9' && value * 10 + (text[at] - '0') <= 127)
                value = value * 10 + (text[at++] - '0');
        }
        if (!TailIsEmpty(text, at)) return BookLineError;
        if (negative) value = -value;
        line.leafValue = static_cast<std::int8_t>(value);
        line.minimaxValue = static_cast<std::int8_t>(value);
    }
    for (int i = 0; i < first.count; ++i) line.moves[i] = first.moves[i];
    line.moveCount = first.count;
    return 0;
}

void LoadBookFile(BookSource source, OpeningBook& book, Position& pos, BookLoadReport& report,
                  const BookErrorSink* sink) {
    report = BookLoadReport{};
    BookReader reader;
    OpenBookReader(reader, source);
    char text[BookLineCapacity];
    BookLine line;
    while (ReadBookLine(reader, text, BookLineCapacity)) {
        ++report.lines;
        int result = ParseBookLine(text, book, pos, line);
        if (result == 0 && line.moveCount > 0) {
            result = InsertBookLine(book, line);
            if (result == 0) ++report.merged;
        }
        if (result == 0) continue;
        ++report.errorLines;
        const BookErrorEntry entry = {result, report.lines};
        if (report.listed < MaxListedBookErrors) report.entries[report.listed++] = entry;
        if (sink && sink->lineFailed) sink->lineFailed(sink->context, entry);
    }
    FinishOpeningBook(book);
}

std::string BookMessageText(int messageId, BookTextEncoding encoding) {
    const bool sjis = encoding == BookTextEncoding::ShiftJis;
    switch (messageId) {
        case BookLineError:
            return sjis ? "\x82\xB1\x82\xCC\x8D\x73\x82\xCC\x93\xE0\x97\x65\x82\xC9\x8C\xEB\x82\xE8\x82\xAA\x82\xA0\x82"
                          "\xE8\x82\xDC\x82\xB7\x81\x42"
                        : "この行の内容に誤りがあります。";
        case BookSourceMissing:
            return sjis ? "\x8C\xB3\x82\xC9\x82\xC8\x82\xE9\x8E\xE8\x8F\x87\x82\xAA\x93\xC7\x82\xDD\x8D\x9E\x82\xDC\x82"
                          "\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81\x42"
                        : "元になる手順が読み込まれていません。";
        case BookOutOfMemory:
            return sjis ? "\x82\xB1\x82\xCC\x8D\x73\x82\xF0\x93\x6F\x98\x5E\x82\xB7\x82\xE9\x82\xBD\x82\xDF\x82\xCC\xD2"
                          "\xD3\xD8\x82\xAA\x91\xAB\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42"
                        : "この行を登録するためのﾒﾓﾘが足りません。";
        case BookLongerLineExists:
            return sjis ? "\x82\xB1\x82\xCC\x8E\xE8\x8F\x87\x82\xF0\x8A\xAE\x91\x53\x82\xC9\x8A\xDC\x82\xDE\x8E\xE8\x8F"
                          "\x87\x82\xAA\x8A\xF9\x82\xC9\x93\xC7\x82\xDD\x8D\x9E\x82\xDC\x82\xEA\x82\xC4\x82\xA2\x82\xDC"
                          "\x82\xB7\x81\x42"
                        : "この手順を完全に含む手順が既に読み込まれています。";
        case BookShorterLineExists:
            return sjis ? "\x82\xB1\x82\xCC\x8E\xE8\x8F\x87\x82\xC9\x8A\xAE\x91\x53\x82\xC9\x8A\xDC\x82\xDC\x82\xEA\x82"
                          "\xE9\x8E\xE8\x8F\x87\x82\xAA\x8A\xF9\x82\xC9\x93\xC7\x82\xDD\x8D\x9E\x82\xDC\x82\xEA\x82\xC4"
                          "\x82\xA2\x82\xDC\x82\xB7\x81\x42"
                        : "この手順に完全に含まれる手順が既に読み込まれています。";
        case BookSameLineExists:
            return sjis ? "\x82\xB1\x82\xCC\x8E\xE8\x8F\x87\x82\xC6\x91\x53\x82\xAD\x93\xAF\x88\xEA\x82\xCC\x8E\xE8\x8F"
                          "\x87\x82\xAA\x8A\xF9\x82\xC9\x93\xC7\x82\xDD\x8D\x9E\x82\xDC\x82\xEA\x82\xC4\x82\xA2\x82\xDC"
                          "\x82\xB7\x81\x42"
                        : "この手順と全く同一の手順が既に読み込まれています。";
        default: return {};
    }
}

std::string BookErrorLineText(const BookErrorEntry& entry, const std::string& message, BookTextEncoding encoding) {
    // "%d行目: %s\n"
    const char* lineMark = encoding == BookTextEncoding::ShiftJis ? "\x8D\x73\x96\xDA" : "行目";
    return std::to_string(entry.lineNumber) + lineMark + ": " + message + "\n";
}

std::string BookErrorTotalText(int errorLines, BookTextEncoding encoding) {
    // "\nｴﾗｰのある行が全部で%d行見つかりました。"
    if (encoding == BookTextEncoding::ShiftJis)
        return "\n\xB4\xD7\xB0\x82\xCC\x82\xA0\x82\xE9\x8D\x73\x82\xAA\x91\x53\x95\x94\x82\xC5" +
               std::to_string(errorLines) + "\x8D\x73\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB5\x82\xBD\x81\x42";
    return "\nｴﾗｰのある行が全部で" + std::to_string(errorLines) + "行見つかりました。";
}

std::string ComposeBookReport(const BookLoadReport& report, std::string (*messageText)(int messageId),
                              BookTextEncoding encoding) {
    constexpr std::size_t Room = 8191;
    // "定石ﾌｧｲﾙ\n\n"
    std::string text = encoding == BookTextEncoding::ShiftJis ? "\x92\xE8\x90\xCE\xCC\xA7\xB2\xD9\n\n" : "定石ﾌｧｲﾙ\n\n";
    for (int i = 0; i < report.listed; ++i) {
        std::string message = messageText ? messageText(report.entries[i].messageId) : std::string();
        if (message.size() > 255) message.resize(255);
        text += BookErrorLineText(report.entries[i], message, encoding);
    }
    text += BookErrorTotalText(report.errorLines, encoding);
    if (text.size() > Room) text.resize(Room);
    return text;
}
