// The opening-book file: reading its lines in 1024-byte blocks, parsing a
// line into a BookLine, loading a whole file into the book with the list of
// bad lines, and the text of the report on them.
#pragma once

#include <cstdint>
#include <string>

#include "book/book_tree.h"
#include "core/board.h"

// Message ids of the book errors (the texts are in res/strings.rc and below).
constexpr int BookLineError = 3200;
constexpr int BookSourceMissing = 3201;

// Where the bytes of a book file come from: read fills up to capacity bytes
// and returns how many it filled, 0 at the end of the file or on a failure.
struct BookSource {
    void* context;
    int (*read)(void* context, char* buffer, int capacity);
};

constexpr int BookBlockSize = 1024;
// A line keeps 255 characters and its terminating zero.
constexpr int BookLineCapacity = 256;

struct BookReader {
    BookSource source;
    char block[BookBlockSize];
    int length = 0;  // bytes in block
    int next = 0;    // next byte to take
    bool ended = false;
};

void OpenBookReader(BookReader& reader, BookSource source);
// Reads the next line (CR LF ends it; a lone CR or LF is an ordinary
// character; characters past capacity - 1 are dropped) into buffer, ended by
// a zero. False when nothing was left to read.
bool ReadBookLine(BookReader& reader, char* buffer, int capacity);

struct BookMoves {
    std::uint8_t moves[MaxBookMoves];
    int count = 0;
};

// Replays the squares written at text from the initial position on pos,
// inserting a pass where the side to move has none; returns the index of the
// first character not read.
int ParseBookMoves(const char* text, Position& pos, BookMoves& moves);

// 0 with line filled (an empty line.moveCount: the text adds nothing), or
// 3200 / 3201. The equivalence form reads its values from book; pos is the
// working board.
int ParseBookLine(const char* text, const OpeningBook& book, Position& pos, BookLine& line);

struct BookErrorEntry {
    int messageId;
    int lineNumber;
};

constexpr int MaxListedBookErrors = 30;

struct BookLoadReport {
    BookErrorEntry entries[MaxListedBookErrors];
    int listed = 0;      // entries kept, in file order
    int errorLines = 0;  // every line with an error
    int lines = 0;       // lines read
    int merged = 0;      // lines that went into the book
};

// Told of every line with an error, beyond the listed 30 too.
struct BookErrorSink {
    void* context;
    void (*lineFailed)(void* context, const BookErrorEntry& entry);
};

// Reads every line from source into book (which starts empty), then trims
// or releases the node store.
void LoadBookFile(BookSource source, OpeningBook& book, Position& pos, BookLoadReport& report,
                  const BookErrorSink* sink = nullptr);

// Whether the report box is shown: a line failed and the book is not empty.
inline bool ShouldReportBookErrors(const BookLoadReport& report, const OpeningBook& book) {
    return report.errorLines > 0 && BookNodeCount(book) > 0;
}

enum class BookTextEncoding { ShiftJis, Utf8 };

// The text of a book error message in the given encoding; empty for an
// unknown id.
std::string BookMessageText(int messageId, BookTextEncoding encoding);
// The line "N行目: message" of one entry, with its line end.
std::string BookErrorLineText(const BookErrorEntry& entry, const std::string& message, BookTextEncoding encoding);
// The closing line of the report, with the number of lines in error.
std::string BookErrorTotalText(int errorLines, BookTextEncoding encoding);

// The report box's text: the heading, one line per listed entry with the
// message that messageText gives for its id, and the closing count; at most
// 8191 bytes.
std::string ComposeBookReport(const BookLoadReport& report, std::string (*messageText)(int messageId),
                              BookTextEncoding encoding);
