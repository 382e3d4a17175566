#include "research/review_window.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "config/settings.h"
#include "core/notation.h"
#include "core/wide_text.h"
#include "res/resource.h"
#include "research/research_shell.h"
#include "research/review_command.h"
#include "session/game_session.h"
#include "view/drawing_resources.h"
#include "view/layout_window.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

constexpr wchar_t ReviewClassName[] = L"TavixReview";
constexpr UINT_PTR FollowTimer = 1;
constexpr UINT FollowPeriod = 200;  // ms
// The graph's value scale: a disc difference of 64 either way.
constexpr int GraphRange = 64;

// The window's module state: the review shown and the ply marked.
struct ReviewView {
    HWND window = nullptr;
    HWND owner = nullptr;
    HWND list = nullptr;
    HWND summary = nullptr;
    const ReviewResult* shown = nullptr;
    int shownSerial = -1;  // which finished review the rows are of
    int currentPly = -1;
};
ReviewView view;
int reviewSerial = 0;

int Unit() { return std::max(4, DisplayUnit()); }

// Layout in units of u.
RECT GraphRect() {
    const int u = Unit();
    return {u, u, 63 * u, 17 * u};
}
RECT ListRect() {
    const int u = Unit();
    return {u, 21 * u, 47 * u, 46 * u};
}
// Column starts of the list rows and headings, in u from the list's left.
constexpr int ColumnStart[9] = {0, 5, 9, 13, 20, 27, 34, 39, 45};

std::wstring LoadWide(UINT id) { return WideFromShiftJis(LoadShiftJisString(id)); }

// The game as the history holds it: while a job works on the live position
// the game stands in the snapshot.
ReviewGame CurrentGame() {
    const GameSession& s = Session();
    const bool aside = s.mode == AppMode::ComputerThinking || s.mode == AppMode::Research;
    return ReviewGameOf(aside ? s.snapshot : s.position, s.record);
}

// A row as the list holds it (Shift-JIS): the table's fields with the side
// as 黒/白 and the mark in place of how it was valued.
std::string ListRowText(const ReviewRow& row) {
    char text[128];
    std::snprintf(text, sizeof text, "%d\t%s\t%s\t%+d\t%s\t%+d\t%d\t%s", row.ply, row.side == 0 ? "\x8d\x95" : "\x94\x92",
                  SquareCode(row.played).c_str(), row.playedValue, SquareCode(row.best).c_str(), row.bestValue,
                  row.loss, ReviewMarkText(MarkOfLoss(row.loss)));
    return text;
}

std::string SummaryText(const ReviewResult& r) {
    ReviewSideSummary s[2];
    SummariseReview(r, s);
    const std::string format = LoadShiftJisString(IDS_REVIEW_SIDE_SUMMARY);
    std::string text;
    for (int side = 0; side < 2; ++side) {
        char line[128];
        std::snprintf(line, sizeof line, format.c_str(), side == 0 ? "\x8d\x95" : "\x94\x92", s[side].totalLoss,
                      s[side].dubious, s[side].bad);
        text += line;
        text += "\r\n";
    }
    const OpeningInfo& o = KeptOpening();
    char line[256];
    std::snprintf(line, sizeof line, LoadShiftJisString(IDS_REVIEW_OPENING).c_str(),
                  o.name.empty() ? "-" : o.name.c_str(), o.namedMoves, o.bookPlies + 1);
    text += line;
    return text;
}

void FillRows(const ReviewResult* r) {
    SendMessageW(view.list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(view.list, LB_RESETCONTENT, 0, 0);
    if (r)
        for (int i = 0; i < r->rowCount; ++i)
            SendMessageW(view.list, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(WideFromShiftJis(ListRowText(r->rows[i])).c_str()));
    SendMessageW(view.list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(view.list, nullptr, TRUE);
    SetWindowTextW(view.summary, r ? WideFromShiftJis(SummaryText(*r)).c_str() : LoadWide(IDS_REVIEW_DROPPED).c_str());
}

// The row of the move that led to ply (the last move at or before it).
int RowAtPly(const ReviewResult& r, int ply) {
    int row = -1;
    for (int i = 0; i < r.rowCount && r.rows[i].ply <= ply; ++i) row = i;
    return row;
}

// Brings the window up to the history: drops the rows when the moves
// changed, marks the current ply in the list and the graph.
void Follow() {
    const GameSession& s = Session();
    if (s.mode == AppMode::BoardSetup) return;
    const ReviewResult* r = KeptReview(CurrentGame());
    if (r != view.shown || (r && view.shownSerial != reviewSerial)) {
        view.shown = r;
        view.shownSerial = reviewSerial;
        FillRows(r);
        view.currentPly = -1;
        InvalidateRect(view.window, nullptr, TRUE);
    }
    const int ply = HistoryIndex(s.record);
    if (ply == view.currentPly) return;
    view.currentPly = ply;
    const int row = r ? RowAtPly(*r, ply) : -1;
    SendMessageW(view.list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    const RECT graph = GraphRect();
    InvalidateRect(view.window, &graph, FALSE);
}

int PlotX(const RECT& g, int ply, int plies) { return g.left + (g.right - g.left) * ply / std::max(1, plies); }
int PlotY(const RECT& g, int value) {
    value = std::clamp(value, -GraphRange, GraphRange);
    return (g.top + g.bottom) / 2 - (g.bottom - g.top) / 2 * value / GraphRange;
}

void DrawLine(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// The graph: the value after each move from Black's side (estimated part
// thin, exact part thick), the zero line, each move's loss as a bar down
// from the top for Black and up from the bottom for White (marked moves in
// the mark colour), and the current ply.
void PaintGraph(HDC dc) {
    const int u = Unit();
    const RECT frame = GraphRect();
    HBRUSH background = CreateSolidBrush(DisplayColour(PanelBackgroundColor));
    FillRect(dc, &frame, background);
    DeleteObject(background);
    HPEN framePen = CreatePen(PS_SOLID, 1, DisplayColour(PanelFrameColor));
    HGDIOBJ oldPen = SelectObject(dc, framePen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    const RECT g = {frame.left + u, frame.top + u, frame.right - u, frame.bottom - u};
    const ReviewResult* r = view.shown;
    const int plies = r ? r->game.plyCount : 60;
    HPEN zeroPen = CreatePen(PS_DOT, 1, DisplayColour(BoardGridColor));
    SelectObject(dc, zeroPen);
    DrawLine(dc, g.left, PlotY(g, 0), g.right, PlotY(g, 0));
    if (r) {
        HBRUSH marks[3] = {CreateSolidBrush(DisplayColour(BoardGridColor)), CreateSolidBrush(DisplayColour(DiscMarkColor)),
                           CreateSolidBrush(DisplayColour(BoardFrameColor))};
        HBRUSH light = CreateSolidBrush(RGB(255, 255, 255));
        const int barWidth = std::max(2, static_cast<int>((g.right - g.left) / std::max(1, plies)) - 1);
        for (int i = 0; i < r->rowCount; ++i) {
            const ReviewRow& row = r->rows[i];
            if (row.loss == 0) continue;
            const int x = PlotX(g, row.ply, plies) - barWidth / 2;
            const int h = std::max(2, static_cast<int>((g.bottom - g.top) / 2 * std::min(row.loss, GraphRange) / GraphRange));
            const RECT bar = row.side == 0 ? RECT{x, g.top, x + barWidth, g.top + h}
                                           : RECT{x, g.bottom - h, x + barWidth, g.bottom};
            const ReviewMark m = MarkOfLoss(row.loss);
            FillRect(dc, &bar, m == ReviewMark::None ? (row.side == 0 ? marks[0] : light) : marks[static_cast<int>(m)]);
        }
        for (HBRUSH b : marks) DeleteObject(b);
        DeleteObject(light);
        HPEN estimated = CreatePen(PS_SOLID, 1, DisplayColour(PanelLabelColor));
        HPEN exact = CreatePen(PS_SOLID, std::max(3, u / 3), DisplayColour(BoardFrameColor));
        int lastX = PlotX(g, 0, plies), lastY = PlotY(g, 0);
        for (int i = 0; i < r->rowCount; ++i) {
            const ReviewRow& row = r->rows[i];
            const int x = PlotX(g, row.ply, plies), y = PlotY(g, BlackValueOf(row));
            SelectObject(dc, row.exact ? exact : estimated);
            DrawLine(dc, lastX, lastY, x, y);
            lastX = x;
            lastY = y;
        }
        SelectObject(dc, framePen);
        DeleteObject(estimated);
        DeleteObject(exact);
    }
    if (view.currentPly >= 0) {
        HPEN current = CreatePen(PS_SOLID, 2, DisplayColour(DiscMarkColor));
        SelectObject(dc, current);
        const int x = PlotX(g, std::min(view.currentPly, plies), plies);
        DrawLine(dc, x, frame.top + 1, x, frame.bottom - 1);
        SelectObject(dc, framePen);
        DeleteObject(current);
    }
    SelectObject(dc, oldPen);
    DeleteObject(zeroPen);
    DeleteObject(framePen);
    // The scale: +64 (Black ahead) at the top, -64 at the bottom.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, DisplayColour(PanelLabelColor));
    TextOutW(dc, frame.left + 2, frame.top + 1, L"+64", 3);
    TextOutW(dc, frame.left + 2, frame.bottom - 2 * u, L"-64", 3);
}

void PaintHeadings(HDC dc) {
    const int u = Unit();
    const RECT list = ListRect();
    const std::wstring headings = LoadWide(IDS_REVIEW_HEADINGS);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, DisplayColour(PanelLabelColor));
    std::size_t start = 0;
    for (int column = 0; start <= headings.size() && column < 8; ++column) {
        std::size_t tab = headings.find(L'\t', start);
        if (tab == std::wstring::npos) tab = headings.size();
        TextOutW(dc, list.left + 2 + ColumnStart[column] * u, list.top - 2 * u - 2, headings.c_str() + start,
                 static_cast<int>(tab - start));
        start = tab + 1;
    }
}

void OnPaint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RealizeDisplayPalette(dc);
    HGDIOBJ oldFont = SelectObject(dc, DisplayFont());
    PaintGraph(dc);
    PaintHeadings(dc);
    SelectObject(dc, oldFont);
    EndPaint(window, &ps);
}

void DrawRow(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const int u = Unit();
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HBRUSH back = CreateSolidBrush(selected ? DisplayColour(PanelFrameColor) : DisplayColour(PanelBackgroundColor));
    FillRect(dc, &item.rcItem, back);
    DeleteObject(back);
    wchar_t text[128] = {};
    if (SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0) < 127)
        SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    const ReviewResult* r = view.shown;
    const bool marked = r && static_cast<int>(item.itemID) < r->rowCount &&
                        MarkOfLoss(r->rows[item.itemID].loss) != ReviewMark::None;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, DisplayFont());
    const std::wstring row = text;
    std::size_t start = 0;
    for (int column = 0; start <= row.size() && column < 8; ++column) {
        std::size_t tab = row.find(L'\t', start);
        if (tab == std::wstring::npos) tab = row.size();
        SetTextColor(dc, marked && column >= 6 ? DisplayColour(BoardFrameColor) : DisplayColour(PanelLabelColor));
        TextOutW(dc, item.rcItem.left + 2 + ColumnStart[column] * u, item.rcItem.top, row.c_str() + start,
                 static_cast<int>(tab - start));
        start = tab + 1;
    }
    SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

void CopyReview(HWND window) {
    if (!view.shown) return;
    std::string text;
    for (char c : ReviewTableText(*view.shown, KeptOpening())) {
        if (c == '\n') text += '\r';
        text += c;
    }
    if (ShellPutOnClipboard(window, text)) {
        SetStatusMessage(IDS_REVIEW_COPIED);
        RedrawPanelFields(view.owner, PanelMessages);
    }
}

void OnGraphClick(int x, int y) {
    const RECT frame = GraphRect();
    const POINT at = {x, y};
    if (!view.shown || !PtInRect(&frame, at)) return;
    const int u = Unit();
    const int left = frame.left + u, right = frame.right - u;
    const int plies = view.shown->game.plyCount;
    const int ply = std::clamp(((x - left) * plies + (right - left) / 2) / std::max(1, right - left), 0, plies);
    ShellSeekHistory(view.owner, ply);
    Follow();
}

void CreateControls(HWND window) {
    const int u = Unit();
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    const RECT l = ListRect();
    view.list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                                    LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL,
                                l.left, l.top, l.right - l.left, l.bottom - l.top, window,
                                reinterpret_cast<HMENU>(IDC_REVIEW_LIST), instance, nullptr);
    view.summary = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 48 * u, 21 * u, 15 * u, 18 * u,
                                   window, reinterpret_cast<HMENU>(IDC_REVIEW_SUMMARY), instance, nullptr);
    HWND copy = CreateWindowExW(0, L"BUTTON", L"ｺﾋﾟｰ(&C)", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                48 * u, 39 * u, 12 * u, 3 * u, window, reinterpret_cast<HMENU>(IDC_REVIEW_COPY),
                                instance, nullptr);
    HWND help = CreateWindowExW(0, L"BUTTON", L"ﾍﾙﾌﾟ(&H)", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                48 * u, 43 * u, 12 * u, 3 * u, window, reinterpret_cast<HMENU>(IDC_REVIEW_WINDOW_HELP),
                                instance, nullptr);
    for (HWND control : {view.list, view.summary, copy, help})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DisplayFont()), FALSE);
}

LRESULT CALLBACK ReviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        view.window = window;
        CreateControls(window);
        SetTimer(window, FollowTimer, FollowPeriod, nullptr);
        return 0;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(2 * Unit());
        return TRUE;
    case WM_DRAWITEM: DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, DisplayColour(PanelLabelColor));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_PAINT: OnPaint(window); return 0;
    case WM_TIMER: Follow(); return 0;
    case WM_LBUTTONDOWN: OnGraphClick(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_REVIEW_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE && view.shown) {
                const LRESULT row = SendMessageW(view.list, LB_GETCURSEL, 0, 0);
                if (row >= 0 && row < view.shown->rowCount) ShellSeekHistory(view.owner, view.shown->rows[row].ply);
                Follow();
            }
            return 0;
        case IDC_REVIEW_COPY: CopyReview(window); return 0;
        case IDC_REVIEW_WINDOW_HELP: ShellOpenHelp(view.owner, IDD_REVIEW_PARAMS); return 0;
        default: return 0;
        }
    case WM_WINDOWPOSCHANGED:
        RepaintOwnerUncovered(view.owner, message, lParam);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY:
        KillTimer(window, FollowTimer);
        RepaintOwnerUncovered(view.owner, message, lParam);
        view = ReviewView{};
        return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void OpenReviewWindow(HWND owner) {
    ++reviewSerial;
    if (view.window) {
        Follow();
        ShowWindow(view.window, SW_SHOWNORMAL);
        return;
    }
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ReviewWindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = ReviewClassName;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(5000));
        registered = RegisterClassW(&wc) != 0;
    }
    const int u = Unit();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, 64 * u, 47 * u};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    view.owner = owner;
    RECT ownerRect;
    GetWindowRect(owner, &ownerRect);
    // Over the main window's board, kept on its screen.
    const SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
    const POINT at = KeepOnScreen(owner, {ownerRect.left + 4 * u, ownerRect.top + 4 * u}, size);
    CreateWindowExW(0, ReviewClassName, LoadWide(IDS_REVIEW_TITLE).c_str(), style, at.x, at.y, size.cx, size.cy, owner,
                    nullptr, instance, nullptr);
    if (!view.window) return;
    Follow();
    ShowWindow(view.window, SW_SHOWNORMAL);
    UpdateWindow(view.window);
}

bool HandleReviewWindowKey(const MSG& msg) {
    if (!view.window || msg.message != WM_KEYDOWN || msg.wParam != VK_F1) return false;
    if (msg.hwnd != view.window && !IsChild(view.window, msg.hwnd)) return false;
    ShellOpenHelp(view.owner, IDD_REVIEW_PARAMS);
    return true;
}
