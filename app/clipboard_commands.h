// The game and the position through the clipboard: copy the game as a
// transcript, copy the position as a board string, paste either as a new
// game. Windows code.
#pragma once

#include <windows.h>

#include <string>

void CopyGameCommand(HWND window);
void CopyPositionCommand(HWND window);
// After the gate with 1200.
void PasteCommand(HWND window);

// Clipboard text as the paste reads it: ASCII kept, full-width ASCII and the
// ideographic space as their ASCII forms, anything else as a character no
// game text holds.
std::string PasteTextFromWide(const std::wstring& text);

// ASCII text as CF_UNICODETEXT and CF_TEXT; false when the clipboard could
// not be had.
bool PutOnClipboard(HWND window, const std::string& ascii);
