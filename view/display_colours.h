// Shades of the display colours and the order of the display palette. A
// colour is a Windows colour value (red in the low byte, then green, blue);
// the eight colours are indexed as in config/settings.h.
#pragma once

#include <array>
#include <cstdint>

#include "config/settings.h"

using DisplayRgb = std::uint32_t;

constexpr int RedOf(DisplayRgb c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(DisplayRgb c) { return static_cast<int>(c >> 8 & 0xFF); }
constexpr int BlueOf(DisplayRgb c) { return static_cast<int>(c >> 16 & 0xFF); }

constexpr DisplayRgb RgbBlack = ColorValue(0, 0, 0);
constexpr DisplayRgb RgbWhite = ColorValue(255, 255, 255);
constexpr DisplayRgb RgbGrey = ColorValue(128, 128, 128);
constexpr DisplayRgb RgbLightGrey = ColorValue(192, 192, 192);

// Each channel x to min(255, 9x/8) and to x/4.
DisplayRgb LightShade(DisplayRgb c);
DisplayRgb DarkShade(DisplayRgb c);

constexpr int DisplayPaletteSize = 12;

// The palette entries: the eight colours in palette order, then the light and
// dark shades of the board frame and the panel frame.
std::array<DisplayRgb, DisplayPaletteSize> DisplayPaletteEntries(const std::uint32_t (&colours)[DisplayColorCount]);
