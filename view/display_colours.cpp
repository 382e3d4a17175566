#include "view/display_colours.h"

#include <algorithm>

DisplayRgb LightShade(DisplayRgb c) {
    auto up = [](int x) { return std::min(255, 9 * x / 8); };
    return ColorValue(up(RedOf(c)), up(GreenOf(c)), up(BlueOf(c)));
}

DisplayRgb DarkShade(DisplayRgb c) { return ColorValue(RedOf(c) / 4, GreenOf(c) / 4, BlueOf(c) / 4); }

std::array<DisplayRgb, DisplayPaletteSize> DisplayPaletteEntries(const std::uint32_t (&c)[DisplayColorCount]) {
    return {c[BoardSurfaceColor], c[BoardFrameColor], c[PanelBackgroundColor], c[PanelFrameColor],
            c[BoardLabelColor],   c[PanelLabelColor], c[BoardGridColor],       c[DiscMarkColor],
            LightShade(c[BoardFrameColor]), LightShade(c[PanelFrameColor]),
            DarkShade(c[BoardFrameColor]),  DarkShade(c[PanelFrameColor])};
}
