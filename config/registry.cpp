#include "config/registry.h"

#include <algorithm>
#include <vector>

#include "config/settings.h"
#include "core/wide_text.h"

namespace {

constexpr UINT ShiftJisCodePage = 932;

std::wstring KeyPath(const wchar_t* vendor, const wchar_t* product, const wchar_t* group) {
    std::wstring path = L"Software";
    for (const wchar_t* part : {vendor, product, group}) {
        if (!part) break;
        path += L'\\';
        path += part;
    }
    return path;
}

// The text of a REG_SZ value up to its first terminator (the stored data need
// not end with one).
bool ReadWideText(HKEY key, const wchar_t* name, std::wstring& out) {
    if (!key) return false;
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ) return false;
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = bytes;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) != ERROR_SUCCESS ||
        type != REG_SZ || got > bytes)
        return false;
    data[got / sizeof(wchar_t)] = L'\0';
    out.assign(data.data());
    return true;
}

// Strict conversion: a character without a Shift-JIS form fails instead of
// turning into '?'.
bool StrictShiftJisFromWide(const std::wstring& text, std::string& out) {
    out.clear();
    if (text.empty()) return true;
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(ShiftJisCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr,
                                      &usedDefault);
    if (n <= 0 || usedDefault) return false;
    out.resize(static_cast<size_t>(n));
    WideCharToMultiByte(ShiftJisCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, out.data(), n, nullptr, nullptr);
    return true;
}

void WriteWideText(HKEY key, const wchar_t* name, const std::wstring& text) {
    if (!key) return;
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

HKEY CreateRegistryKey(const wchar_t* vendor, const wchar_t* product, const wchar_t* group) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(vendor, product, group).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY OpenRegistryKey(const wchar_t* vendor, const wchar_t* product, const wchar_t* group) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(vendor, product, group).c_str(), 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool ReadDwordValue(HKEY key, const wchar_t* name, DWORD& out) {
    if (!key) return false;
    DWORD type = 0;
    DWORD size = sizeof out;
    return RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&out), &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof out;
}

bool ReadBinaryValue(HKEY key, const wchar_t* name, void* out, DWORD size) {
    if (!key) return false;
    DWORD type = 0;
    DWORD stored = 0;
    // Ask for the size first, so that a longer value fails rather than
    // being cut to fit.
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &stored) != ERROR_SUCCESS || type != REG_BINARY ||
        stored != size)
        return false;
    return RegQueryValueExW(key, name, nullptr, &type, static_cast<BYTE*>(out), &stored) == ERROR_SUCCESS &&
           type == REG_BINARY && stored == size;
}

bool ReadStringValue(HKEY key, const wchar_t* name, std::string& out, size_t capacity) {
    std::wstring text;
    return ReadWideText(key, name, text) && StrictShiftJisFromWide(text, out) && out.size() < capacity;
}

bool ReadStringValue(HKEY key, const wchar_t* name, std::wstring& out, size_t capacity) {
    return ReadWideText(key, name, out) && out.size() < capacity;
}

void WriteDwordValue(HKEY key, const wchar_t* name, DWORD value) {
    if (!key) return;
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void WriteBinaryValue(HKEY key, const wchar_t* name, const void* data, DWORD size) {
    if (!key) return;
    RegSetValueExW(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

void WriteStringValue(HKEY key, const wchar_t* name, std::string_view text, size_t size) {
    WriteWideText(key, name, WideFromShiftJis(text.substr(0, ShiftJisFieldLength(text, size))));
}

void WriteStringValue(HKEY key, const wchar_t* name, std::wstring_view text, size_t size) {
    text = text.substr(0, text.find(L'\0'));
    size_t length = size ? std::min(text.size(), size - 1) : 0;
    if (length > 0 && length < text.size() && IS_HIGH_SURROGATE(text[length - 1])) --length;
    WriteWideText(key, name, std::wstring(text.substr(0, length)));
}
