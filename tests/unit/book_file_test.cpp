// The book file: line reading, the line syntax, loading with its error list
// and the report text.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "book_test_support.h"

namespace {

std::vector<std::string> ReadAllLines(const std::string& bytes, int chunk) {
    MemoryBookFile file{bytes, chunk};
    BookReader reader;
    OpenBookReader(reader, file.Source());
    std::vector<std::string> lines;
    char buffer[BookLineCapacity];
    while (ReadBookLine(reader, buffer, BookLineCapacity)) lines.push_back(buffer);
    return lines;
}

std::string MessageUtf8(int id) { return BookMessageText(id, BookTextEncoding::Utf8); }

struct LineCase {
    const char* text;
    int result;      // of ParseBookLine against a book holding f5d6c3d3c4 +2
    int moveCount;   // placed and passed moves handed over
    int value;
};

}  // namespace

TEST(BookFileLines, LineEndsBlocksAndLongLines) {
    const std::string long300(300, ';');
    const std::string file = "f5d6 +1\r\n\r\n" + long300 + "\r\nf5f6\rx\r\nlast";
    // Every block size, so that each CR LF is split across two blocks once.
    for (int chunk : {1, 2, 3, 7, 1024}) {
        const auto lines = ReadAllLines(file, chunk);
        ASSERT_EQ(lines.size(), 5u) << chunk;
        EXPECT_EQ(lines[0], "f5d6 +1");
        EXPECT_EQ(lines[1], "");
        EXPECT_EQ(lines[2], std::string(255, ';')) << "a line keeps its first 255 characters";
        EXPECT_EQ(lines[3], "f5f6\rx") << "a lone CR is part of the line";
        EXPECT_EQ(lines[4], "last") << "the last line needs no CR LF";
    }
    EXPECT_EQ(ReadAllLines("a\r\n", 1024).size(), 1u) << "no empty line after the final CR LF";
    EXPECT_TRUE(ReadAllLines("", 1024).empty());
    // A CR LF split exactly at the 1024-byte block boundary.
    const std::string edge = std::string(1023, ';') + "\r\nf5\r\n";
    const auto lines = ReadAllLines(edge, 1024);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "f5");
    // LF alone does not end a line.
    EXPECT_EQ(ReadAllLines("f5d6 +1\nf5f6 -1\n", 1024).size(), 1u);
}

TEST(BookFileLines, SyntaxValuesAndEquivalences) {
    LoadedBook base;
    LoadBookText(base, "f5d6c3d3c4 +2\r\n");
    ASSERT_EQ(base.report.merged, 1);
    const LineCase cases[] = {
        {"f5d6c3d3c4 +2 ;comment", 0, 5, 2},
        {"f5f6 -1", 0, 2, -1},
        {"f5f4e3", 0, 3, 0},
        {"f5 +127", 0, 1, 127},
        {"f5 -127", 0, 1, -127},
        {"f5 +128", BookLineError, 0, 0},
        {"f5 -128", BookLineError, 0, 0},
        {"f5 0127", 0, 1, 127},
        {"f5 +", 0, 1, 0},
        {"f5 -   ;sign without digits", 0, 1, 0},
        {"f5d6+3", BookLineError, 0, 0},
        {"f5d6;comment", 0, 2, 0},
        {"f5d6\t+3", BookLineError, 0, 0},
        {"f5d6 +3 4", BookLineError, 0, 0},
        {"F5D6 +3", BookLineError, 0, 0},
        {"f5f5 +1", BookLineError, 0, 0},
        {"f5e6 +1", BookLineError, 0, 0},
        {"f5** +1", BookLineError, 0, 0},
        {"", 0, 0, 0},
        {"    ", 0, 0, 0},
        {"   ; comment", 0, 0, 0},
        {"  -12  ", 0, 0, -12},
        {" f5d6 +1", BookLineError, 0, 0},
        // Equivalences: the values of the node f5 d6 (White's move, so seen
        // from Black the leaf value +2) and its count.
        {"f5f4e3=f5d6", 0, 3, 2},
        {"f5f4e3=f5d6  ;x", 0, 3, 2},
        {"f5f4e3=f5d6 +1", BookLineError, 0, 0},
        {"f5f4e3=f5f6", BookSourceMissing, 0, 0},
        {"f5f4e3=f5d6c3d3c4b3", BookSourceMissing, 0, 0},
        {"=f5d6", BookLineError, 0, 0},
        {"f5f4e3=", BookLineError, 0, 0},
        {"f5f4e3 =f5d6", BookLineError, 0, 0},
    };
    for (const LineCase& c : cases) {
        Position work;
        BookLine line;
        EXPECT_EQ(ParseBookLine(c.text, base.book, work, line), c.result) << c.text;
        if (c.result != 0) continue;
        EXPECT_EQ(line.moveCount, c.moveCount) << c.text;
        EXPECT_EQ(line.leafValue, c.value) << c.text;
        EXPECT_EQ(line.minimaxValue, c.value) << c.text;
        EXPECT_EQ(line.lineCount, 1) << c.text;
    }
}

TEST(BookFileLines, PassIsInsertedWhereTheSideToMoveCannotPlay) {
    // After h6 Black has no move and White plays on.
    Position pos;
    BookMoves moves;
    EXPECT_EQ(ParseBookMoves("f5f6d3g5h5h4f7h6e7 +3", pos, moves), 18);
    ASSERT_EQ(moves.count, 10);
    EXPECT_EQ(moves.moves[8], Pass);
    EXPECT_EQ(moves.moves[9], 75);  // e7, White's
    // A square the opponent cannot play either ends the sequence after the
    // pass.
    EXPECT_EQ(ParseBookMoves("f5f6d3g5h5h4f7h6a1", pos, moves), 16);
    EXPECT_EQ(moves.count, 9);
    EXPECT_EQ(moves.moves[8], Pass);

    LoadedBook b;
    LoadBookText(b, "f5f6d3g5h5h4f7h6e7 +3\r\nf5f6d3g5h5h4f7h6c5 -2\r\n");
    EXPECT_EQ(b.report.errorLines, 0);
    EXPECT_EQ(BookNodeCount(b.book), 11) << "one pass node shared by both lines";
}

TEST(BookLoading, ContainmentErrorsKeepTheEarlierLine) {
    LoadedBook b;
    LoadBookText(b,
                 "; a comment line\r\n"
                 "f5d6 +1\r\n"
                 "f5d6 +4\r\n"      // 3 the same line
                 "f5\r\n"           // 4 a longer line starts with it
                 "f5d6c3\r\n"       // 5 it starts with a shorter line
                 "f5f4e3=f5f6\r\n"  // 6 f5 f6 is not in the book yet
                 "f5f6 -3\r\n"
                 "f5f4e3=f5f6\r\n"  // 8 now it is
                 "f5d6+3\r\n");     // 9 no space before the value
    EXPECT_EQ(b.report.lines, 9);
    EXPECT_EQ(b.report.merged, 3);
    EXPECT_EQ(b.report.errorLines, 5);
    const BookErrorEntry expected[] = {{BookSameLineExists, 3},
                                       {BookLongerLineExists, 4},
                                       {BookShorterLineExists, 5},
                                       {BookSourceMissing, 6},
                                       {BookLineError, 9}};
    ASSERT_EQ(b.report.listed, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(b.report.entries[i].messageId, expected[i].messageId) << i;
        EXPECT_EQ(b.report.entries[i].lineNumber, expected[i].lineNumber) << i;
    }
    const std::uint8_t f5d6[] = {56, 64};
    const BookNode* node = FindBookNode(b.book, f5d6, 2);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->leafValue, -1) << "the first f5d6 stays, seen from White";
    EXPECT_EQ(node->firstChild, 0);
    EXPECT_TRUE(ShouldReportBookErrors(b.report, b.book));
    EXPECT_EQ(ComposeBookReport(b.report, MessageUtf8, BookTextEncoding::Utf8),
              "定石ﾌｧｲﾙ\n\n"
              "3行目: この手順と全く同一の手順が既に読み込まれています。\n"
              "4行目: この手順を完全に含む手順が既に読み込まれています。\n"
              "5行目: この手順に完全に含まれる手順が既に読み込まれています。\n"
              "6行目: 元になる手順が読み込まれていません。\n"
              "9行目: この行の内容に誤りがあります。\n"
              "\nｴﾗｰのある行が全部で5行見つかりました。");
}

TEST(BookLoading, ReportListsThirtyAndCountsAll) {
    std::string file = "f5d6 +1\r\n";
    for (int i = 0; i < 31; ++i) file += "bad\r\n";
    LoadedBook b;
    LoadBookText(b, file);
    EXPECT_EQ(b.report.errorLines, 31);
    EXPECT_EQ(b.report.listed, 30);
    EXPECT_EQ(b.report.entries[29].lineNumber, 31);
    const std::string text = ComposeBookReport(b.report, MessageUtf8, BookTextEncoding::Utf8);
    EXPECT_EQ(text.find("32行目"), std::string::npos);
    EXPECT_NE(text.find("31行目"), std::string::npos);
    EXPECT_EQ(text.substr(text.rfind('\n')), "\nｴﾗｰのある行が全部で31行見つかりました。");
    // The Shift-JIS report is the same text in the program's own bytes.
    const std::string sjis = ComposeBookReport(b.report, [](int id) { return BookMessageText(id, BookTextEncoding::ShiftJis); },
                                               BookTextEncoding::ShiftJis);
    EXPECT_EQ(sjis.substr(0, 10), "\x92\xE8\x90\xCE\xCC\xA7\xB2\xD9\n\n");
    EXPECT_NE(sjis.find("2\x8D\x73\x96\xDA: \x82\xB1\x82\xCC\x8D\x73"), std::string::npos);
}

TEST(BookLoading, FilesThatLeaveTheBookEmpty) {
    const struct {
        const char* what;
        std::string bytes;
        int errors;
    } cases[] = {
        {"empty file", "", 0},
        {"blank and comment lines", "\r\n  \r\n;x\r\n   ;y\r\n", 0},
        {"every line bad", "f5d6+1\r\nxx\r\nf5e6\r\n", 3},
        // LF line ends: one line, cut at 255 characters, which fails.
        {"LF-only line ends", "f5d6 +1\nf5f6 -1\nf5f4 0\n", 1},
    };
    for (const auto& c : cases) {
        LoadedBook b;
        LoadBookText(b, c.bytes);
        EXPECT_EQ(BookNodeCount(b.book), 0) << c.what;
        EXPECT_EQ(b.book.nodes, nullptr) << c.what << ": the store is released";
        EXPECT_EQ(b.report.errorLines, c.errors) << c.what;
        EXPECT_FALSE(ShouldReportBookErrors(b.report, b.book)) << c.what;
    }
    LoadedBook commentFirst;
    LoadBookText(commentFirst, ";f5d6 +1\nf5f6 -1\n");
    EXPECT_EQ(commentFirst.report.errorLines, 0) << "an LF file that begins with a comment is one comment";
}

TEST(BookLoading, LastLineWithoutLineEndAndLongLineNumbering) {
    LoadedBook b;
    LoadBookText(b, "f5d6 +1 ;" + std::string(290, 'x') + "\r\nf5f6 +\r\nf5f4 -2");
    EXPECT_EQ(b.report.lines, 3);
    EXPECT_EQ(b.report.merged, 3);
    EXPECT_EQ(b.report.errorLines, 0);
    // A long line whose tail is cut inside the value still fails, with its
    // own number.
    LoadedBook cut;
    LoadBookText(cut, "f5d6 +1\r\n" + std::string(254, ' ') + "f5\r\nf5f6 xx\r\n");
    ASSERT_EQ(cut.report.listed, 2);
    EXPECT_EQ(cut.report.entries[0].lineNumber, 2);
    EXPECT_EQ(cut.report.entries[1].lineNumber, 3);
}

TEST(BookLoading, MemoryThatCannotBeHadLeavesTheBookAsItWas) {
    LoadedBook b;
    b.book.byteLimit = BookStoreStep;  // room for 65,536 nodes and no more
    // The tree takes any move bytes, so long made-up lines fill it quickly:
    // each shares its first node with others and adds a chain of 127.
    BookLine big;
    big.moveCount = MaxBookMoves;
    for (int i = 0; i < MaxBookMoves; ++i) big.moves[i] = static_cast<std::uint8_t>(11 + i % 70);
    for (int k = 0; BookNodeCount(b.book) + MaxBookMoves <= 65536; ++k) {
        big.moves[0] = static_cast<std::uint8_t>(1 + k / 200);
        big.moves[1] = static_cast<std::uint8_t>(1 + k % 200);
        ASSERT_EQ(InsertBookLine(b.book, big), 0) << k;
        if (k == 0) {
            EXPECT_EQ(b.book.capacity, 65536) << "the store starts with 1 MiB";
        }
    }
    const int before = BookNodeCount(b.book);
    const std::vector<BookNode> copy(b.book.nodes, b.book.nodes + before);
    big.moves[0] = 255;
    EXPECT_EQ(InsertBookLine(b.book, big), BookOutOfMemory);
    EXPECT_EQ(BookNodeCount(b.book), before);
    EXPECT_EQ(b.book.capacity, 65536);
    EXPECT_EQ(std::memcmp(copy.data(), b.book.nodes, before * sizeof(BookNode)), 0);
    // Without the limit the store grows by another 1 MiB.
    b.book.byteLimit = 0;
    EXPECT_EQ(InsertBookLine(b.book, big), 0);
    EXPECT_EQ(b.book.capacity, 2 * 65536);
    FinishOpeningBook(b.book);
    EXPECT_EQ(b.book.capacity, BookNodeCount(b.book)) << "trimmed to the nodes in use";

    // A small step (a fuzzing run's) grows the store by the whole nodes it
    // holds, 6 of 100 bytes here, and meets the limit in the same way.
    LoadedBook small;
    small.book.storeStep = 100;
    small.book.byteLimit = 18 * sizeof(BookNode);
    BookLine line;
    line.moveCount = 5;
    for (int i = 0; i < 5; ++i) line.moves[i] = static_cast<std::uint8_t>(11 + i);
    for (int k = 0; k < 4; ++k) {
        line.moves[0] = static_cast<std::uint8_t>(20 + k);
        EXPECT_EQ(InsertBookLine(small.book, line), k < 3 ? 0 : BookOutOfMemory) << k;
        EXPECT_EQ(small.book.capacity, 6 * std::min(k + 1, 3)) << k;
        EXPECT_EQ(BookNodeCount(small.book), 5 * std::min(k + 1, 3)) << k;
    }
}

// The texts as the program shows them: the report in Shift-JIS is the UTF-8
// report converted, and each message is the one of the shipped string table.
TEST(BookLoading, ShiftJisTextsMatchTheStringTable) {
    const std::string source = __FILE__;
    const std::string root = source.substr(0, source.rfind("tests/unit/"));
    std::map<std::string, int> ids;
    std::ifstream header(root + "res/resource.h");
    for (std::string row; std::getline(header, row);) {
        char name[64];
        int id = 0;
        if (std::sscanf(row.c_str(), "#define %63s %d", name, &id) == 2) ids[name] = id;
    }
    std::ifstream rc(root + "res/book.rc");
    ASSERT_TRUE(rc) << "res/book.rc";
    int checked = 0;
    BookLoadReport report;
    for (std::string row; std::getline(rc, row);) {
        char name[64];
        const auto q = row.find('"');
        if (q == std::string::npos || std::sscanf(row.c_str(), " IDS_%63[A-Z_],", name) != 1) continue;
        const int id = ids["IDS_" + std::string(name)];
        if (id < 3200) continue;
        EXPECT_EQ(BookMessageText(id, BookTextEncoding::Utf8), row.substr(q + 1, row.rfind('"') - q - 1)) << name;
        report.entries[report.listed++] = {id, 100 + id};
        ++checked;
    }
    EXPECT_EQ(checked, 6);
    report.errorLines = 1234;
    std::string utf8 = ComposeBookReport(report, MessageUtf8, BookTextEncoding::Utf8);
    const std::string sjis = ComposeBookReport(
        report, [](int id) { return BookMessageText(id, BookTextEncoding::ShiftJis); }, BookTextEncoding::ShiftJis);
    iconv_t cd = iconv_open("CP932", "UTF-8");
    ASSERT_NE(cd, (iconv_t)-1);
    std::string out(4 * utf8.size(), '\0');
    char* src = utf8.data();
    char* dst = out.data();
    std::size_t srcLeft = utf8.size(), dstLeft = out.size();
    ASSERT_NE(iconv(cd, &src, &srcLeft, &dst, &dstLeft), static_cast<std::size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    EXPECT_EQ(out, sjis);
}
