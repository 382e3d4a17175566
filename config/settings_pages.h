// What the four pages of the settings dialog show for a Settings record and
// how their controls are read back into one: list indices, the two book
// limits, the colour working copy, the chosen face name. The dialog itself is
// Windows code (config/settings_dialog.cpp); this is the arithmetic it relies
// on.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "config/settings.h"

constexpr int ThoughtTimeItemCount = 61;  // "0" to "60" seconds
constexpr int TurnSpeedItemCount = 41;    // "100" to "500" milliseconds in steps of 10
constexpr int SlowestTurnSpeed = 500;
constexpr int FastestTurnSpeed = 100;
constexpr int TurnSpeedStep = 10;
// Range of both book-limit spin fields.
constexpr int LowestStandardLimit = -127;
constexpr int HighestStandardLimit = 127;
constexpr int ChooserCustomColourCount = 16;

// The controls' values, page by page. A list index of -1 means nothing is
// selected.
struct SettingsPageValues {
    // 対局
    bool autoMove;
    bool thoughtDisplay;
    int thoughtTimeIndex;  // index = seconds
    int standardType;      // 0 leaf evaluation, 1 minimax evaluation
    int threshold;         // spin position, the low half of StandardValue
    int cap;               // spin position, the high half
    // 石が返るとき
    int turnSpeedIndex;  // index = (milliseconds - 100) / 10
    bool effectSound;
    // 画面ﾃﾞｻﾞｲﾝ
    std::uint32_t displayColor[DisplayColorCount];  // the working copy
    std::optional<std::string> fontName;            // the selected face (Shift-JIS); none when none is
    // ｳｨﾝﾄﾞｳ
    int displaySizeIndex;  // index = size - 4
    bool topMost;
};

// The number of entries of the display-size list: 4 up to largest.
int DisplaySizeItemCount(int largestDisplaySize);

SettingsPageValues PageValuesFromSettings(const Settings& settings);

// The settings the pages hold. A list without a selection keeps the value of
// `before`, and so does the font list: a face that is not among the listed
// ones (say, a font since removed) is not lost by pressing OK for another
// change.
Settings SettingsFromPageValues(const Settings& before, const SettingsPageValues& values);

// The colour chooser's custom colours: the eight working colours, then eight
// white ones.
std::array<std::uint32_t, ChooserCustomColourCount> ChooserCustomColours(
    const std::uint32_t (&working)[DisplayColorCount]);

// Whether a font family goes into the font list: an outline font with the
// Shift-JIS character set (128) and fixed pitch whose face name does not
// begin with "@" (the vertical-writing variants). pitch is the low two bits of
// the family's pitch and family (1 fixed).
bool IsListedFontFamily(bool raster, int charset, int pitch, wchar_t firstCharacter);
