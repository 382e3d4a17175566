// The recent-file list: the last nine record files loaded or saved, the most
// recent first, no two the same when compared without regard to letter
// case (as the file system compares names). Paths are UTF-16 text.
#pragma once

#include <string>

constexpr int RecentFileSlots = 9;
// A slot holds a path of up to 259 characters and its terminator.
constexpr std::size_t RecentPathRoom = 260;

struct RecentFiles {
    std::wstring paths[RecentFileSlots];
    int count = 0;
};

// The list from the nine stored values in order; empty ones (missing, empty
// or unusable) are skipped, so the list closes up.
void SetRecentFiles(RecentFiles& list, const std::wstring (&stored)[RecentFileSlots]);

// Puts the path at the top: an entry equal to it regardless of letter case
// moves up, otherwise the others move down and a tenth falls out. A path
// too long for a slot is not listed.
void AddRecentFile(RecentFiles& list, const std::wstring& path);

// Letter case folded for the comparison of paths.
bool SamePathIgnoringCase(const std::wstring& a, const std::wstring& b);

// The item text of slot i (0..8) in the recent-file menu: "&1 path", an
// ampersand of the path doubled.
std::wstring RecentMenuText(int slot, const std::wstring& path);
