#include "app/hint_settings_dialog.h"

#include "app/activity_pause.h"
#include "app/help.h"
#include "app/help_key.h"
#include "config/settings.h"
#include "config/settings_store.h"
#include "core/wide_text.h"
#include "res/resource.h"

namespace {

// A drop-down list of the numbers first..last, the first one named by the
// string firstName instead when it is given; the item of value selected.
void FillNumbers(HWND dialog, int id, int first, int last, UINT firstName, int selected) {
    HWND box = GetDlgItem(dialog, id);
    for (int n = first; n <= last; ++n) {
        const std::wstring text =
            n == first && firstName != 0 ? WideFromShiftJis(LoadShiftJisString(firstName)) : std::to_wstring(n);
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(selected - first), 0);
}

int SelectedNumber(HWND dialog, int id, int first) {
    const LRESULT i = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return i == CB_ERR ? first : first + static_cast<int>(i);
}

void InitDialog(HWND dialog) {
    const Settings& s = currentSettings;
    FillNumbers(dialog, IDC_HINT_DEPTH, 1, DeepestHintDepth, 0, s.HintDepth);
    FillNumbers(dialog, IDC_HINT_EXACT, 0, MostHintExactEmpties, IDS_HINT_NO_EXACT, s.HintExact);
    FillNumbers(dialog, IDC_HINT_BEST, 0, MostHintBest, IDS_HINT_ALL_MOVES, s.HintBest);
    CheckDlgButton(dialog, IDC_HINT_WITH_COMPUTER, s.HintWithComputer ? BST_CHECKED : BST_UNCHECKED);
}

bool TakeSettings(HWND dialog) {
    const Settings before = currentSettings;
    Settings& s = currentSettings;
    s.HintDepth = SelectedNumber(dialog, IDC_HINT_DEPTH, 1);
    s.HintExact = SelectedNumber(dialog, IDC_HINT_EXACT, 0);
    s.HintBest = SelectedNumber(dialog, IDC_HINT_BEST, 0);
    s.HintWithComputer = IsDlgButtonChecked(dialog, IDC_HINT_WITH_COMPUTER) == BST_CHECKED;
    SaveHintSettings();
    return !(before == s);
}

INT_PTR CALLBACK HintSettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: InitDialog(dialog); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: EndDialog(dialog, TakeSettings(dialog) ? 1 : 0); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        case IDC_HINT_HELP: OpenHelp(dialog, HelpRequest::Context, HintsHelpContext); return TRUE;
        default: break;
        }
        break;
    default: break;
    }
    return FALSE;
}

}  // namespace

bool OpenHintSettingsDialog(HWND window) {
    PauseActivity(window, true);
    SetHelpKeyContext(HintsHelpContext);
    const INT_PTR changed = DialogBoxParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)),
                                            MAKEINTRESOURCEW(IDD_HINT_SETTINGS), window, HintSettingsProc, 0);
    SetHelpKeyContext(0);
    PauseActivity(window, false);
    return changed == 1;
}
