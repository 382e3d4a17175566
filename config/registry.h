// The registry layer: the program's keys below HKEY_CURRENT_USER\Software and
// typed reads and writes of their values. Windows code; every call goes
// through the W API, Shift-JIS texts are converted at this boundary.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

inline constexpr wchar_t VendorKeyName[] = L"Velmarch";
inline constexpr wchar_t ProductKeyName[] = L"Tavix";

// Software\vendor\product\group, opened with full access. The first null part
// ends the path: (vendor, null, null) is the vendor key, (null, null, null)
// "Software" itself. Create makes missing keys; Open only opens existing ones.
// Both return null on failure; the caller closes the key with RegCloseKey.
HKEY CreateRegistryKey(const wchar_t* vendor, const wchar_t* product, const wchar_t* group);
HKEY OpenRegistryKey(const wchar_t* vendor, const wchar_t* product, const wchar_t* group);

// Each read succeeds only for a value of its own type and size: a REG_DWORD of
// 4 bytes; a REG_BINARY of exactly `size` bytes; a REG_SZ that fits, with its
// terminator, into `capacity` (Shift-JIS bytes for the narrow form, UTF-16
// units for the wide one). A Shift-JIS read also fails when the text has
// characters that code page 932 cannot hold. On failure `out` is unusable.
bool ReadDwordValue(HKEY key, const wchar_t* name, DWORD& out);
bool ReadBinaryValue(HKEY key, const wchar_t* name, void* out, DWORD size);
bool ReadStringValue(HKEY key, const wchar_t* name, std::string& out, size_t capacity);
bool ReadStringValue(HKEY key, const wchar_t* name, std::wstring& out, size_t capacity);

// Writes ignore failures, as nothing could be done about them. A string is
// written up to its terminator, cut to fit a field of `size` (bytes or
// units, terminator included) at a whole character.
void WriteDwordValue(HKEY key, const wchar_t* name, DWORD value);
void WriteBinaryValue(HKEY key, const wchar_t* name, const void* data, DWORD size);
void WriteStringValue(HKEY key, const wchar_t* name, std::string_view text, size_t size);
void WriteStringValue(HKEY key, const wchar_t* name, std::wstring_view text, size_t size);

