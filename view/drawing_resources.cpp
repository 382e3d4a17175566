#include "view/drawing_resources.h"

#include <cstring>
#include <string_view>

#include "config/settings.h"
#include "view/disc_shapes.h"
#include "core/wide_text.h"

namespace {

HPALETTE displayPalette = nullptr;
HFONT displayFont = nullptr;
HBITMAP discSprites = nullptr;

COLORREF PaletteRelative(DisplayRgb c) { return 0x02000000 | (c & 0x00FFFFFF); }

COLORREF DiscInkColour(DiscInk ink) {
    switch (ink) {
    case DiscInk::Black: return RGB(0, 0, 0);
    case DiscInk::White: return RGB(255, 255, 255);
    case DiscInk::Grey: return RGB(128, 128, 128);
    case DiscInk::LightGrey: return RGB(192, 192, 192);
    default: return DisplayColour(DiscMarkColor);
    }
}

template <class T>
void DeleteHandle(T& handle) {
    if (handle) DeleteObject(handle);
    handle = nullptr;
}

}  // namespace

int DisplayUnit() { return currentSettings.DisplaySize; }

COLORREF DisplayColour(int index) { return PaletteRelative(currentSettings.DisplayColor[index]); }
COLORREF LightDisplayShade(int index) { return PaletteRelative(LightShade(currentSettings.DisplayColor[index])); }
COLORREF DarkDisplayShade(int index) { return PaletteRelative(DarkShade(currentSettings.DisplayColor[index])); }

void BuildDisplayPalette() {
    DeleteHandle(displayPalette);
    const auto entries = DisplayPaletteEntries(currentSettings.DisplayColor);
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entry[DisplayPaletteSize];
    } log = {0x300, DisplayPaletteSize, {}};
    for (int i = 0; i < DisplayPaletteSize; ++i)
        log.entry[i] = {static_cast<BYTE>(RedOf(entries[i])), static_cast<BYTE>(GreenOf(entries[i])),
                        static_cast<BYTE>(BlueOf(entries[i])), 0};
    displayPalette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&log));
}

void CreateDisplayFont() {
    DeleteHandle(displayFont);
    LOGFONTW font = {};
    font.lfHeight = 2 * DisplayUnit() - 2;
    font.lfWeight = FW_DONTCARE;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const char* name = currentSettings.FontName;
    const std::wstring face = WideFromShiftJis(std::string_view(name, strnlen(name, FontNameField)));
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    displayFont = CreateFontIndirectW(&font);
}

void BuildDiscSprites(HWND window) {
    DeleteHandle(discSprites);
    const int u = DisplayUnit();
    const int S = 4 * u;
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    discSprites = CreateCompatibleBitmap(windowDc, DiscCellCount * S, S);
    ReleaseDC(window, windowDc);
    HGDIOBJ oldBitmap = SelectObject(memory, discSprites);
    HPALETTE oldPalette = SelectPalette(memory, displayPalette, FALSE);
    RealizePalette(memory);

    HBRUSH surface = CreateSolidBrush(DisplayColour(BoardSurfaceColor));
    const RECT all = {0, 0, DiscCellCount * S, S};
    FillRect(memory, &all, surface);
    DeleteObject(surface);

    for (const DiscEllipse& e : DiscSpriteEllipses(u)) {
        HPEN pen = CreatePen(PS_SOLID, 1, DiscInkColour(e.pen));
        HBRUSH brush = e.brush == DiscInk::Hollow ? static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH))
                                                  : CreateSolidBrush(DiscInkColour(e.brush));
        HGDIOBJ oldPen = SelectObject(memory, pen);
        HGDIOBJ oldBrush = SelectObject(memory, brush);
        Ellipse(memory, e.box.left, e.box.top, e.box.right, e.box.bottom);
        SelectObject(memory, oldBrush);
        SelectObject(memory, oldPen);
        DeleteObject(pen);
        if (e.brush != DiscInk::Hollow) DeleteObject(brush);
    }
    SelectPalette(memory, oldPalette, FALSE);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
}

void ReleaseDrawingResources() {
    DeleteHandle(discSprites);
    DeleteHandle(displayFont);
    DeleteHandle(displayPalette);
}

HBITMAP DiscSprites() { return discSprites; }

HFONT DisplayFont() { return displayFont; }

bool RealizeDisplayPalette(HDC dc) {
    SelectPalette(dc, displayPalette, FALSE);
    const UINT mapped = RealizePalette(dc);
    return mapped != GDI_ERROR && mapped > 0;
}

void PrepareDisplayContext(HDC dc) {
    RealizeDisplayPalette(dc);
    if (displayFont) SelectObject(dc, displayFont);
}

LRESULT HandleQueryNewPalette(HWND window) {
    HDC dc = GetDC(window);
    const bool changed = RealizeDisplayPalette(dc);
    ReleaseDC(window, dc);
    if (!changed) return FALSE;
    InvalidateRect(window, nullptr, FALSE);
    return TRUE;
}

LRESULT HandlePaletteChanged(HWND window, HWND changedBy) {
    if (changedBy == window) return 0;
    return HandleQueryNewPalette(window);
}

WindowDrawing::WindowDrawing(HWND window) : window_(window) {
    UpdateWindow(window);
    dc_ = GetDC(window);
    PrepareDisplayContext(dc_);
}

WindowDrawing::~WindowDrawing() { ReleaseDC(window_, dc_); }

void RepaintOwnerUncovered(HWND owner, UINT message, LPARAM lParam) {
    if (!owner) return;
    if (message == WM_WINDOWPOSCHANGED) {
        const WINDOWPOS& pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
        if ((pos.flags & SWP_NOMOVE) && (pos.flags & SWP_NOSIZE) && !(pos.flags & SWP_HIDEWINDOW)) return;
    } else if (message != WM_DESTROY) {
        return;
    }
    RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}
