#include "view/panel_fields.h"

#include "core/notation.h"

namespace {

constexpr const char* Blank4 = "    ";

// Two full-width digits, a missing leading digit as two half-width spaces.
std::string TwoDigitText(int value) { return WideNumberText(static_cast<unsigned>(value), 2).value_or(Blank4); }

LayoutRect UnitRect(int u, int left, int top, int right, int bottom) {
    return {left * u, ToolbarBand + top * u, right * u, ToolbarBand + bottom * u};
}

// Black column x 42u..50u, white column 56u..64u.
LayoutRect ColumnRect(int u, int side, int top) {
    const int left = side == 0 ? 42 : 56;
    return UnitRect(u, left, top, left + 8, top + 2);
}

PanelInk SideInk(int side) { return side == 0 ? PanelInk::Black : PanelInk::White; }

}  // namespace

std::string PlayerKindText(int kind) {
    if (kind >= 0 && kind <= 9) {
        std::string t = "\xBA\xDD\xCB\xDF\xAD\xB0\xC0 0";  // ｺﾝﾋﾟｭｰﾀ 0
        t[8] = static_cast<char>('0' + kind);
        return t;
    }
    return "  \x90\x6C \x8A\xD4  ";  // "  人 間  "
}

std::vector<PanelText> PanelLabels(int u) {
    return {
        {UnitRect(u, 43, 4, 51, 6), PanelInk::Label, "\x8C\xBB \x8E\xE8 \x90\x94"},  // 現 手 数
        {UnitRect(u, 59, 4, 63, 6), PanelInk::Label, "\x8E\xE8\x96\xDA"},            // 手目
        {UnitRect(u, 43, 7, 51, 9), PanelInk::Label, "\x92\x85\x8E\xE8\x89\xC2\x94\x5C"},  // 着手可能
        {UnitRect(u, 59, 7, 63, 9), PanelInk::Label, "\x89\xD3\x8F\x8A"},            // 箇所
        {UnitRect(u, 51, 15, 55, 17), PanelInk::Label, "\x92\x85\x8E\xE8"},          // 着手
        {UnitRect(u, 51, 17, 55, 19), PanelInk::Label, "\x90\xCE\x90\x94"},          // 石数
        {UnitRect(u, 51, 19, 55, 21), PanelInk::Label, "\x8E\x9E\x8A\xD4"},          // 時間
    };
}

std::vector<PanelText> PanelFieldTexts(int u, unsigned fields, const PanelValues& v, const MessageLines& lines) {
    std::vector<PanelText> out;
    if (fields & PanelMoveNumber)
        out.push_back({UnitRect(u, 54, 4, 58, 6), PanelInk::White, v.moveNumber > 0 ? TwoDigitText(v.moveNumber) : Blank4});
    if (fields & PanelLegalMoves) {
        out.push_back({UnitRect(u, 54, 7, 58, 9), PanelInk::White,
                       v.legalMoveCount >= 0 ? TwoDigitText(v.legalMoveCount) : Blank4});
        out.push_back({UnitRect(u, 51, 12, 55, 14), SideInk(v.sideToMove == 0 ? 0 : 1),
                       v.sideToMove == 0 ? "\x8D\x95\x94\xD4" : "\x94\x92\x94\xD4"});  // 黒番 / 白番
    }
    // Per-colour groups, each for the selected columns, black before white.
    struct ColumnGroup {
        unsigned bit;
        int top;
    };
    static constexpr ColumnGroup groups[] = {
        {PanelPlayers, 12}, {PanelLastMoves, 15}, {PanelDiscs, 17}, {PanelTimes, 19}};
    for (const ColumnGroup& g : groups) {
        if (!(fields & g.bit)) continue;
        for (int side = 0; side < 2; ++side) {
            if (!(fields & PanelColumnOf(side))) continue;
            std::string text;
            switch (g.bit) {
                case PanelPlayers: text = PlayerKindText(v.kind[side]); break;
                case PanelLastMoves: text = SquareText(v.move[side]); break;
                case PanelDiscs: text = TwoDigitText(v.discs[side]); break;
                default: text = TimeText(v.clock[side]); break;
            }
            out.push_back({ColumnRect(u, side, g.top), SideInk(side), std::move(text)});
        }
    }
    if (fields & PanelMessages) {
        for (int i = 0; i < MessageLineCount; ++i)
            out.push_back({UnitRect(u, 42, 24 + 2 * i, 64, 26 + 2 * i), PanelInk::Black, MessageLineText(lines, i)});
    }
    return out;
}
