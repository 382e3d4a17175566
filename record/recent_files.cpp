#include "record/recent_files.h"

namespace {

// Upper case of the letters file names commonly hold: ASCII, Latin-1,
// Greek, Cyrillic and the full-width Latin letters.
wchar_t FoldCase(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F) return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);
    if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<wchar_t>(c - 0x20);
    return c;
}

}  // namespace

bool SamePathIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

void SetRecentFiles(RecentFiles& list, const std::wstring (&stored)[RecentFileSlots]) {
    list.count = 0;
    for (const std::wstring& path : stored)
        if (!path.empty() && path.size() < RecentPathRoom) list.paths[list.count++] = path;
    for (int i = list.count; i < RecentFileSlots; ++i) list.paths[i].clear();
}

void AddRecentFile(RecentFiles& list, const std::wstring& path) {
    if (path.empty() || path.size() >= RecentPathRoom) return;
    int j = 0;
    while (j < list.count && !SamePathIgnoringCase(list.paths[j], path)) ++j;
    if (j == list.count) {
        if (list.count < RecentFileSlots) ++list.count;
        j = list.count - 1;
    }
    for (; j > 0; --j) list.paths[j] = list.paths[j - 1];
    list.paths[0] = path;
}

std::wstring RecentMenuText(int slot, const std::wstring& path) {
    std::wstring text = L"&";
    text += static_cast<wchar_t>(L'1' + slot);
    text += L' ';
    // An ampersand of the path is shown, not taken as the item's key.
    for (wchar_t c : path) {
        if (c == L'&') text += L'&';
        text += c;
    }
    return text;
}
