// Loading, saving and deleting the settings in the registry. Windows code.
#pragma once

#include <windows.h>

// Start-up, before the main window exists: fills currentSettings from the
// "Configuration" key; every value that is missing or invalid takes its
// default, which is written back at once. largest is the largest display
// unit whose window fits the screen.
void LoadSettings(int largest);

// Writes every value of currentSettings.
void SaveSettings();
// Writes the hint values of currentSettings alone (the switch and the hint
// settings dialog store them at once).
void SaveHintSettings();

// Deletes everything the program keeps in the registry: the product key and,
// when nothing else lies below it, the vendor key. Reports nothing; the
// settings in memory stay as they are.
void DeleteStoredSettings();

// The game review's three values under "Configuration": read (an invalid or
// missing value takes its default, written back at once), and written.
struct ReviewParams;
ReviewParams LoadReviewSettings();
void SaveReviewSettings(const ReviewParams& params);
