#include "research/review_params_dialog.h"

#include <commctrl.h>

#include <string>

#include "res/resource.h"
#include "research/research_shell.h"
#include "session/game_session.h"

namespace {

void InitDialog(HWND dialog, ReviewParams& p) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&p));
    for (int depth = ReviewDepthMin; depth <= ReviewDepthMax; ++depth)
        SendDlgItemMessageW(dialog, IDC_REVIEW_DEPTH, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(std::to_wstring(depth).c_str()));
    SendDlgItemMessageW(dialog, IDC_REVIEW_DEPTH, CB_SETCURSEL, static_cast<WPARAM>(p.depth - ReviewDepthMin), 0);
    CheckRadioButton(dialog, IDC_REVIEW_WEIGHTS_A, IDC_REVIEW_WEIGHTS_C, IDC_REVIEW_WEIGHTS_A + p.weightSet);
    SendDlgItemMessageW(dialog, IDC_REVIEW_EXACT_SPIN, UDM_SETRANGE32, ReviewExactMin, ReviewExactMax);
    SendDlgItemMessageW(dialog, IDC_REVIEW_EXACT_SPIN, UDM_SETPOS32, 0, p.exactFrom);
    SetDlgItemInt(dialog, IDC_REVIEW_EXACT, static_cast<UINT>(p.exactFrom), FALSE);
}

ReviewParams ReadDialog(HWND dialog) {
    ReviewParams p;
    const LRESULT depth = SendDlgItemMessageW(dialog, IDC_REVIEW_DEPTH, CB_GETCURSEL, 0, 0);
    p.depth = depth == CB_ERR ? -1 : static_cast<int>(depth) + ReviewDepthMin;
    p.weightSet = -1;
    for (int i = 0; i < 3; ++i)
        if (IsDlgButtonChecked(dialog, IDC_REVIEW_WEIGHTS_A + i) == BST_CHECKED) p.weightSet = i;
    BOOL read = FALSE;
    const UINT exact = GetDlgItemInt(dialog, IDC_REVIEW_EXACT, &read, FALSE);
    // A field left empty or out of its range is corrected: the nearest end.
    p.exactFrom = !read ? ReviewParams{}.exactFrom : exact > ReviewExactMax ? ReviewExactMax : static_cast<int>(exact);
    return CorrectReviewParams(p);
}

INT_PTR CALLBACK ReviewParamsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: InitDialog(dialog, *reinterpret_cast<ReviewParams*>(lParam)); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            *reinterpret_cast<ReviewParams*>(GetWindowLongPtrW(dialog, DWLP_USER)) = ReadDialog(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        case IDC_REVIEW_HELP:
            ShellOpenHelp(GetWindow(dialog, GW_OWNER), IDD_REVIEW_PARAMS);
            return TRUE;
        default: return FALSE;
        }
    default: return FALSE;
    }
}

}  // namespace

bool AskReviewParams(HWND window, ReviewParams& params) {
    ReviewParams shown = CorrectReviewParams(params);
    const INT_PTR result = DialogBoxParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)),
                                           MAKEINTRESOURCEW(IDD_REVIEW_PARAMS), window, ReviewParamsProc,
                                           reinterpret_cast<LPARAM>(&shown));
    if (result != 1) return false;
    params = shown;
    return true;
}
