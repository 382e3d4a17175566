// The six message lines of the status panel: 22 Shift-JIS bytes each, one
// contiguous block, never zero-terminated. Lines 0-2 carry the status
// message, lines 3-5 what the last six-segment message or best line left.
#pragma once

#include <string>
#include <string_view>

#include "core/board.h"

constexpr int MessageLineCount = 6;
constexpr int MessageLineBytes = 22;
// A status message text is at most this many bytes; longer texts are cut.
constexpr int StatusMessageMaxBytes = 255;

struct MessageLines {
    char bytes[MessageLineCount * MessageLineBytes];
};

// True for the first byte of a double-byte Shift-JIS character.
bool IsShiftJisLeadByte(unsigned char c);

void ClearMessageLines(MessageLines& lines);

// Lays a "|"-separated Shift-JIS text out into the lines: each segment
// centred in its line (an odd remainder to the right), a segment of 22 bytes
// or more copied from column 0. Lines after the last segment keep their
// contents. A double-byte character is never split: neither by the "|" scan
// nor by the cut at 22 bytes.
void LayOutStatusMessage(MessageLines& lines, std::string_view text);

// Lays a best line (0-terminated squares) and its value into lines 3-5: the
// moves from the start of line 5 - k running on across lines, the value
// right-aligned at the end of line 5.
void LayOutBestLine(MessageLines& lines, const Square* line, int value);

// Line i (0..5) as its 22 bytes.
std::string MessageLineText(const MessageLines& lines, int i);

// The message lines shown in the panel (module state, one per program).
MessageLines& PanelMessageLines();
