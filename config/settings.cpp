#include "config/settings.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t DefaultDisplayColor[DisplayColorCount] = {
    ColorValue(192, 192, 96),   // board surface
    ColorValue(220, 100, 100),  // board frame
    ColorValue(255, 255, 255),  // coordinate letters and digits
    ColorValue(0, 0, 0),        // grid lines
    ColorValue(255, 128, 255),  // marking sprite
    ColorValue(136, 204, 204),  // panel box background
    ColorValue(220, 220, 192),  // panel frame
    ColorValue(64, 64, 204),    // panel fixed labels
};

// "ＭＳ ゴシック"
constexpr char DefaultFontName[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool IsZeroOrOne(std::int32_t n) { return n == 0 || n == 1; }

}  // namespace

Settings currentSettings = DefaultSettings(SmallestDisplaySizeSetting);

const SettingValueInfo SettingValues[SettingValueCount] = {
    {"AutoMove", SettingType::Dword},      {"ThoughtDisplay", SettingType::Dword},
    {"ThoughtTime", SettingType::Dword},   {"StandardType", SettingType::Dword},
    {"StandardValue", SettingType::Dword}, {"TurnSpeed", SettingType::Dword},
    {"EffectSound", SettingType::Dword},   {"DisplayColor", SettingType::Binary},
    {"FontName", SettingType::String},     {"DisplaySize", SettingType::Dword},
    {"TopMost", SettingType::Dword},       {"Hints", SettingType::Dword},
    {"HintDepth", SettingType::Dword},     {"HintExact", SettingType::Dword},
    {"HintBest", SettingType::Dword},      {"HintWithComputer", SettingType::Dword},
};

std::int32_t& DwordSetting(Settings& s, SettingValue value) {
    switch (value) {
        case AutoMoveValue: return s.AutoMove;
        case ThoughtDisplayValue: return s.ThoughtDisplay;
        case ThoughtTimeValue: return s.ThoughtTime;
        case StandardTypeValue: return s.StandardType;
        case StandardValueValue: return s.StandardValue;
        case TurnSpeedValue: return s.TurnSpeed;
        case EffectSoundValue: return s.EffectSound;
        case DisplaySizeValue: return s.DisplaySize;
        case HintsValue: return s.Hints;
        case HintDepthValue: return s.HintDepth;
        case HintExactValue: return s.HintExact;
        case HintBestValue: return s.HintBest;
        case HintWithComputerValue: return s.HintWithComputer;
        default: return s.TopMost;
    }
}

std::int32_t DwordSetting(const Settings& s, SettingValue value) {
    return DwordSetting(const_cast<Settings&>(s), value);
}

Settings DefaultSettings(int largestDisplaySize) {
    Settings s{};
    s.AutoMove = 0;
    s.ThoughtDisplay = 1;
    s.ThoughtTime = 0;
    s.StandardType = 0;
    s.StandardValue = 0;
    s.TurnSpeed = 250;
    s.EffectSound = 1;
    std::copy(std::begin(DefaultDisplayColor), std::end(DefaultDisplayColor), s.DisplayColor);
    SetFontName(s, DefaultFontName);
    s.DisplaySize = std::max(largestDisplaySize, SmallestDisplaySizeSetting);
    s.TopMost = 0;
    s.Hints = 0;
    s.HintDepth = 16;
    s.HintExact = 20;
    s.HintBest = 0;
    s.HintWithComputer = 0;
    return s;
}

bool IsValidDwordSetting(SettingValue value, std::int32_t n, int largestDisplaySize) {
    switch (value) {
        case ThoughtTimeValue: return n >= 0 && n <= 60;
        case StandardValueValue: return true;
        case TurnSpeedValue: return n >= 100 && n <= 500 && n % 10 == 0;
        case DisplaySizeValue:
            return n >= SmallestDisplaySizeSetting && n <= std::max(largestDisplaySize, SmallestDisplaySizeSetting);
        case HintDepthValue: return n >= 1 && n <= DeepestHintDepth;
        case HintExactValue: return n >= 0 && n <= MostHintExactEmpties;
        case HintBestValue: return n >= 0 && n <= MostHintBest;
        case AutoMoveValue:
        case HintsValue:
        case HintWithComputerValue:
        case ThoughtDisplayValue:
        case StandardTypeValue:
        case EffectSoundValue:
        case TopMostValue: return IsZeroOrOne(n);
        default: return false;
    }
}

bool FitsFontNameField(std::string_view name) {
    return name.size() < std::size_t(FontNameField) && name.find('\0') == std::string_view::npos;
}

std::size_t ShiftJisFieldLength(std::string_view text, std::size_t field) {
    std::size_t length = 0;
    while (length < text.size() && text[length] != '\0') {
        const std::size_t step = IsLeadByte(static_cast<unsigned char>(text[length])) ? 2 : 1;
        if (length + step >= field || length + step > text.size()) break;
        length += step;
    }
    return length;
}

void SetFontName(Settings& settings, std::string_view name) {
    std::memset(settings.FontName, 0, sizeof settings.FontName);
    std::memcpy(settings.FontName, name.data(), ShiftJisFieldLength(name, FontNameField));
}

CheckedSettings CheckStoredSettings(const StoredSettings& stored, int largestDisplaySize) {
    CheckedSettings checked{DefaultSettings(largestDisplaySize), {}};
    Settings& s = checked.settings;
    for (int i = 0; i < SettingValueCount; ++i) {
        const auto value = static_cast<SettingValue>(i);
        bool taken = false;
        switch (SettingValues[i].type) {
            case SettingType::Dword:
                if (stored.dword[i]) {
                    const auto n = static_cast<std::int32_t>(*stored.dword[i]);
                    if (IsValidDwordSetting(value, n, largestDisplaySize)) {
                        DwordSetting(s, value) = n;
                        taken = true;
                    }
                }
                break;
            case SettingType::Binary:
                if (stored.displayColor) {
                    DisplayColorFromBytes(*stored.displayColor, s.DisplayColor);
                    taken = true;
                }
                break;
            case SettingType::String:
                if (stored.fontName && FitsFontNameField(*stored.fontName)) {
                    SetFontName(s, *stored.fontName);
                    taken = true;
                }
                break;
        }
        checked.writeBack[i] = !taken;
    }
    return checked;
}

std::array<std::uint8_t, DisplayColorBytes> DisplayColorToBytes(const std::uint32_t (&colors)[DisplayColorCount]) {
    std::array<std::uint8_t, DisplayColorBytes> bytes{};
    for (int i = 0; i < DisplayColorCount; ++i)
        for (int b = 0; b < 4; ++b) bytes[4 * i + b] = static_cast<std::uint8_t>(colors[i] >> (8 * b));
    return bytes;
}

void DisplayColorFromBytes(const std::array<std::uint8_t, DisplayColorBytes>& bytes,
                           std::uint32_t (&colors)[DisplayColorCount]) {
    for (int i = 0; i < DisplayColorCount; ++i) {
        std::uint32_t c = 0;
        for (int b = 0; b < 4; ++b) c |= std::uint32_t(bytes[4 * i + b]) << (8 * b);
        colors[i] = c;
    }
}
