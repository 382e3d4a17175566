#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/settings.h"

namespace {

constexpr int Largest = 13;

// A registry that holds every value, each valid and none at its default.
StoredSettings ValidStore() {
    StoredSettings stored;
    stored.dword[AutoMoveValue] = 1;
    stored.dword[ThoughtDisplayValue] = 0;
    stored.dword[ThoughtTimeValue] = 60;
    stored.dword[StandardTypeValue] = 1;
    stored.dword[StandardValueValue] = 0x00140005;
    stored.dword[TurnSpeedValue] = 500;
    stored.dword[EffectSoundValue] = 0;
    stored.displayColor = std::array<std::uint8_t, DisplayColorBytes>{};
    for (int i = 0; i < DisplayColorBytes; ++i) (*stored.displayColor)[i] = std::uint8_t(i + 1);
    stored.fontName = "Courier";
    stored.dword[DisplaySizeValue] = 4;
    stored.dword[TopMostValue] = 1;
    stored.dword[HintsValue] = 1;
    stored.dword[HintDepthValue] = 20;
    stored.dword[HintExactValue] = 0;
    stored.dword[HintBestValue] = 32;
    stored.dword[HintWithComputerValue] = 1;
    return stored;
}

int WriteBackCount(const CheckedSettings& checked) {
    int n = 0;
    for (bool b : checked.writeBack) n += b;
    return n;
}

}  // namespace

TEST(SettingsDefaults, EmptyRegistryTakesEveryDefaultAndWritesAllElevenBack) {
    const CheckedSettings checked = CheckStoredSettings(StoredSettings{}, Largest);
    EXPECT_EQ(WriteBackCount(checked), SettingValueCount);
    const Settings& s = checked.settings;
    EXPECT_EQ(s.AutoMove, 0);
    EXPECT_EQ(s.ThoughtDisplay, 1);
    EXPECT_EQ(s.ThoughtTime, 0);
    EXPECT_EQ(s.StandardType, 0);
    EXPECT_EQ(s.StandardValue, 0);
    EXPECT_EQ(s.TurnSpeed, 250);
    EXPECT_EQ(s.EffectSound, 1);
    EXPECT_STREQ(s.FontName, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");  // ＭＳ ゴシック
    EXPECT_EQ(s.DisplaySize, Largest);
    EXPECT_EQ(s.TopMost, 0);
    EXPECT_EQ(s.Hints, 0);
    EXPECT_EQ(s.HintDepth, 16);
    EXPECT_EQ(s.HintExact, 20);
    EXPECT_EQ(s.HintBest, 0);
    EXPECT_EQ(s.HintWithComputer, 0);
    EXPECT_EQ(s, DefaultSettings(Largest));
}

TEST(SettingsDefaults, DisplayColorStoredFormIsRedGreenBlueZero) {
    const auto bytes = DisplayColorToBytes(DefaultSettings(Largest).DisplayColor);
    const std::uint8_t expected[DisplayColorBytes] = {
        0xC0, 0xC0, 0x60, 0, 0xDC, 0x64, 0x64, 0, 0xFF, 0xFF, 0xFF, 0, 0x00, 0x00, 0x00, 0,
        0xFF, 0x80, 0xFF, 0, 0x88, 0xCC, 0xCC, 0, 0xDC, 0xDC, 0xC0, 0, 0x40, 0x40, 0xCC, 0,
    };
    EXPECT_EQ(0, std::memcmp(bytes.data(), expected, sizeof expected));
    std::uint32_t back[DisplayColorCount];
    DisplayColorFromBytes(bytes, back);
    EXPECT_EQ(0, std::memcmp(back, DefaultSettings(Largest).DisplayColor, sizeof back));
    EXPECT_EQ(back[BoardFrameColor], ColorValue(220, 100, 100));
}

TEST(SettingsDefaults, DisplaySizeNeverBelowSmallestEvenOnTinyScreen) {
    EXPECT_EQ(DefaultSettings(2).DisplaySize, 4);
    StoredSettings stored;
    stored.dword[DisplaySizeValue] = 4;
    EXPECT_EQ(CheckStoredSettings(stored, 1).settings.DisplaySize, 4);
}

TEST(SettingsCheck, ValidStoredValuesAreTakenWithoutWriteBack) {
    const CheckedSettings checked = CheckStoredSettings(ValidStore(), Largest);
    EXPECT_EQ(WriteBackCount(checked), 0);
    const Settings& s = checked.settings;
    EXPECT_EQ(s.AutoMove, 1);
    EXPECT_EQ(s.ThoughtDisplay, 0);
    EXPECT_EQ(s.ThoughtTime, 60);
    EXPECT_EQ(s.StandardType, 1);
    EXPECT_EQ(s.TurnSpeed, 500);
    EXPECT_EQ(s.EffectSound, 0);
    EXPECT_EQ(s.DisplayColor[0], 0x04030201u);
    EXPECT_EQ(s.DisplayColor[7], 0x201F1E1Du);
    EXPECT_STREQ(s.FontName, "Courier");
    EXPECT_EQ(s.DisplaySize, 4);
    EXPECT_EQ(s.TopMost, 1);
}

TEST(SettingsCheck, OutOfRangeNumbersFallBackAndAreWrittenBack) {
    struct Case {
        SettingValue value;
        std::uint32_t stored;
        std::int32_t expected;
        bool writeBack;
    };
    const Case cases[] = {
        {TurnSpeedValue, 255, 250, true},       {TurnSpeedValue, 90, 250, true},
        {TurnSpeedValue, 510, 250, true},       {TurnSpeedValue, 100, 100, false},
        {TurnSpeedValue, 500, 500, false},      {ThoughtTimeValue, 61, 0, true},
        {ThoughtTimeValue, 0xFFFFFFFF, 0, true}, {ThoughtTimeValue, 60, 60, false},
        {AutoMoveValue, 2, 0, true},            {AutoMoveValue, 0xFFFFFFFF, 0, true},
        {ThoughtDisplayValue, 2, 1, true},      {StandardTypeValue, 2, 0, true},
        {EffectSoundValue, 7, 1, true},         {TopMostValue, 0x80000001, 0, true},
        {DisplaySizeValue, 3, Largest, true},   {DisplaySizeValue, Largest + 1, Largest, true},
        {DisplaySizeValue, Largest, Largest, false},
        {HintsValue, 2, 0, true},               {HintsValue, 1, 1, false},
        {HintDepthValue, 0, 16, true},          {HintDepthValue, 21, 16, true},
        {HintDepthValue, 1, 1, false},          {HintExactValue, 31, 20, true},
        {HintExactValue, 0xFFFFFFFF, 20, true}, {HintExactValue, 30, 30, false},
        {HintBestValue, 33, 0, true},           {HintBestValue, 3, 3, false},
        {HintWithComputerValue, 2, 0, true},
    };
    for (const Case& c : cases) {
        StoredSettings stored = ValidStore();
        stored.dword[c.value] = c.stored;
        const CheckedSettings checked = CheckStoredSettings(stored, Largest);
        const Settings& s = checked.settings;
        const std::int32_t got = DwordSetting(s, c.value);
        SCOPED_TRACE(std::string(SettingValues[c.value].name) + " " + std::to_string(c.stored));
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(checked.writeBack[c.value], c.writeBack);
        EXPECT_EQ(WriteBackCount(checked), c.writeBack ? 1 : 0);
    }
}

TEST(SettingsCheck, StandardValueIsTakenAsStoredAndSplitIntoSignedHalves) {
    StoredSettings stored = ValidStore();
    stored.dword[StandardValueValue] = 0x8000FFFF;
    const CheckedSettings checked = CheckStoredSettings(stored, Largest);
    EXPECT_FALSE(checked.writeBack[StandardValueValue]);
    EXPECT_EQ(StandardCap(checked.settings.StandardValue), -32768);
    EXPECT_EQ(StandardThreshold(checked.settings.StandardValue), -1);
    EXPECT_EQ(MakeStandardValue(-32768, -1), checked.settings.StandardValue);
    EXPECT_EQ(MakeStandardValue(20, -30), std::int32_t(0x0014FFE2));
}

TEST(SettingsCheck, UnreadableColoursOrFontFallBackAsAWhole) {
    StoredSettings stored = ValidStore();
    stored.displayColor.reset();  // a 28-byte or REG_DWORD value reads as missing
    stored.fontName = std::string(40, 'A');
    const CheckedSettings checked = CheckStoredSettings(stored, Largest);
    EXPECT_TRUE(checked.writeBack[DisplayColorValue]);
    EXPECT_TRUE(checked.writeBack[FontNameValue]);
    EXPECT_EQ(WriteBackCount(checked), 2);
    EXPECT_EQ(0, std::memcmp(checked.settings.DisplayColor, DefaultSettings(Largest).DisplayColor,
                             sizeof checked.settings.DisplayColor));
    EXPECT_STREQ(checked.settings.FontName, DefaultSettings(Largest).FontName);
}

TEST(FontNameField, ThirtyOneBytesFitThirtyTwoDoNot) {
    EXPECT_TRUE(FitsFontNameField(std::string(31, 'x')));
    EXPECT_FALSE(FitsFontNameField(std::string(32, 'x')));
    EXPECT_TRUE(FitsFontNameField(""));
    EXPECT_FALSE(FitsFontNameField(std::string("a\0b", 3)));

    StoredSettings stored;
    stored.fontName = std::string(31, 'x');
    EXPECT_STREQ(CheckStoredSettings(stored, Largest).settings.FontName, std::string(31, 'x').c_str());
    stored.fontName = "";
    const CheckedSettings empty = CheckStoredSettings(stored, Largest);
    EXPECT_FALSE(empty.writeBack[FontNameValue]);
    EXPECT_STREQ(empty.settings.FontName, "");
}

TEST(FontNameField, SettingKeepsRecordComparableAndCutsAtWholeCharacters) {
    Settings a = DefaultSettings(Largest);
    Settings b = a;
    SetFontName(a, "Courier New");
    SetFontName(a, "Arial");
    SetFontName(b, "Arial");
    EXPECT_EQ(a, b);  // no leftovers of the longer name behind the terminator

    std::string wide;
    for (int i = 0; i < 16; ++i) wide += "\x82\x60";  // 16 full-width letters, 32 bytes
    SetFontName(a, wide);
    EXPECT_EQ(std::strlen(a.FontName), 30u);
    SetFontName(a, "x" + wide);
    EXPECT_EQ(std::strlen(a.FontName), 31u);
    SetFontName(a, "ab\x82");  // a lead byte without its trail is dropped
    EXPECT_STREQ(a.FontName, "ab");

    // The same cut serves every string field written to the registry.
    EXPECT_EQ(ShiftJisFieldLength(std::string("path\0rest", 9), 260), 4u);
    EXPECT_EQ(ShiftJisFieldLength("\x82\x60\x82\x60", 4), 2u);
    EXPECT_EQ(ShiftJisFieldLength("abc", 0), 0u);
}
