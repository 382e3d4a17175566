#include "view/layout.h"

#include <algorithm>

namespace {

constexpr int ClientUnitsWide = 67;
constexpr int ClientUnitsHigh = 40;

}  // namespace

LayoutSize LayoutClientSize(int u) {
    return {ClientUnitsWide * u, ClientUnitsHigh * u + ToolbarBand};
}

int DisplaySizeFromClient(int width, int height) {
    if (width <= 0 || width % ClientUnitsWide != 0) return 0;
    const int u = width / ClientUnitsWide;
    return LayoutClientSize(u).height == height ? u : 0;
}

int LargestDisplaySizeFor(int screenWidth, int screenHeight, int frameWidth, int frameHeight) {
    const int byWidth = (screenWidth - frameWidth) / ClientUnitsWide;
    const int byHeight = (screenHeight - frameHeight - ToolbarBand) / ClientUnitsHigh;
    // A screen too small for even the smallest board still gets a usable unit.
    return std::max(SmallestDisplaySize, std::min(byWidth, byHeight));
}

LayoutRect DrawingAreaRect(int u) {
    return {0, ToolbarBand, 67 * u, ToolbarBand + 40 * u};
}

LayoutRect BoardFrameRect(int u) {
    return {u, ToolbarBand + u, 39 * u, ToolbarBand + 39 * u};
}

LayoutRect BoardSurfaceRect(int u) {
    return {4 * u - 2, ToolbarBand + 4 * u - 2, 36 * u + 3, ToolbarBand + 36 * u + 3};
}

LayoutRect SquareRect(int u, Square sq) {
    const int row = sq / 10;
    const int column = sq % 10;
    const int left = 4 * u * column;
    const int top = ToolbarBand + 4 * u * row;
    return {left, top, left + 4 * u, top + 4 * u};
}

LayoutRect ColumnLabelRect(int u) {
    return {4 * u - 2, ToolbarBand + u + 2, 36 * u + 3, ToolbarBand + 4 * u - 2};
}

LayoutRect RowLabelRect(int u) {
    return {u + 2, ToolbarBand + 4 * u - 2, 4 * u - 2, ToolbarBand + 36 * u + 3};
}

LayoutRect PanelFrameRect(int u) {
    return {40 * u, ToolbarBand + u, 66 * u, ToolbarBand + 39 * u};
}

LayoutRect PanelBoxRect(int u, int box) {
    static constexpr int tops[3] = {3, 11, 23};
    static constexpr int bottoms[3] = {10, 22, 37};
    const int i = std::clamp(box, 1, 3) - 1;
    return {41 * u, ToolbarBand + tops[i] * u, 65 * u, ToolbarBand + bottoms[i] * u};
}

LayoutRect PanelBoxInsideRect(int u, int box) {
    const LayoutRect r = PanelBoxRect(u, box);
    return {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
}
