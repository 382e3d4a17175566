// Text forms of squares, lines, values, times and numbers. All texts are
// Shift-JIS byte strings returned by value, so that the search thread and the
// window thread can both use them.
#pragma once

#include <optional>
#include <string>

#include "core/board.h"

std::string SquareText(Square sq);            // full-width "ｅ４", "パス", or four blanks
std::string SquareCode(Square sq);            // "e4", or "**" for a pass or no move
Square ParseSquareCode(const char* text);     // square, 0 for "**", -1 otherwise
std::string LineCode(const Square* line);     // codes of a 0-terminated line, concatenated
std::string ValueText(int value);             // "+12", "0", "-5"
std::string TimeText(int seconds);            // "hh:mm:ss", hours modulo 100
int ParseTimeText(const char* text);          // seconds, 0 for any other text
std::optional<std::string> WideNumberText(unsigned value, int width);
