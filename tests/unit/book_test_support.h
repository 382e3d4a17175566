// Helpers shared by the book tests: book files held in memory, read in
// blocks of a chosen size, and game positions reached by a transcript.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "book/book_file.h"
#include "book/book_tree.h"
#include "core/board.h"

// A file in memory that hands out at most chunk bytes per read, so that
// block ends can fall anywhere in a line.
struct MemoryBookFile {
    std::string bytes;
    int chunk = BookBlockSize;
    std::size_t at = 0;

    static int Read(void* context, char* buffer, int capacity) {
        auto& f = *static_cast<MemoryBookFile*>(context);
        const std::size_t n = std::min<std::size_t>({f.bytes.size() - f.at, static_cast<std::size_t>(capacity),
                                                    static_cast<std::size_t>(f.chunk)});
        std::memcpy(buffer, f.bytes.data() + f.at, n);
        f.at += n;
        return static_cast<int>(n);
    }
    BookSource Source() { return {this, Read}; }
};

// A loaded book that releases its store when the test ends.
struct LoadedBook {
    OpeningBook book;
    BookLoadReport report;
    ~LoadedBook() { ReleaseOpeningBook(book); }
};

inline void LoadBookText(LoadedBook& b, const std::string& bytes, int chunk = BookBlockSize) {
    MemoryBookFile file{bytes, chunk};
    Position work;
    LoadBookFile(file.Source(), b.book, work, b.report);
}

// The game position after a transcript (passes made where forced), with
// moveNumber and sideToMove set as the game keeps them.
inline Position GameAfter(const std::string& transcript) {
    Position pos;
    BookMoves moves;
    const int read = ParseBookMoves(transcript.c_str(), pos, moves);
    EXPECT_EQ(read, static_cast<int>(transcript.size())) << transcript;
    int black = 0, white = 0;
    RecountPosition(pos, black, white);
    return pos;
}

#include "core/notation.h"

// The squares of a book-move list, in its order, as codes ("f5d6").
inline std::string ListedSquares(const BookMoveList& list) {
    std::string s;
    for (int i = 0; list.entries[i].node; ++i) s += SquareCode(list.entries[i].square);
    return s;
}
