#include "config/settings_store.h"

#include "config/registry.h"
#include "config/review_settings.h"
#include "config/settings.h"

namespace {

constexpr wchar_t ConfigurationKeyName[] = L"Configuration";

std::wstring AsciiName(const char* ascii) {
    std::wstring name;
    for (const char* c = ascii; *c; ++c) name += static_cast<wchar_t>(*c);
    return name;
}

std::wstring ValueName(int value) { return AsciiName(SettingValues[value].name); }

void WriteSettingValue(HKEY key, const Settings& s, int value) {
    const std::wstring name = ValueName(value);
    switch (SettingValues[value].type) {
        case SettingType::Dword:
            WriteDwordValue(key, name.c_str(), static_cast<DWORD>(DwordSetting(s, static_cast<SettingValue>(value))));
            break;
        case SettingType::Binary: {
            const auto bytes = DisplayColorToBytes(s.DisplayColor);
            WriteBinaryValue(key, name.c_str(), bytes.data(), static_cast<DWORD>(bytes.size()));
            break;
        }
        case SettingType::String:
            WriteStringValue(key, name.c_str(), std::string_view(s.FontName, sizeof s.FontName), sizeof s.FontName);
            break;
    }
}

StoredSettings ReadStoredSettings(HKEY key) {
    StoredSettings stored;
    for (int i = 0; i < SettingValueCount; ++i) {
        const std::wstring name = ValueName(i);
        switch (SettingValues[i].type) {
            case SettingType::Dword: {
                DWORD n = 0;
                if (ReadDwordValue(key, name.c_str(), n)) stored.dword[i] = n;
                break;
            }
            case SettingType::Binary: {
                std::array<std::uint8_t, DisplayColorBytes> bytes{};
                if (ReadBinaryValue(key, name.c_str(), bytes.data(), DisplayColorBytes)) stored.displayColor = bytes;
                break;
            }
            case SettingType::String: {
                std::string text;
                if (ReadStringValue(key, name.c_str(), text, FontNameField)) stored.fontName = text;
                break;
            }
        }
    }
    return stored;
}

}  // namespace

void LoadSettings(int largest) {
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, ConfigurationKeyName);
    // Without the key every read fails: all defaults, and the write-backs
    // fail silently.
    const CheckedSettings checked = CheckStoredSettings(ReadStoredSettings(key), largest);
    currentSettings = checked.settings;
    for (int i = 0; i < SettingValueCount; ++i) {
        if (checked.writeBack[i]) WriteSettingValue(key, currentSettings, i);
    }
    if (key) RegCloseKey(key);
}

void SaveSettings() {
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, ConfigurationKeyName);
    if (!key) return;
    for (int i = 0; i < SettingValueCount; ++i) WriteSettingValue(key, currentSettings, i);
    RegCloseKey(key);
}

void SaveHintSettings() {
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, ConfigurationKeyName);
    if (!key) return;
    for (int i = HintsValue; i <= HintWithComputerValue; ++i) WriteSettingValue(key, currentSettings, i);
    RegCloseKey(key);
}

void DeleteStoredSettings() {
    HKEY vendor = OpenRegistryKey(VendorKeyName, nullptr, nullptr);
    if (!vendor) return;
    RegDeleteTreeW(vendor, ProductKeyName);
    DWORD subKeys = 0;
    const bool counted = RegQueryInfoKeyW(vendor, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(vendor);
    // The vendor key may hold other products' keys; it goes only when empty.
    if (!counted || subKeys != 0) return;
    HKEY software = OpenRegistryKey(nullptr, nullptr, nullptr);
    if (!software) return;
    RegDeleteKeyW(software, VendorKeyName);
    RegCloseKey(software);
}

ReviewParams LoadReviewSettings() {
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, ConfigurationKeyName);
    std::optional<std::uint32_t> stored[ReviewSettingCount];
    for (int i = 0; i < ReviewSettingCount; ++i) {
        DWORD n = 0;
        if (ReadDwordValue(key, AsciiName(ReviewSettingNames[i]).c_str(), n)) stored[i] = n;
    }
    CheckedReviewSettings checked = CheckStoredReviewSettings(stored);
    for (int i = 0; i < ReviewSettingCount; ++i)
        if (checked.writeBack[i])
            WriteDwordValue(key, AsciiName(ReviewSettingNames[i]).c_str(),
                            static_cast<DWORD>(ReviewSetting(checked.params, static_cast<ReviewSettingValue>(i))));
    if (key) RegCloseKey(key);
    return checked.params;
}

void SaveReviewSettings(const ReviewParams& params) {
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, ConfigurationKeyName);
    if (!key) return;
    ReviewParams p = params;
    for (int i = 0; i < ReviewSettingCount; ++i)
        WriteDwordValue(key, AsciiName(ReviewSettingNames[i]).c_str(),
                        static_cast<DWORD>(ReviewSetting(p, static_cast<ReviewSettingValue>(i))));
    RegCloseKey(key);
}
