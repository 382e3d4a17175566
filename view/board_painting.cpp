#include "view/board_painting.h"

#include "config/settings.h"
#include "core/notation.h"
#include "core/wide_text.h"
#include "session/game_session.h"
#include "view/disc_shapes.h"
#include "view/drawing_resources.h"
#include "view/hint_marks.h"
#include "view/layout.h"
#include "view/status_panel.h"

namespace {

constexpr int T = ToolbarBand;
constexpr UINT CentredText = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP;

void DrawLine(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void DrawCentred(HDC dc, std::string_view text, int left, int top, int right, int bottom) {
    RECT r = {left, top, right, bottom};
    const std::wstring wide = WideFromShiftJis(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, CentredText);
}

void DrawBoardBackground(HDC dc, int u) {
    // Outer frame, then the board frame.
    BevelFrame(dc, 0, T, 67 * u, T + 40 * u, 1, RGB(0, 0, 0), RGB(255, 255, 255), NoFill);
    BevelFrame(dc, u, T + u, 39 * u, T + 39 * u, 2, LightDisplayShade(BoardFrameColor),
               DarkDisplayShade(BoardFrameColor), DisplayColour(BoardFrameColor));

    // Surface with its 3-pixel edge.
    {
        HPEN pen = CreatePen(PS_INSIDEFRAME, 3, DisplayColour(BoardGridColor));
        HBRUSH brush = CreateSolidBrush(DisplayColour(BoardSurfaceColor));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        Rectangle(dc, 4 * u - 2, T + 4 * u - 2, 36 * u + 3, T + 36 * u + 3);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
    }
    // Grid lines.
    {
        HPEN pen = CreatePen(PS_SOLID, 1, DisplayColour(BoardGridColor));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        for (int m = 2; m <= 8; ++m) {
            DrawLine(dc, 4 * u * m, T + 4 * u - 2, 4 * u * m, T + 36 * u + 3);
            DrawLine(dc, 4 * u - 2, T + 4 * u * m, 36 * u + 3, T + 4 * u * m);
        }
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    // Star points between columns and rows 2/3 and 6/7.
    {
        HPEN pen = CreatePen(PS_SOLID, 1, DisplayColour(BoardGridColor));
        HBRUSH brush = CreateSolidBrush(DisplayColour(BoardGridColor));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        for (int x : {12 * u, 28 * u})
            for (int y : {12 * u, 28 * u}) Ellipse(dc, x - 2, T + y - 2, x + 3, T + y + 3);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
    }
    // Coordinate labels: column letters above the surface, row digits left of it.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, DisplayColour(BoardLabelColor));
    for (int i = 1; i <= 8; ++i) {
        const std::string name = SquareText(11 * i);
        DrawCentred(dc, std::string_view(name).substr(0, 2), 4 * u * i + 1, T + u + 2, 4 * u * i + 4 * u, T + 4 * u - 2);
        DrawCentred(dc, std::string_view(name).substr(2, 2), u + 2, T + 4 * u * i + 1, 4 * u - 2, T + 4 * u * i + 4 * u);
    }
}

}  // namespace

void BevelFrame(HDC dc, int left, int top, int right, int bottom, int depth, COLORREF colourA, COLORREF colourB,
                COLORREF fill) {
    HPEN penA = CreatePen(PS_SOLID, 1, colourA);
    HPEN penB = CreatePen(PS_SOLID, 1, colourB);
    HGDIOBJ oldPen = SelectObject(dc, penA);
    for (int ring = 0; ring < depth; ++ring) {
        SelectObject(dc, penA);
        MoveToEx(dc, left, bottom - 1, nullptr);
        LineTo(dc, left, top);
        LineTo(dc, right - 1, top);
        SelectObject(dc, penB);
        LineTo(dc, right - 1, bottom - 1);
        LineTo(dc, left - 1, bottom - 1);
        ++left;
        ++top;
        --right;
        --bottom;
    }
    SelectObject(dc, oldPen);
    DeleteObject(penA);
    DeleteObject(penB);
    if (fill != NoFill) {
        HBRUSH brush = CreateSolidBrush(fill);
        const RECT inside = {left, top, right, bottom};
        FillRect(dc, &inside, brush);
        DeleteObject(brush);
    }
}

void DrawSquare(HDC dc, Square sq, int cell) {
    HBITMAP sprites = DiscSprites();
    if (!sprites) return;
    const DiscCopy c = DiscCopyFor(DisplayUnit(), sq, cell);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, sprites);
    BitBlt(dc, c.destX, c.destY, c.width, c.height, memory, c.sourceX, c.sourceY, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void DrawSquareFromBoard(HDC dc, Square sq) {
    const std::uint8_t cell = Session().position.board[sq];
    DrawSquare(dc, sq, cell == Black ? BlackDiscCell : cell == White ? WhiteDiscCell : EmptyCell);
}

void DrawSquareFromBoard(HWND window, Square sq) {
    WindowDrawing drawing(window);
    DrawSquareFromBoard(drawing.dc(), sq);
}

void RedrawBoard(HDC dc) {
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 8; ++column) DrawSquareFromBoard(dc, row * 10 + column);
    RecountSession(Session());
}

void RedrawBoard(HWND window) {
    WindowDrawing drawing(window);
    RedrawBoard(drawing.dc());
}

void PaintMainWindow(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    PrepareDisplayContext(dc);
    DrawBoardBackground(dc, DisplayUnit());
    DrawPanelPicture(dc);
    GameSession& session = Session();
    SwapSnapshot(session);
    RedrawBoard(dc);
    ShowSearchMark(dc, -1);
    RedrawPanelFields(dc, PanelAllFields);
    DrawHintMarks(dc);
    SwapSnapshot(session);
    EndPaint(window, &ps);
}
