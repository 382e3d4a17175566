#include <gtest/gtest.h>

#include "core/notation.h"
#include "view/display_colours.h"
#include "view/disc_shapes.h"
#include "view/panel_fields.h"

namespace {

PanelValues Sample() {
    PanelValues v{};
    v.moveNumber = 0;
    v.sideToMove = 0;
    v.legalMoveCount = 4;
    v.kind[0] = -1;
    v.kind[1] = 3;
    v.move[0] = -1;
    v.move[1] = 0;
    v.discs[0] = 2;
    v.discs[1] = 64;
    v.clock[0] = 3725;
    v.clock[1] = 360000;
    return v;
}

const std::string Blank4 = "    ";
const std::string WideOne = "  \x82\x50";   // two spaces, full-width 1
const std::string WideZero = "  \x82\x4F";  // two spaces, full-width 0

}  // namespace

TEST(PanelFields, BoxOneBlanksBeforeTheFirstMoveAndWhenTheGameIsOver) {
    MessageLines lines;
    ClearMessageLines(lines);
    PanelValues v = Sample();
    auto f = PanelFieldTexts(10, PanelMoveNumber | PanelLegalMoves, v, lines);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].text, Blank4);
    EXPECT_EQ(f[0].rect, (LayoutRect{540, 68, 580, 88}));
    EXPECT_EQ(f[1].text, "  \x82\x53");
    EXPECT_EQ(f[2].text, "\x8D\x95\x94\xD4");  // 黒番
    EXPECT_EQ(f[2].ink, PanelInk::Black);

    v.moveNumber = 1;
    v.legalMoveCount = 0;
    v.sideToMove = 1;
    f = PanelFieldTexts(10, PanelMoveNumber | PanelLegalMoves, v, lines);
    EXPECT_EQ(f[0].text, WideOne);
    EXPECT_EQ(f[1].text, WideZero);
    EXPECT_EQ(f[2].text, "\x94\x92\x94\xD4");  // 白番
    EXPECT_EQ(f[2].ink, PanelInk::White);

    v.legalMoveCount = -1;
    v.moveNumber = 60;
    f = PanelFieldTexts(10, PanelMoveNumber | PanelLegalMoves, v, lines);
    EXPECT_EQ(f[0].text, "\x82\x55\x82\x4F");
    EXPECT_EQ(f[1].text, Blank4);
}

TEST(PanelFields, ColumnsFollowTheirBitsWithFixedByteWidths) {
    MessageLines lines;
    ClearMessageLines(lines);
    const PanelValues v = Sample();
    const unsigned sideGroups = PanelPlayers | PanelLastMoves | PanelDiscs | PanelTimes;

    EXPECT_TRUE(PanelFieldTexts(4, sideGroups, v, lines).empty()) << "no column selected";

    auto black = PanelFieldTexts(4, sideGroups | PanelBlackColumn, v, lines);
    ASSERT_EQ(black.size(), 4u);
    EXPECT_EQ(black[0].text, "  \x90\x6C \x8A\xD4  ");  // "  人 間  "
    EXPECT_EQ(black[1].text, Blank4);                    // no move yet
    EXPECT_EQ(black[2].text, WideNumberText(2, 2).value());
    EXPECT_EQ(black[3].text, "01:02:05");
    for (const PanelText& t : black) {
        EXPECT_EQ(t.ink, PanelInk::Black);
        EXPECT_EQ(t.rect.left, 42 * 4);
        EXPECT_EQ(t.rect.right, 50 * 4);
    }
    EXPECT_EQ(black[0].rect.top, 28 + 12 * 4);
    EXPECT_EQ(black[3].rect.bottom, 28 + 21 * 4);

    auto both = PanelFieldTexts(4, PanelAllFields, v, lines);
    ASSERT_EQ(both.size(), 3u + 8u + 6u);
    EXPECT_EQ(both[3].ink, PanelInk::Black);
    EXPECT_EQ(both[4].text, "\xBA\xDD\xCB\xDF\xAD\xB0\xC0 3");
    EXPECT_EQ(both[4].rect.left, 56 * 4);
    EXPECT_EQ(both[6].text, "\x83\x70\x83\x58");  // the white pass
    EXPECT_EQ(both[8].text, "\x82\x55\x82\x53");  // 64 discs
    EXPECT_EQ(both[10].text, "00:00:00");         // 100 hours wrap
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(both[11 + i].rect, (LayoutRect{168, 28 + (24 + 2 * i) * 4, 256, 28 + (26 + 2 * i) * 4}));
        EXPECT_EQ(both[11 + i].text.size(), 22u);
    }
    for (int kind = -1; kind <= 9; ++kind) EXPECT_EQ(PlayerKindText(kind).size(), 9u);
}

TEST(PanelLabels, SevenLabelsInsideTheirBoxes) {
    const auto labels = PanelLabels(7);
    ASSERT_EQ(labels.size(), 7u);
    EXPECT_EQ(labels[2].text, "\x92\x85\x8E\xE8\x89\xC2\x94\x5C");  // 着手可能
    for (const PanelText& l : labels) {
        EXPECT_EQ(l.ink, PanelInk::Label);
        const LayoutRect box = l.rect.top < 28 + 10 * 7 ? PanelBoxRect(7, 1) : PanelBoxRect(7, 2);
        EXPECT_GE(l.rect.left, box.left);
        EXPECT_LE(l.rect.right, box.right);
        EXPECT_GE(l.rect.top, box.top);
        EXPECT_LE(l.rect.bottom, box.bottom);
    }
}

TEST(DisplayColours, ShadesSaturateAndPaletteOrder) {
    EXPECT_EQ(LightShade(ColorValue(227, 226, 8)), ColorValue(255, 254, 9));
    EXPECT_EQ(DarkShade(ColorValue(3, 4, 255)), ColorValue(0, 1, 63));
    std::uint32_t colours[8];
    for (int i = 0; i < 8; ++i) colours[i] = ColorValue(i * 10, 0, 0);
    const auto p = DisplayPaletteEntries(colours);
    const int order[8] = {0, 1, 5, 6, 2, 7, 3, 4};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(p[i], colours[order[i]]) << i;
    EXPECT_EQ(p[8], LightShade(colours[1]));
    EXPECT_EQ(p[9], LightShade(colours[6]));
    EXPECT_EQ(p[10], DarkShade(colours[1]));
    EXPECT_EQ(p[11], DarkShade(colours[6]));
}

TEST(DiscShapes, EveryEllipseStaysInItsCellAndDiscsScale) {
    for (int u : {4, 7, 10}) {
        const int S = 4 * u;
        const auto ellipses = DiscSpriteEllipses(u);
        ASSERT_EQ(ellipses.size(), 3u + 4u + 5u + 6u + 3u);
        for (const DiscEllipse& e : ellipses) {
            const int cell = e.box.left / S;
            EXPECT_GE(cell, 1);
            EXPECT_LE(cell, 5);
            // The copied block of a cell is x 2..S-4 and y 2..S-3: all of the disc.
            EXPECT_GE(e.box.left, cell * S + 2);
            EXPECT_LE(e.box.right, cell * S + S - 3);
            EXPECT_GE(e.box.top, 2);
            EXPECT_LE(e.box.bottom, S - 2) << u;
        }
        // The face of a flat black disc is the last ellipse of cell 1.
        EXPECT_EQ(ellipses[2].box.Width(), S - 5);
        EXPECT_EQ(ellipses[2].box.Height(), S - 7);
        EXPECT_EQ(ellipses[2].brush, DiscInk::Black);
        EXPECT_EQ(ellipses.back().brush, DiscInk::Mark);
    }
    EXPECT_EQ(DiscSpriteEllipses(4)[2].box.Width(), 11) << "u = 4 gives an 11-pixel disc";
}

TEST(DiscShapes, SquareCopyLeavesGridLinesAndTheirNeighbours) {
    for (int u : {4, 10}) {
        for (Square sq : {11, 18, 45, 81, 88}) {
            const DiscCopy c = DiscCopyFor(u, sq, WhiteDiscCell);
            const LayoutRect square = SquareRect(u, sq);
            EXPECT_EQ(c.sourceX, 2 * 4 * u + 2);
            EXPECT_EQ(c.destX, square.left + 3);
            EXPECT_EQ(c.destY, square.top + 3);
            EXPECT_EQ(c.destX + c.width - 1, square.right - 3);
            EXPECT_EQ(c.destY + c.height - 1, square.bottom - 2);
        }
    }
}
