#include "view/layout.h"

#include <gtest/gtest.h>

namespace {

TEST(LayoutTest, ClientSizeScalesWithUnitAndKeepsToolbarBand) {
    EXPECT_EQ(LayoutClientSize(4), (LayoutSize{268, 188}));
    EXPECT_EQ(LayoutClientSize(10), (LayoutSize{670, 428}));
}

TEST(LayoutTest, DisplaySizeFromClientFindsOnlyExactLayoutSizes) {
    EXPECT_EQ(DisplaySizeFromClient(670, 428), 10);
    EXPECT_EQ(DisplaySizeFromClient(268, 188), 4);
    EXPECT_EQ(DisplaySizeFromClient(670, 427), 0);  // menu bar wrapped: too short
    EXPECT_EQ(DisplaySizeFromClient(671, 428), 0);
    EXPECT_EQ(DisplaySizeFromClient(0, 28), 0);
}

TEST(LayoutTest, LargestDisplaySizeIsLimitedByTheTighterScreenSide) {
    // 1024 x 768 with an 8 x 50 frame: width allows (1024-8)/67 = 15,
    // height (768-50-28)/40 = 17.
    EXPECT_EQ(LargestDisplaySizeFor(1024, 768, 8, 50), 15);
    // 1920 x 1080: width 28, height (1080-50-28)/40 = 25.
    EXPECT_EQ(LargestDisplaySizeFor(1920, 1080, 8, 50), 25);
    // The window for the result fits; one unit more does not.
    const int u = LargestDisplaySizeFor(1280, 1000, 6, 45);
    EXPECT_LE(LayoutClientSize(u).width + 6, 1280);
    EXPECT_LE(LayoutClientSize(u).height + 45, 1000);
    EXPECT_TRUE(LayoutClientSize(u + 1).width + 6 > 1280 || LayoutClientSize(u + 1).height + 45 > 1000);
}

TEST(LayoutTest, LargestDisplaySizeNeverFallsBelowSmallest) {
    EXPECT_EQ(LargestDisplaySizeFor(200, 150, 8, 50), SmallestDisplaySize);
}

TEST(LayoutTest, SquaresTileTheBoardWithPitchOfFourUnits) {
    const int u = 10;
    EXPECT_EQ(SquareRect(u, 11), (LayoutRect{40, 68, 80, 108}));    // a1
    EXPECT_EQ(SquareRect(u, 88), (LayoutRect{320, 348, 360, 388}));  // h8
    EXPECT_EQ(SquareRect(u, 18).left, SquareRect(u, 17).right);      // g1 | h1
    EXPECT_EQ(SquareRect(u, 21).top, SquareRect(u, 11).bottom);      // a1 over a2
}

TEST(LayoutTest, SquaresAgreeWithClickMapping) {
    // A click in the middle of a square's rectangle names that square.
    for (int u : {4, 7, 10, 13}) {
        for (int row = 1; row <= 8; ++row) {
            for (int col = 1; col <= 8; ++col) {
                const Square sq = row * 10 + col;
                const LayoutRect r = SquareRect(u, sq);
                EXPECT_EQ(SquareFromPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2, u), sq)
                    << "u=" << u << " square " << sq;
            }
        }
    }
}

TEST(LayoutTest, BoardSurfaceEnclosesAllSquaresWithItsEdge) {
    for (int u : {4, 10}) {
        const LayoutRect surface = BoardSurfaceRect(u);
        EXPECT_EQ(surface.left, SquareRect(u, 11).left - 2);
        EXPECT_EQ(surface.top, SquareRect(u, 11).top - 2);
        EXPECT_EQ(surface.right, SquareRect(u, 88).right + 3);
        EXPECT_EQ(surface.bottom, SquareRect(u, 88).bottom + 3);
        const LayoutRect frame = BoardFrameRect(u);
        EXPECT_LT(frame.left, surface.left);
        EXPECT_GT(frame.right, surface.right);
    }
}

TEST(LayoutTest, LabelBandsSitAboveAndLeftOfTheSurface) {
    const int u = 10;
    const LayoutRect surface = BoardSurfaceRect(u);
    const LayoutRect columns = ColumnLabelRect(u);
    const LayoutRect rows = RowLabelRect(u);
    EXPECT_EQ(columns.bottom, surface.top);
    EXPECT_EQ(columns.left, surface.left);
    EXPECT_EQ(columns.right, surface.right);
    EXPECT_EQ(rows.right, surface.left);
    EXPECT_EQ(rows.top, surface.top);
    EXPECT_EQ(rows.bottom, surface.bottom);
}

TEST(LayoutTest, PanelBoxesStackInsideThePanelFrame) {
    const int u = 10;
    const LayoutRect panel = PanelFrameRect(u);
    EXPECT_EQ(panel, (LayoutRect{400, 38, 660, 418}));
    EXPECT_GT(panel.left, BoardFrameRect(u).right);
    LayoutRect above = {0, 0, 0, panel.top};
    for (int box = 1; box <= 3; ++box) {
        const LayoutRect r = PanelBoxRect(u, box);
        EXPECT_GT(r.left, panel.left);
        EXPECT_LT(r.right, panel.right);
        EXPECT_GT(r.top, above.bottom) << "box " << box;
        above = r;
    }
    EXPECT_LT(above.bottom, panel.bottom);
    EXPECT_EQ(PanelBoxRect(u, 3), (LayoutRect{410, 258, 650, 398}));
    EXPECT_EQ(PanelBoxInsideRect(u, 3), (LayoutRect{412, 260, 648, 396}));
}

}  // namespace
