#include "research/analysis_results_dialog.h"

#include <string>

#include "core/wide_text.h"
#include "res/resource.h"
#include "view/status_panel.h"

namespace {

struct ResultsDialog {
    HWND window;
    const AnalysisParams* params;
    const ResultList* results;
    LineToPlay line;
};

ResultsDialog& StateOf(HWND dialog) {
    return *reinterpret_cast<ResultsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void InitDialog(HWND dialog, ResultsDialog& d) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&d));
    wchar_t title[64] = {};
    GetWindowTextW(dialog, title, 64);
    const std::wstring full = title + WideFromShiftJis(AnalysisTitleSuffix(*d.params));
    SetWindowTextW(dialog, full.c_str());
    for (int i = 0; d.results->entries[i].line; ++i) {
        const std::wstring text = WideFromShiftJis(ResultLineText(i + 1, d.results->entries[i]));
        SendDlgItemMessageW(dialog, IDC_RESULTS_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Selected without a notification: the thinking display keeps what the
    // search showed last.
    SendDlgItemMessageW(dialog, IDC_RESULTS_LIST, LB_SETCURSEL, 0, 0);
}

const ResultEntry* SelectedEntry(HWND dialog) {
    const LRESULT i = SendDlgItemMessageW(dialog, IDC_RESULTS_LIST, LB_GETCURSEL, 0, 0);
    if (i == LB_ERR) return nullptr;
    return &StateOf(dialog).results->entries[i];
}

void Choose(HWND dialog, bool wholeLine) {
    const ResultEntry* entry = SelectedEntry(dialog);
    if (!entry) return;
    StateOf(dialog).line = MakeLineToPlay(entry->line, wholeLine);
    EndDialog(dialog, 1);
}

bool OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_RESULTS_LIST:
        if (code == LBN_SELCHANGE) {
            if (const ResultEntry* entry = SelectedEntry(dialog))
                ShowBestLine(StateOf(dialog).window, entry->line, entry->value);
        } else if (code == LBN_DBLCLK) {
            Choose(dialog, false);
        }
        return true;
    case IDOK: Choose(dialog, false); return true;
    case IDC_RESULTS_WHOLE_LINE: Choose(dialog, true); return true;
    case IDCANCEL: EndDialog(dialog, 0); return true;
    default: return false;
    }
}

INT_PTR CALLBACK AnalysisResultsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: InitDialog(dialog, *reinterpret_cast<ResultsDialog*>(lParam)); return TRUE;
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    default: return FALSE;
    }
}

}  // namespace

bool ChooseAnalysisLine(HWND window, const AnalysisParams& params, const ResultList& results, LineToPlay& line) {
    ResultsDialog d = {window, &params, &results, {}};
    const INT_PTR result =
        DialogBoxParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)),
                        MAKEINTRESOURCEW(IDD_ANALYSIS_RESULTS), window, AnalysisResultsProc,
                        reinterpret_cast<LPARAM>(&d));
    if (result != 1) return false;
    line = d.line;
    return true;
}
