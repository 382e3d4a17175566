#include "view/display_settings.h"

#include <cstring>

#include "view/drawing_resources.h"
#include "view/layout.h"
#include "view/layout_window.h"
#include "view/status_panel.h"

void ApplyDisplaySettings(HWND window, const Settings& before) {
    const Settings& now = currentSettings;
    if ((now.TopMost != 0) != (before.TopMost != 0))
        SetWindowPos(window, now.TopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (std::memcmp(now.DisplayColor, before.DisplayColor, sizeof now.DisplayColor) != 0) RefreshColours(window);
    if (now.DisplaySize != before.DisplaySize) {
        ResizeToDisplaySize(window, now.DisplaySize);
    } else if (std::strncmp(now.FontName, before.FontName, FontNameField) != 0) {
        RefreshFont(window);
    } else {
        RedrawPanelFields(window, PanelMessages);
    }
}

void RefreshColours(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
    BuildDisplayPalette();
    BuildDiscSprites(window);
}

void RefreshFont(HWND window) {
    const int u = DisplayUnit();
    const LayoutRect areas[] = {ColumnLabelRect(u), RowLabelRect(u), PanelBoxInsideRect(u, 1),
                                PanelBoxInsideRect(u, 2), PanelBoxInsideRect(u, 3)};
    for (const LayoutRect& a : areas) {
        const RECT r = {a.left, a.top, a.right, a.bottom};
        InvalidateRect(window, &r, FALSE);
    }
    CreateDisplayFont();
}
