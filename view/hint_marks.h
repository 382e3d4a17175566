// Hints drawn on the board: the values of the shown report in their squares
// and the depth reached in the message box. The report stays remembered
// while hidden, so that it comes back at once while its position stands.
// Windows code.
#pragma once

#include <windows.h>

#include "engine/hints.h"

// Remembers report and draws it in place of what was shown.
void ShowHintReport(HWND window, const HintReport& report);
// Remembers report without drawing it (RevealHintMarks shows it later).
void RememberHintReport(const HintReport& report);
// The remembered report, or null.
const HintReport* ShownHintReport();
// Takes the marks off the board (and the depth line off the panel); the
// report stays remembered.
void HideHintMarks(HWND window);
// Draws the remembered report again; nothing when it does not belong to the
// position on the board.
void RevealHintMarks(HWND window);
// Hides the marks and forgets the report.
void ForgetHintReport(HWND window);
bool HintMarksShown();

// The depth line again, when the marks are shown: the message lines were
// just drawn over it.
void RedrawHintDepthLine(HDC dc);

// The paint: the marks, when shown, over the freshly drawn board and panel.
void DrawHintMarks(HDC dc);
