#include "view/layout_window.h"

#include <algorithm>

#include "view/layout.h"

SIZE LayoutFrameSize() {
    RECT r = {0, 0, 0, 0};
    AdjustWindowRectEx(&r, MainWindowStyle, TRUE, MainWindowExStyle);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE LayoutWindowSize(int u) {
    const LayoutSize client = LayoutClientSize(u);
    RECT r = {0, 0, client.width, client.height};
    AdjustWindowRectEx(&r, MainWindowStyle, TRUE, MainWindowExStyle);
    return {r.right - r.left, r.bottom - r.top};
}

int LargestDisplaySize() {
    const SIZE frame = LayoutFrameSize();
    return LargestDisplaySizeFor(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), frame.cx,
                                 frame.cy);
}

void ResizeToDisplaySize(HWND window, int u) {
    const SIZE size = LayoutWindowSize(u);
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FitClientToDisplaySize(HWND window, int u) {
    RECT client;
    GetClientRect(window, &client);
    const LayoutSize wanted = LayoutClientSize(u);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width == wanted.width && height == wanted.height) return true;
    RECT outer;
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + wanted.width - width,
                 outer.bottom - outer.top + wanted.height - height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return false;
}

POINT KeepOnScreen(HWND beside, POINT at, SIZE size) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(beside, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    return {std::max(work.left, std::min(at.x, work.right - size.cx)),
            std::max(work.top, std::min(at.y, work.bottom - size.cy))};
}
