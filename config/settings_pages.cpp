#include "config/settings_pages.h"

#include <algorithm>

namespace {

constexpr int ShiftJisCharset = 128;
constexpr int FixedPitch = 1;
constexpr std::uint32_t WhiteColour = ColorValue(255, 255, 255);

// A list index, or the earlier value when nothing is selected.
int FromIndex(int index, int count, int first, int step, int before) {
    return index >= 0 && index < count ? first + index * step : before;
}

int ClampLimit(int value) { return std::clamp(value, LowestStandardLimit, HighestStandardLimit); }

}  // namespace

int DisplaySizeItemCount(int largestDisplaySize) {
    return std::max(largestDisplaySize, SmallestDisplaySizeSetting) - SmallestDisplaySizeSetting + 1;
}

SettingsPageValues PageValuesFromSettings(const Settings& s) {
    SettingsPageValues v{};
    v.autoMove = s.AutoMove != 0;
    v.thoughtDisplay = s.ThoughtDisplay != 0;
    v.thoughtTimeIndex = s.ThoughtTime;
    v.standardType = s.StandardType;
    v.threshold = StandardThreshold(s.StandardValue);
    v.cap = StandardCap(s.StandardValue);
    v.turnSpeedIndex = (s.TurnSpeed - FastestTurnSpeed) / TurnSpeedStep;
    v.effectSound = s.EffectSound != 0;
    std::copy(std::begin(s.DisplayColor), std::end(s.DisplayColor), v.displayColor);
    v.fontName = std::string(s.FontName, ShiftJisFieldLength(std::string_view(s.FontName, FontNameField), FontNameField));
    v.displaySizeIndex = s.DisplaySize - SmallestDisplaySizeSetting;
    v.topMost = s.TopMost != 0;
    return v;
}

Settings SettingsFromPageValues(const Settings& before, const SettingsPageValues& v) {
    Settings s = before;
    s.AutoMove = v.autoMove ? 1 : 0;
    s.ThoughtDisplay = v.thoughtDisplay ? 1 : 0;
    s.ThoughtTime = FromIndex(v.thoughtTimeIndex, ThoughtTimeItemCount, 0, 1, before.ThoughtTime);
    s.StandardType = v.standardType == 1 ? 1 : 0;
    // The spin fields keep their numbers within the range; the clamp guards
    // the 16-bit halves all the same.
    s.StandardValue = MakeStandardValue(ClampLimit(v.cap), ClampLimit(v.threshold));
    s.TurnSpeed = FromIndex(v.turnSpeedIndex, TurnSpeedItemCount, FastestTurnSpeed, TurnSpeedStep, before.TurnSpeed);
    s.EffectSound = v.effectSound ? 1 : 0;
    std::copy(std::begin(v.displayColor), std::end(v.displayColor), s.DisplayColor);
    if (v.fontName) SetFontName(s, *v.fontName);
    s.DisplaySize = v.displaySizeIndex >= 0 ? v.displaySizeIndex + SmallestDisplaySizeSetting : before.DisplaySize;
    s.TopMost = v.topMost ? 1 : 0;
    return s;
}

std::array<std::uint32_t, ChooserCustomColourCount> ChooserCustomColours(
    const std::uint32_t (&working)[DisplayColorCount]) {
    std::array<std::uint32_t, ChooserCustomColourCount> custom;
    custom.fill(WhiteColour);
    std::copy(std::begin(working), std::end(working), custom.begin());
    return custom;
}

bool IsListedFontFamily(bool raster, int charset, int pitch, wchar_t firstCharacter) {
    return !raster && charset == ShiftJisCharset && pitch == FixedPitch && firstCharacter != L'@';
}
