#include <gtest/gtest.h>

#include "core/notation.h"

TEST(SquareText, FullWidthPassAndBlanks) {
    EXPECT_EQ(SquareText(45), "\x82\x85\x82\x53");  // ｅ４
    EXPECT_EQ(SquareText(11), "\x82\x81\x82\x50");  // ａ１
    EXPECT_EQ(SquareText(88), "\x82\x88\x82\x57");  // ｈ８
    EXPECT_EQ(SquareText(0), "\x83\x70\x83\x58");   // パス
    EXPECT_EQ(SquareText(-1), "    ");
}

TEST(SquareCode, FormsAndParsing) {
    EXPECT_EQ(SquareCode(45), "e4");
    EXPECT_EQ(SquareCode(81), "a8");
    EXPECT_EQ(SquareCode(0), "**");
    EXPECT_EQ(SquareCode(-3), "**");
    EXPECT_EQ(ParseSquareCode("e4"), 45);
    EXPECT_EQ(ParseSquareCode("h8xyz"), 88);
    EXPECT_EQ(ParseSquareCode("**"), 0);
    for (const char* bad : std::initializer_list<const char*>{"A1", "a0", "a9", "i1", "", "a", "*a", nullptr})
        EXPECT_EQ(ParseSquareCode(bad), -1) << (bad ? bad : "null");
    for (Square sq = 11; sq <= 88; ++sq) {
        if (IsPlayable(sq)) {
            EXPECT_EQ(ParseSquareCode(SquareCode(sq).c_str()), sq);
        }
    }
}

TEST(LineCode, ConcatenatesWithoutSeparator) {
    const Square line[] = {56, 64, 53, 0};
    EXPECT_EQ(LineCode(line), "f5d6c5");
    const Square empty[] = {0};
    EXPECT_EQ(LineCode(empty), "");
}

TEST(ValueText, SignOnlyForPositive) {
    EXPECT_EQ(ValueText(12), "+12");
    EXPECT_EQ(ValueText(0), "0");
    EXPECT_EQ(ValueText(-5), "-5");
    EXPECT_EQ(ValueText(-999), "-999");
}

TEST(TimeText, FormatAndParse) {
    EXPECT_EQ(TimeText(0), "00:00:00");
    EXPECT_EQ(TimeText(3725), "01:02:05");
    EXPECT_EQ(TimeText(100 * 3600 + 61), "00:01:01");
    EXPECT_EQ(ParseTimeText("01:02:05"), 3725);
    EXPECT_EQ(ParseTimeText("99:59:59"), 99 * 3600 + 59 * 60 + 59);
    EXPECT_EQ(ParseTimeText("12:34:56 trailing"), 12 * 3600 + 34 * 60 + 56);
    for (const char* bad : std::initializer_list<const char*>{"12:60:00", "12:00:60", "1:00:00", "12-00-00", "12:00:0", "", "ab:cd:ef", nullptr})
        EXPECT_EQ(ParseTimeText(bad), 0) << (bad ? bad : "null");
}

TEST(WideNumberText, RightAlignedFullWidthDigits) {
    EXPECT_EQ(WideNumberText(123, 2).value(), "\x82\x51\x82\x52");           // ２３
    EXPECT_EQ(WideNumberText(5, 3).value(), "    \x82\x54");                  // blanks, ５
    EXPECT_EQ(WideNumberText(0, 2).value(), "  \x82\x4F");                    // ０
    EXPECT_EQ(WideNumberText(64, 2).value(), "\x82\x55\x82\x53");
    EXPECT_EQ(WideNumberText(4294967295u, 10).value().size(), 20u);
    EXPECT_FALSE(WideNumberText(1, 0).has_value());
    EXPECT_FALSE(WideNumberText(1, 11).has_value());
}
