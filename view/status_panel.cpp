#include "view/status_panel.h"

#include "config/settings.h"
#include "core/wide_text.h"
#include "session/game_session.h"
#include "view/board_painting.h"
#include "view/disc_shapes.h"
#include "view/drawing_resources.h"
#include "view/hint_marks.h"
#include "view/message_lines.h"

namespace {

constexpr int T = ToolbarBand;

Square searchMarkSquare = 0;

COLORREF InkColour(PanelInk ink) {
    switch (ink) {
    case PanelInk::Black: return RGB(0, 0, 0);
    case PanelInk::White: return RGB(255, 255, 255);
    default: return DisplayColour(PanelLabelColor);
    }
}

void DrawPanelText(HDC dc, const PanelText& t) {
    RECT r = {t.rect.left, t.rect.top, t.rect.right, t.rect.bottom};
    const std::wstring wide = WideFromShiftJis(t.text);
    SetTextColor(dc, InkColour(t.ink));
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP);
}

PanelValues CurrentPanelValues() {
    const GameSession& s = Session();
    PanelValues v;
    v.moveNumber = s.position.moveNumber;
    v.sideToMove = s.position.sideToMove;
    v.legalMoveCount = s.position.legalMoveCount;
    for (int side = 0; side < 2; ++side) {
        v.kind[side] = s.side[side].kind;
        v.move[side] = s.side[side].move;
        v.discs[side] = s.side[side].discs;
        v.clock[side] = s.side[side].clock;
    }
    return v;
}

}  // namespace

void DrawPanelPicture(HDC dc) {
    const int u = DisplayUnit();
    BevelFrame(dc, 40 * u, T + u, 66 * u, T + 39 * u, 2, LightDisplayShade(PanelFrameColor),
               DarkDisplayShade(PanelFrameColor), DisplayColour(PanelFrameColor));
    for (int box = 1; box <= 3; ++box) {
        const LayoutRect r = PanelBoxRect(u, box);
        BevelFrame(dc, r.left, r.top, r.right, r.bottom, 1, DarkDisplayShade(PanelFrameColor),
                   LightDisplayShade(PanelFrameColor), DisplayColour(PanelBackgroundColor));
    }
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    for (const PanelText& label : PanelLabels(u)) DrawPanelText(dc, label);
    SetBkMode(dc, oldMode);
}

void RedrawPanelFields(HDC dc, unsigned fields) {
    SetBkColor(dc, DisplayColour(PanelBackgroundColor));
    for (const PanelText& t : PanelFieldTexts(DisplayUnit(), fields, CurrentPanelValues(), PanelMessageLines()))
        DrawPanelText(dc, t);
}

void RedrawPanelFields(HWND window, unsigned fields) {
    WindowDrawing drawing(window);
    SetBkMode(drawing.dc(), OPAQUE);
    RedrawPanelFields(drawing.dc(), fields);
    if (fields & PanelMessages) RedrawHintDepthLine(drawing.dc());
}

void DrawMessageLine(HDC dc, int line, std::string_view text) {
    PanelText t = PanelFieldTexts(DisplayUnit(), PanelMessages, CurrentPanelValues(), PanelMessageLines())[line];
    t.text = text;
    const int oldMode = SetBkMode(dc, OPAQUE);
    SetBkColor(dc, DisplayColour(PanelBackgroundColor));
    DrawPanelText(dc, t);
    SetBkMode(dc, oldMode);
}

void SetStatusMessage(UINT id) { LayOutStatusMessage(PanelMessageLines(), LoadShiftJisString(id)); }

void ShowSearchMark(HDC dc, Square sq) {
    if (sq > 0) {
        searchMarkSquare = sq;
        DrawSquare(dc, sq, MarkCell);
    } else if (searchMarkSquare > 0) {
        DrawSquare(dc, searchMarkSquare, sq == 0 ? EmptyCell : MarkCell);
        if (sq == 0) searchMarkSquare = 0;
    }
}

void ShowSearchMark(HWND window, Square sq) {
    WindowDrawing drawing(window);
    ShowSearchMark(drawing.dc(), sq);
}

void ShowBestLine(HWND window, const Square* line, int value) {
    LayOutBestLine(PanelMessageLines(), line, value);
    RedrawPanelFields(window, PanelMessages);
}

void TickClock(HWND window) {
    GameSession& s = Session();
    const int side = s.position.sideToMove;
    ++s.side[side].clock;
    RedrawPanelFields(window, PanelTimes | PanelColumnOf(side));
}
