// Entry point of Tavix.exe: create the main window and run the message loop.

#include <windows.h>

#include "app/main_window.h"
#include "res/resource.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    if (!RegisterMainWindowClass(instance)) return 0;
    HWND window = CreateMainWindow(instance, showCommand);
    if (!window) return 0;

    MSG msg = {};
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (accelerators && TranslateAcceleratorW(window, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // The quit message carries the exit code; a failed GetMessage ends with 0.
    return got == 0 ? static_cast<int>(msg.wParam) : 0;
}
