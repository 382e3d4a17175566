// tavix-cli book check FILE
// tavix-cli book moves POSITION|MOVES [--book FILE] [--minimax]
// tavix-cli book stats FILE
//
// The same loader and tree as Tavix.exe. check is the linter of a book
// author: every bad line as "N行目: message" and the count (exit 1 if any).
// moves lists the book moves of a position as the book-move search dialog
// does, best first, and the node count. stats gives the size of a book and
// how long it takes to load.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "book/book_file.h"
#include "book/book_tree.h"
#include "cli/cli.h"
#include "core/notation.h"
#include "core/position_text.h"

namespace {

constexpr const char* DefaultBookPath = "data/Tavix.STD";

int ReadFromFile(void* context, char* buffer, int capacity) {
    std::FILE* f = static_cast<std::FILE*>(context);
    return static_cast<int>(std::fread(buffer, 1, static_cast<std::size_t>(capacity), f));
}

void PrintFailedLine(void*, const BookErrorEntry& entry) {
    std::fputs(BookErrorLineText(entry, BookMessageText(entry.messageId, BookTextEncoding::Utf8),
                                 BookTextEncoding::Utf8)
                   .c_str(),
               stdout);
}

int DeepestLine(const OpeningBook& book, int first, int depth) {
    int deepest = depth;
    for (int node = first;; node += book.nodes[node].nextSibling) {
        const BookNode& n = book.nodes[node];
        const int d = depth + (n.move != Pass ? 1 : 0);
        deepest = std::max(deepest, n.firstChild ? DeepestLine(book, node + n.firstChild, d) : d);
        if (n.nextSibling == 0) return deepest;
    }
}

int Usage() {
    std::fputs("usage: tavix-cli book check FILE\n"
               "       tavix-cli book moves POSITION|MOVES [--book FILE] [--minimax]\n"
               "       tavix-cli book stats FILE\n",
               stderr);
    return 2;
}

int Check(const char* path) {
    OpeningBook book;
    BookLoadReport report;
    const BookErrorSink sink = {nullptr, PrintFailedLine};
    if (!LoadBook(path, book, report, &sink)) return 2;
    if (report.errorLines > 0)
        std::printf("%s\n", BookErrorTotalText(report.errorLines, BookTextEncoding::Utf8).c_str() + 1);
    else
        std::printf("%s: %d lines, %d in the book, %d nodes, no errors\n", path, report.lines, report.merged,
                    BookNodeCount(book));
    ReleaseOpeningBook(book);
    return report.errorLines > 0 ? 1 : 0;
}

int Moves(int argc, char** argv) {
    Position pos;
    int used = 0;
    if (!ReadGamePosition(argc, argv, 3, pos, used)) return Usage();
    const char* path = DefaultBookPath;
    int standardType = LeafEvaluation;
    for (int i = 3 + used; i < argc; ++i) {
        if (std::strcmp(argv[i], "--book") == 0 && i + 1 < argc) path = argv[++i];
        else if (std::strcmp(argv[i], "--minimax") == 0) standardType = MinimaxEvaluation;
        else return Usage();
    }
    OpeningBook book;
    BookLoadReport report;
    if (!LoadBook(path, book, report, nullptr)) return 2;
    static BookMoveList list;
    if (ListBookMoves(book, pos, pos.moveNumber, standardType, list) < 0) {
        std::printf("no book move\n");
    } else {
        // The dialog's columns, with the square as its code.
        for (int i = 0; list.entries[i].node; ++i) {
            const BookNode& n = *list.entries[i].node;
            std::printf(" %2d  %-4s  %6s%10d\n", i + 1, SquareCode(list.entries[i].square).c_str(),
                        ValueText(BookNodeValue(n, standardType)).c_str(), n.lineCount);
        }
    }
    std::printf("使用ｾﾙ数 %d\n", BookNodeCount(book));
    ReleaseOpeningBook(book);
    return 0;
}

int Stats(const char* path) {
    OpeningBook book;
    BookLoadReport report;
    double seconds = 0;
    if (!LoadBook(path, book, report, nullptr, &seconds)) return 2;
    std::printf("lines %d\nbook lines %d\nbad lines %d\nnodes %d\nstore bytes %zu\ndeepest line %d moves\n"
                "load time %.3f s\n",
                report.lines, report.merged, report.errorLines, BookNodeCount(book),
                static_cast<std::size_t>(book.capacity) * sizeof(BookNode),
                BookNodeCount(book) ? DeepestLine(book, 0, 0) : 0, seconds);
    ReleaseOpeningBook(book);
    return 0;
}

}  // namespace

bool LoadBook(const char* path, OpeningBook& book, BookLoadReport& report, const BookErrorSink* sink,
              double* seconds) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::fprintf(stderr, "tavix-cli book: cannot open %s\n", path);
        return false;
    }
    Position work;
    const auto start = std::chrono::steady_clock::now();
    LoadBookFile({f, ReadFromFile}, book, work, report, sink);
    if (seconds) *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fclose(f);
    return true;
}

int RunBook(int argc, char** argv) {
    if (argc < 4) return Usage();
    const char* what = argv[2];
    if (std::strcmp(what, "check") == 0 && argc == 4) return Check(argv[3]);
    if (std::strcmp(what, "moves") == 0) return Moves(argc, argv);
    if (std::strcmp(what, "stats") == 0 && argc == 4) return Stats(argv[3]);
    return Usage();
}
