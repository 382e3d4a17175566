#include "app/about_box.h"

#include "app/activity_pause.h"
#include "res/resource.h"

namespace {

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, L"" TAVIX_VERSION_TEXT);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: EndDialog(dialog, 1); return TRUE;
                case IDCANCEL: EndDialog(dialog, 0); return TRUE;
                default: break;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

void ShowAboutBox(HWND window) {
    PauseActivity(window, true);
    DialogBoxParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)),
                    MAKEINTRESOURCEW(IDD_ABOUT), window, AboutBoxProc, 0);
    PauseActivity(window, false);
}
