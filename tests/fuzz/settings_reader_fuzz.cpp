// Any answer of the registry for every stored setting: each value missing or
// present with arbitrary contents, against any screen. The settings taken must
// all be valid, a value taken must be the stored one, a value refused must be
// written back, and the settings stored again must read back whole with
// nothing to write back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/settings.h"

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t Byte() {
        if (!size) return 0;
        --size;
        return *data++;
    }
    std::uint32_t Dword() {
        std::uint32_t n = 0;
        for (int b = 0; b < 4; ++b) n |= std::uint32_t(Byte()) << (8 * b);
        return n;
    }
};

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    const int largest = static_cast<std::int8_t>(in.Byte());
    StoredSettings stored;
    for (int i = 0; i < SettingValueCount; ++i) {
        const bool present = in.Byte() & 1;
        switch (SettingValues[i].type) {
            case SettingType::Dword:
                if (present) stored.dword[i] = in.Dword();
                break;
            case SettingType::Binary:
                if (present) {
                    std::array<std::uint8_t, DisplayColorBytes> bytes;
                    for (auto& b : bytes) b = in.Byte();
                    stored.displayColor = bytes;
                }
                break;
            case SettingType::String:
                if (present) {
                    std::string text(in.Byte() % 48, '\0');
                    for (char& c : text) c = static_cast<char>(in.Byte());
                    stored.fontName = text;
                }
                break;
        }
    }

    const CheckedSettings checked = CheckStoredSettings(stored, largest);
    const Settings& s = checked.settings;
    const Settings defaults = DefaultSettings(largest);
    for (int i = 0; i < SettingValueCount; ++i) {
        const auto value = static_cast<SettingValue>(i);
        if (SettingValues[i].type != SettingType::Dword) continue;
        const std::int32_t n = DwordSetting(s, value);
        Check(IsValidDwordSetting(value, n, largest));
        if (checked.writeBack[i]) Check(n == DwordSetting(defaults, value));
        else Check(stored.dword[i] && std::uint32_t(n) == *stored.dword[i]);
    }
    Check(checked.writeBack[DisplayColorValue] == !stored.displayColor);
    if (stored.displayColor) Check(DisplayColorToBytes(s.DisplayColor) == *stored.displayColor);
    // The face name ends inside its field and is zero-filled past its end.
    const std::size_t nameLength = strnlen(s.FontName, FontNameField);
    Check(nameLength < std::size_t(FontNameField));
    for (std::size_t i = nameLength; i < std::size_t(FontNameField); ++i) Check(s.FontName[i] == '\0');
    if (!checked.writeBack[FontNameValue]) Check(stored.fontName && FitsFontNameField(*stored.fontName));

    // Stored again as the program writes it, it reads back unchanged.
    StoredSettings again;
    for (int i = 0; i < SettingValueCount; ++i)
        if (SettingValues[i].type == SettingType::Dword)
            again.dword[i] = static_cast<std::uint32_t>(DwordSetting(s, static_cast<SettingValue>(i)));
    again.displayColor = DisplayColorToBytes(s.DisplayColor);
    again.fontName = std::string(s.FontName, ShiftJisFieldLength(std::string(s.FontName, nameLength), FontNameField));
    const CheckedSettings reread = CheckStoredSettings(again, largest);
    Check(reread.settings == s);
    for (bool w : reread.writeBack) Check(!w);
    return 0;
}
