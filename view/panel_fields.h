// What the status panel shows and where: the fixed labels and the value
// fields, as rectangles and Shift-JIS texts for a layout unit u. The window
// code only draws what these return.
#pragma once

#include <string>
#include <vector>

#include "view/layout.h"
#include "view/message_lines.h"

// PanelFields bits: field groups to redraw.
constexpr unsigned PanelMoveNumber = 0x001;
constexpr unsigned PanelLegalMoves = 0x002;  // legal moves and side to move
constexpr unsigned PanelPlayers = 0x004;
constexpr unsigned PanelLastMoves = 0x008;
constexpr unsigned PanelDiscs = 0x010;
constexpr unsigned PanelTimes = 0x020;
constexpr unsigned PanelBlackColumn = 0x040;
constexpr unsigned PanelWhiteColumn = 0x080;
constexpr unsigned PanelMessages = 0x100;
constexpr unsigned PanelAllFields = 0x1FF;

// The column bit of a side (0 black, 1 white).
inline unsigned PanelColumnOf(int side) { return side == 0 ? PanelBlackColumn : PanelWhiteColumn; }

enum class PanelInk { Black, White, Label };

struct PanelText {
    LayoutRect rect;
    PanelInk ink;
    std::string text;  // Shift-JIS bytes
};

// The values the panel reads, per colour Black first.
struct PanelValues {
    int moveNumber;
    int sideToMove;
    int legalMoveCount;
    int kind[2];
    int move[2];
    int discs[2];
    int clock[2];
};

// The seven fixed labels of boxes 1 and 2.
std::vector<PanelText> PanelLabels(int u);

// The value fields of the selected groups, in drawing order.
std::vector<PanelText> PanelFieldTexts(int u, unsigned fields, const PanelValues& values,
                                       const MessageLines& lines);

// A player's name: "  人 間  " for a person, "ｺﾝﾋﾟｭｰﾀ n" for level n; nine bytes.
std::string PlayerKindText(int kind);
