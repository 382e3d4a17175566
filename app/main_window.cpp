#include "app/main_window.h"

#include <windowsx.h>

#include "res/resource.h"
#include "view/layout_window.h"

namespace {

// The layout unit. The display-size setting will provide it; until then the
// window opens at the size the program has always started with.
int displaySize = 10;

void OnSize(HWND window, UINT kind) {
    if (kind == SIZE_MINIMIZED) return;
    FitClientToDisplaySize(window, displaySize);
}

void OnCommand(HWND window, int id) {
    switch (id) {
    case IDM_GAME_EXIT:
        // The close request goes through the same road as the frame's close.
        PostMessageW(window, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

void OnClose(HWND window) {
    DestroyWindow(window);
}

void OnDestroy() {
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        OnSize(window, static_cast<UINT>(wParam));
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        OnClose(window);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVIX));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TAVIX), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = CreateSolidBrush(RGB(192, 192, 192));
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    wc.lpszClassName = MainWindowClassName;
    return RegisterClassExW(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
    const SIZE size = LayoutWindowSize(displaySize);
    HWND window = CreateWindowExW(MainWindowExStyle, MainWindowClassName, L"" TAVIX_VERSION_TEXT, MainWindowStyle,
                                  CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance,
                                  nullptr);
    if (!window) return nullptr;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}
