// The text that announces the end of a game, in Shift-JIS bytes.
#pragma once

#include <string>

// "終局", the caption of the announcement box.
inline constexpr char ResultCaption[] = "\x8F\x49\x8B\xC7";

// The winner and the margin from discDifference (black - white): "黒の１２石勝ちです。"
// with the margin as two full-width cells, or "引き分けです。".
std::string ResultText(int discDifference);
