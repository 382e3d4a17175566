#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iconv.h>
#include <map>
#include <sstream>
#include <string>

#include "view/message_lines.h"

namespace {

std::string Lines(const MessageLines& m, int from, int to) {
    std::string t;
    for (int i = from; i <= to; ++i) t += MessageLineText(m, i) + "\n";
    return t;
}

MessageLines Filled(char c) {
    MessageLines m;
    for (char& b : m.bytes) b = c;
    return m;
}

std::string Pad(const std::string& left, int column, const std::string& text) {
    std::string line(22, ' ');
    line.replace(column, text.size(), text);
    return left + line;
}

}  // namespace

TEST(StatusMessageLayout, CentresShortSegmentsOddRemainderRight) {
    MessageLines m = Filled('x');
    LayOutStatusMessage(m, "abc|abcd||");
    EXPECT_EQ(MessageLineText(m, 0), Pad("", 9, "abc"));   // 19 spare: 9 left, 10 right
    EXPECT_EQ(MessageLineText(m, 1), Pad("", 9, "abcd"));  // 18 spare: 9 and 9
    EXPECT_EQ(MessageLineText(m, 2), std::string(22, ' '));
    EXPECT_EQ(MessageLineText(m, 3), std::string(22, ' '));
    EXPECT_EQ(MessageLineText(m, 4), std::string(22, 'x')) << "lines after the last segment are kept";
}

TEST(StatusMessageLayout, FullAndNearlyFullSegments) {
    MessageLines m = Filled('x');
    LayOutStatusMessage(m, std::string(22, 'a') + "|" + std::string(21, 'b') + "|" + std::string(30, 'c'));
    EXPECT_EQ(MessageLineText(m, 0), std::string(22, 'a'));
    EXPECT_EQ(MessageLineText(m, 1), std::string(21, 'b') + " ");
    EXPECT_EQ(MessageLineText(m, 2), std::string(22, 'c'));
    EXPECT_EQ(MessageLineText(m, 3), std::string(22, 'x'));
}

TEST(StatusMessageLayout, DoubleByteCharactersStayWhole) {
    // ポ is 0x83 0x7C: its second byte is the separator's code.
    const std::string po = "\x83\x7C";
    MessageLines m = Filled('x');
    LayOutStatusMessage(m, po + po + "|z");
    EXPECT_EQ(MessageLineText(m, 0), Pad("", 9, po + po));
    EXPECT_EQ(MessageLineText(m, 1), Pad("", 10, "z"));

    // A long segment whose 22nd byte starts a character: the cut leaves it out.
    const std::string longText = "a" + po + po + po + po + po + po + po + po + po + po + po;  // 23 bytes
    LayOutStatusMessage(m, longText);
    EXPECT_EQ(MessageLineText(m, 0), longText.substr(0, 21) + " ");

    // A lead byte at the very end of the text is taken as one byte.
    LayOutStatusMessage(m, "ab\x83");
    EXPECT_EQ(MessageLineText(m, 0), Pad("", 9, "ab\x83"));
}

TEST(StatusMessageLayout, ThreeSegmentsKeepTheBestLineSixClearIt) {
    MessageLines m;
    ClearMessageLines(m);
    const Square line[] = {56, 64, 0};
    LayOutBestLine(m, line, 3);
    const std::string best = Lines(m, 3, 5);
    LayOutStatusMessage(m, "a||b");
    EXPECT_EQ(Lines(m, 3, 5), best);
    LayOutStatusMessage(m, "a|||||");
    for (int i = 3; i < 6; ++i) EXPECT_EQ(MessageLineText(m, i), std::string(22, ' '));
}

TEST(BestLineLayout, ValueEndsLineFiveMovesStartHigherAsTheyGrow) {
    MessageLines m = Filled('x');
    Square nine[10], ten[11];
    for (int i = 0; i < 10; ++i) ten[i] = 11 + i % 8;
    ten[10] = 0;
    for (int i = 0; i < 9; ++i) nine[i] = ten[i];
    nine[9] = 0;
    const std::string moves9 = "a1b1c1d1e1f1g1h1a1";
    const std::string moves10 = moves9 + "b1";

    LayOutBestLine(m, ten, 12);  // 20 + 3 = 23 bytes: starts in line 4
    EXPECT_EQ(MessageLineText(m, 3), std::string(22, ' '));
    EXPECT_EQ(MessageLineText(m, 4), moves10 + "  ");
    EXPECT_EQ(MessageLineText(m, 5), std::string(19, ' ') + "+12");
    EXPECT_EQ(MessageLineText(m, 2), std::string(22, 'x')) << "lines 0-2 belong to the status message";

    LayOutBestLine(m, ten, 5);  // 22 bytes: also line 4
    EXPECT_EQ(MessageLineText(m, 4), moves10 + "  ");
    EXPECT_EQ(MessageLineText(m, 5), std::string(20, ' ') + "+5");

    LayOutBestLine(m, nine, 5);  // 20 bytes: line 5
    EXPECT_EQ(MessageLineText(m, 4), std::string(22, ' '));
    EXPECT_EQ(MessageLineText(m, 5), moves9 + "  +5");

    const Square none[] = {0};
    LayOutBestLine(m, none, -7);  // a book value alone
    EXPECT_EQ(MessageLineText(m, 5), std::string(20, ' ') + "-7");
}

TEST(BestLineLayout, SixtyMovesStartInLineZeroLongerLinesStayInTheBlock) {
    MessageLines m = Filled('x');
    Square line[65];
    for (int i = 0; i < 64; ++i) line[i] = 11 + i % 8;
    line[60] = 0;
    LayOutBestLine(m, line, -10);  // 120 + 3 bytes: k = 5, the moves start in line 0
    EXPECT_EQ(MessageLineText(m, 0), "a1b1c1d1e1f1g1h1a1b1c1");
    EXPECT_EQ(MessageLineText(m, 5), "h1a1b1c1d1         -10");
    line[60] = 11;
    line[64] = 0;
    LayOutBestLine(m, line, -10);  // 128 + 3 bytes: the last moves give way to the value
    EXPECT_EQ(MessageLineText(m, 5).substr(19), "-10");
    EXPECT_EQ(MessageLineText(m, 0).substr(0, 2), "a1");
}

// The string table as the program ships it, checked through the layout: each
// StatusMessage id is there, and every segment with trailing spaces fills its
// line exactly.
TEST(StatusMessageTable, AllMessagesLayOutOnTheirLines) {
    const std::string source = __FILE__;
    const std::string root = source.substr(0, source.rfind("tests/unit/"));
    std::ifstream in(root + "res/strings.rc");
    ASSERT_TRUE(in) << "res/strings.rc";
    std::map<int, std::string> table;
    std::string row;
    iconv_t cd = iconv_open("CP932", "UTF-8");
    ASSERT_NE(cd, (iconv_t)-1);
    while (std::getline(in, row)) {
        int id = 0;
        const auto q1 = row.find('"');
        if (q1 == std::string::npos || std::sscanf(row.c_str(), " %d,", &id) != 1) continue;
        std::string utf8 = row.substr(q1 + 1, row.rfind('"') - q1 - 1);
        char out[512];
        char* src = utf8.data();
        char* dst = out;
        std::size_t srcLeft = utf8.size(), dstLeft = sizeof out;
        ASSERT_NE(iconv(cd, &src, &srcLeft, &dst, &dstLeft), (std::size_t)-1) << id;
        table[id] = std::string(out, dst);
    }
    iconv_close(cd);
    for (int id = 3000; id <= 3034; ++id) ASSERT_TRUE(table.count(id)) << id;
    // The game review's status messages.
    for (int id : {3040, 3041, 3042, 3043, 3048}) ASSERT_TRUE(table.count(id)) << id;
    EXPECT_EQ(table.size(), 40u);

    for (const auto& [id, text] : table) {
        std::istringstream segments(text);
        std::string segment;
        while (std::getline(segments, segment, '|')) {
            EXPECT_LE(segment.size(), 22u) << id;
            if (!segment.empty() && segment.back() == ' ') {
                EXPECT_EQ(segment.size(), 22u) << id;
            }
        }
    }
    // 3000, the idle message, exactly as shown.
    MessageLines m = Filled('x');
    LayOutStatusMessage(m, table[3000]);
    EXPECT_EQ(MessageLineText(m, 0),
              "\x83\x81\x83\x6A\x83\x85\x81\x5B\x82\xE6\x82\xE8\x8F\x88\x97\x9D\x82\xF0\x91\x49\x91\xF0");
    EXPECT_EQ(MessageLineText(m, 1), "\x82\xB5\x82\xC4\x89\xBA\x82\xB3\x82\xA2            ");
    for (int i = 2; i < 6; ++i) EXPECT_EQ(MessageLineText(m, i), std::string(22, ' '));
    // 3001 sets three lines; its third is left-aligned, padded to 22 bytes.
    LayOutStatusMessage(m, table[3001]);
    EXPECT_EQ(MessageLineText(m, 2), "\x8D\xB6\xB8\xD8\xAF\xB8\x81\xA8\x92\x85\x8E\xE8          ");
}
