#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/settings_pages.h"

namespace {

constexpr int Largest = 13;

Settings Varied() {
    Settings s = DefaultSettings(Largest);
    s.AutoMove = 1;
    s.ThoughtDisplay = 0;
    s.ThoughtTime = 60;
    s.StandardType = 1;
    s.StandardValue = MakeStandardValue(-127, -3);
    s.TurnSpeed = 500;
    s.EffectSound = 0;
    s.DisplayColor[7] = ColorValue(1, 2, 3);
    SetFontName(s, "IPA\x83\x53\x83\x56\x83\x62\x83\x4e");  // IPAゴシック
    s.DisplaySize = 4;
    s.TopMost = 1;
    return s;
}

}  // namespace

TEST(SettingsPages, PagesShowTheSettingsAndGiveThemBackUnchanged) {
    for (const Settings& s : {DefaultSettings(Largest), Varied()}) {
        const SettingsPageValues v = PageValuesFromSettings(s);
        EXPECT_EQ(v.turnSpeedIndex, (s.TurnSpeed - 100) / 10);
        EXPECT_EQ(v.displaySizeIndex, s.DisplaySize - 4);
        EXPECT_EQ(v.fontName.value_or(""), std::string(s.FontName));
        EXPECT_TRUE(SettingsFromPageValues(DefaultSettings(4), v) == s);
    }
    const SettingsPageValues v = PageValuesFromSettings(Varied());
    EXPECT_EQ(v.threshold, -3);
    EXPECT_EQ(v.cap, -127);
}

TEST(SettingsPages, ControlsAreReadBackAsGiven) {
    SettingsPageValues v = PageValuesFromSettings(DefaultSettings(Largest));
    struct Limits {
        int threshold, cap;
        std::uint32_t stored;
    };
    // The threshold need not stay below the cap; out-of-range positions are
    // held to the spin range.
    for (const Limits& l : {Limits{10, 5, 0x0005000Au}, Limits{-1, -127, 0xFF81FFFFu}, Limits{127, 0, 0x0000007Fu},
                            Limits{300, -300, 0xFF81007Fu}}) {
        v.threshold = l.threshold;
        v.cap = l.cap;
        EXPECT_EQ(static_cast<std::uint32_t>(SettingsFromPageValues(DefaultSettings(Largest), v).StandardValue),
                  l.stored);
    }
    v.turnSpeedIndex = 40;
    v.thoughtTimeIndex = 7;
    v.displaySizeIndex = 9;
    v.standardType = 1;
    const Settings s = SettingsFromPageValues(DefaultSettings(Largest), v);
    EXPECT_EQ(s.TurnSpeed, 500);
    EXPECT_EQ(s.ThoughtTime, 7);
    EXPECT_EQ(s.DisplaySize, 13);
    EXPECT_EQ(s.StandardType, 1);
}

TEST(SettingsPages, AListWithoutSelectionKeepsTheEarlierValue) {
    const Settings before = Varied();
    SettingsPageValues v = PageValuesFromSettings(DefaultSettings(Largest));
    v.thoughtTimeIndex = v.turnSpeedIndex = v.displaySizeIndex = -1;
    v.fontName.reset();  // the stored face is not among the listed ones
    const Settings s = SettingsFromPageValues(before, v);
    EXPECT_EQ(s.ThoughtTime, before.ThoughtTime);
    EXPECT_EQ(s.TurnSpeed, before.TurnSpeed);
    EXPECT_EQ(s.DisplaySize, before.DisplaySize);
    EXPECT_STREQ(s.FontName, before.FontName);
    // A listed face longer than the field is cut at a whole character.
    v.fontName = std::string(30, 'A') + "\x83\x53";
    EXPECT_EQ(std::string(SettingsFromPageValues(before, v).FontName), std::string(30, 'A'));
}

TEST(SettingsPages, ListsAndFontFamiliesOffered) {
    EXPECT_EQ(DisplaySizeItemCount(9), 6) << "4 to 9";
    EXPECT_EQ(DisplaySizeItemCount(4), 1);
    EXPECT_EQ(DisplaySizeItemCount(2), 1) << "a screen too small still offers 4";
    struct Family {
        bool raster;
        int charset, pitch;
        wchar_t first;
        bool listed;
    };
    for (const Family& f : {Family{false, 128, 1, L'I', true}, Family{true, 128, 1, L'I', false},
                            Family{false, 0, 1, L'C', false}, Family{false, 128, 2, L'I', false},
                            Family{false, 128, 0, L'I', false}, Family{false, 128, 1, L'@', false}})
        EXPECT_EQ(IsListedFontFamily(f.raster, f.charset, f.pitch, f.first), f.listed)
            << f.raster << " " << f.charset << " " << f.pitch << " " << char(f.first);
}
