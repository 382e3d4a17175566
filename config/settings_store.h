// Loading, saving and deleting the settings in the registry. Windows code.
#pragma once

#include <windows.h>

// Start-up, before the main window exists: fills currentSettings from the
// "Configuration" key; every value that is missing or invalid takes its
// default, which is written back at once.
void LoadSettings();

// Writes all eleven values of currentSettings.
void SaveSettings();

// Closing with Shift held: asks (owned by the main window) whether to delete
// everything the program keeps in the registry, and on Yes deletes the
// product key and, when nothing else lies below it, the vendor key. Reports
// nothing; the settings in memory stay as they are.
void DeleteSettings(HWND window);
