#include "view/hint_marks.h"

#include <cstring>

#include "config/settings.h"
#include "core/wide_text.h"
#include "res/resource.h"
#include "session/game_session.h"
#include "view/board_painting.h"
#include "view/drawing_resources.h"
#include "view/hint_layout.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

HintReport shown;
bool remembered = false;
bool visible = false;

bool BelongsToBoard() { return remembered && SameHintPosition(shown.position, Session().position); }

HFONT CreateHintFont(const HintFontSize& size, bool underline) {
    const char* name = currentSettings.FontName;
    const std::wstring face = WideFromShiftJis(std::string_view(name, strnlen(name, FontNameField)));
    return CreateFontW(size.height, size.width, 0, 0, FW_DONTCARE, FALSE, underline, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       face.c_str());
}

void DrawMark(HDC dc, int u, const HintMark& mark, bool exact) {
    const LayoutRect a = HintArea(u, mark.square);
    RECT r = {a.left, a.top, a.right, a.bottom};
    DrawSquareFromBoard(dc, mark.square);
    if (mark.best) {
        HBRUSH brush = CreateSolidBrush(DisplayColour(DiscMarkColor));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    HFONT font = CreateHintFont(HintFontFor(u, mark.text.size()), exact);
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, exact ? HintExactInk : HintEstimateInk);
    const std::wstring text = WideFromShiftJis(mark.text);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void DrawDepthLine(HDC dc) {
    const std::string line = HintDepthText(shown.step, LoadShiftJisString(IDS_HINT_DEPTH),
                                           LoadShiftJisString(IDS_HINT_EXACT));
    DrawMessageLine(dc, HintDepthLine, line);
}

void DrawMarks(HDC dc) {
    const int u = DisplayUnit();
    HintMark marks[MaxMoves];
    const int n = HintMarks(shown, currentSettings.HintBest, marks);
    for (int i = 0; i < n; ++i) DrawMark(dc, u, marks[i], shown.step.exact);
    DrawDepthLine(dc);
}

// The squares the marks stood on, drawn from the board again, and the
// message lines as they are.
void EraseMarks(HWND window) {
    {
        WindowDrawing drawing(window);
        for (int i = 0; i < shown.count; ++i) DrawSquareFromBoard(drawing.dc(), shown.moves[i].square);
    }
    RedrawPanelFields(window, PanelMessages);
}

}  // namespace

void ShowHintReport(HWND window, const HintReport& report) {
    // A deeper step of the position shown is drawn over it: every mark
    // redraws its own square, and only squares the new one leaves out are
    // cleared.
    if (visible && SameHintPosition(shown.position, report.position)) {
        HintMark marks[MaxMoves];
        const int n = HintMarks(report, currentSettings.HintBest, marks);
        WindowDrawing drawing(window);
        for (int i = 0; i < shown.count; ++i) {
            bool kept = false;
            for (int k = 0; k < n; ++k) kept = kept || marks[k].square == shown.moves[i].square;
            if (!kept) DrawSquareFromBoard(drawing.dc(), shown.moves[i].square);
        }
        shown = report;
        DrawMarks(drawing.dc());
        return;
    }
    HideHintMarks(window);
    RememberHintReport(report);
    RevealHintMarks(window);
}

void RememberHintReport(const HintReport& report) {
    shown = report;
    remembered = true;
}

const HintReport* ShownHintReport() { return remembered ? &shown : nullptr; }

void HideHintMarks(HWND window) {
    if (!visible) return;
    visible = false;
    EraseMarks(window);
}

void RevealHintMarks(HWND window) {
    if (visible || !BelongsToBoard()) return;
    visible = true;
    WindowDrawing drawing(window);
    DrawMarks(drawing.dc());
}

void ForgetHintReport(HWND window) {
    HideHintMarks(window);
    remembered = false;
}

bool HintMarksShown() { return visible; }

void RedrawHintDepthLine(HDC dc) {
    if (visible && BelongsToBoard()) DrawDepthLine(dc);
}

void DrawHintMarks(HDC dc) {
    if (visible && BelongsToBoard()) DrawMarks(dc);
}
