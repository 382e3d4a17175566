// The recent-file list of the running program and its registry store
// ("Recent File List", values File1..File9, UTF-16 paths). Windows code.
#pragma once

#include <windows.h>

#include <string>

#include "record/recent_files.h"

RecentFiles& RecentFileList();

// Start-up: the list from the registry, empty values skipped.
void ReadRecentFiles();
// All nine values from the list, slots beyond its count as empty strings.
void StoreRecentFiles();

// The recent-file sub-menu as it is about to open: "(なし)" greyed when the
// list is empty, otherwise "&1 path" ... with ids 1202 onward.
void BuildRecentMenu(HMENU menu);
