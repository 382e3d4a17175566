// The user settings: one Settings record for the whole run, the valid range
// and default of every value, and the decision which stored values are taken
// and which are replaced by their defaults (and written back). The registry
// itself is Windows code (config/registry.cpp, config/settings_store.cpp);
// this part only sees what the registry answered.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr int DisplayColorCount = 8;
constexpr int DisplayColorBytes = 4 * DisplayColorCount;  // stored form, 4 bytes a colour
constexpr int FontNameField = 32;                          // bytes, terminator included
constexpr int SmallestDisplaySizeSetting = 4;
// Ranges of the hint values.
constexpr int DeepestHintDepth = 20;  // the midgame search's deepest depth
constexpr int MostHintExactEmpties = 30;
constexpr int MostHintBest = 32;

// Indices into DisplayColor, in stored order.
enum DisplayColorIndex {
    BoardSurfaceColor,
    BoardFrameColor,
    BoardLabelColor,
    BoardGridColor,
    DiscMarkColor,
    PanelBackgroundColor,
    PanelFrameColor,
    PanelLabelColor,
};

// A Windows colour value: red in the low byte, then green, then blue.
constexpr std::uint32_t ColorValue(int red, int green, int blue) {
    return std::uint32_t(red) | std::uint32_t(green) << 8 | std::uint32_t(blue) << 16;
}

// Field order is the order of the stored values; the settings dialog copies
// and compares the whole record, so FontName is kept zero-filled past its end.
struct Settings {
    std::int32_t AutoMove;
    std::int32_t ThoughtDisplay;
    std::int32_t ThoughtTime;
    std::int32_t StandardType;
    std::int32_t StandardValue;  // low half threshold, high half cap, both signed 16-bit
    std::int32_t TurnSpeed;
    std::int32_t EffectSound;
    std::uint32_t DisplayColor[DisplayColorCount];
    char FontName[FontNameField];  // Shift-JIS, NUL-terminated
    std::int32_t DisplaySize;
    std::int32_t TopMost;
    // Hints on the board: the switch, the deepest midgame depth, exact values
    // from how many empty squares, only the best N shown (0 every move), and
    // whether they run while a computer plays in the running game.
    std::int32_t Hints;
    std::int32_t HintDepth;
    std::int32_t HintExact;
    std::int32_t HintBest;
    std::int32_t HintWithComputer;

    bool operator==(const Settings&) const = default;
};

// The settings of this run. Filled at start-up, changed by the settings dialog.
extern Settings currentSettings;

// The stored values, in the order they are read and written.
enum SettingValue {
    AutoMoveValue,
    ThoughtDisplayValue,
    ThoughtTimeValue,
    StandardTypeValue,
    StandardValueValue,
    TurnSpeedValue,
    EffectSoundValue,
    DisplayColorValue,
    FontNameValue,
    DisplaySizeValue,
    TopMostValue,
    HintsValue,
    HintDepthValue,
    HintExactValue,
    HintBestValue,
    HintWithComputerValue,
    SettingValueCount,
};

enum class SettingType { Dword, Binary, String };

struct SettingValueInfo {
    const char* name;  // the registry value name, ASCII
    SettingType type;
};

extern const SettingValueInfo SettingValues[SettingValueCount];

// The field of a REG_DWORD value (any value of SettingType::Dword).
std::int32_t& DwordSetting(Settings& settings, SettingValue value);
std::int32_t DwordSetting(const Settings& settings, SettingValue value);

// What the registry answered for each value: nothing when the read failed
// (missing, wrong type or size). Only the member of the value's type is used.
struct StoredSettings {
    std::optional<std::uint32_t> dword[SettingValueCount];
    std::optional<std::array<std::uint8_t, DisplayColorBytes>> displayColor;
    std::optional<std::string> fontName;  // Shift-JIS bytes without terminator
};

struct CheckedSettings {
    Settings settings;
    bool writeBack[SettingValueCount];  // replaced by its default: store the default
};

// `largestDisplaySize` is the upper bound and default of DisplaySize for the
// current screen; a bound below the smallest size counts as the smallest.
Settings DefaultSettings(int largestDisplaySize);
CheckedSettings CheckStoredSettings(const StoredSettings& stored, int largestDisplaySize);

// The single-value range checks behind CheckStoredSettings, for the dialog.
bool IsValidDwordSetting(SettingValue value, std::int32_t number, int largestDisplaySize);
bool FitsFontNameField(std::string_view name);

// Copies a face name (Shift-JIS) into the field, zero-filling the rest; a name
// that does not fit is cut at the last whole character that does.
void SetFontName(Settings& settings, std::string_view name);

// Length of the longest start of a Shift-JIS text, up to its first NUL, that
// keeps whole characters and fits a field of `field` bytes with terminator.
std::size_t ShiftJisFieldLength(std::string_view text, std::size_t field);

std::array<std::uint8_t, DisplayColorBytes> DisplayColorToBytes(const std::uint32_t (&colors)[DisplayColorCount]);
void DisplayColorFromBytes(const std::array<std::uint8_t, DisplayColorBytes>& bytes,
                           std::uint32_t (&colors)[DisplayColorCount]);

// "ﾚｼﾞｽﾄﾘより本ｿﾌﾄｳｪｱの設定情報を削除します。\n\nよろしいですか？": asked before
// everything the program keeps in the registry is deleted.
inline constexpr char DeleteSettingsQuestion[] =
    "\xDA\xBC\xDE\xBD\xC4\xD8\x82\xE6\x82\xE8\x96\x7B\xBF\xCC\xC4\xB3\xAA\xB1\x82\xCC\x90\xDD\x92\xE8"
    "\x8F\xEE\x95\xF1\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB7\x81\x42\n\n"
    "\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";

// The book limits packed into StandardValue.
inline int StandardThreshold(std::int32_t standardValue) { return std::int16_t(std::uint32_t(standardValue) & 0xFFFF); }
inline int StandardCap(std::int32_t standardValue) { return std::int16_t(std::uint32_t(standardValue) >> 16); }
inline std::int32_t MakeStandardValue(int cap, int threshold) {
    return std::int32_t(std::uint32_t(std::uint16_t(cap)) << 16 | std::uint16_t(threshold));
}
