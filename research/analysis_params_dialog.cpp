#include "research/analysis_params_dialog.h"

#include <commctrl.h>

#include <string>

#include "core/wide_text.h"
#include "res/resource.h"
#include "research/analysis_form.h"
#include "research/research_shell.h"
#include "session/game_session.h"

namespace {

struct ParamsDialog {
    AnalysisParams shown;  // also each window field's last readable value
    int moveNumber;
    int legalMoveCount;
};

// The four value fields: each with its spin control, its range, its
// parameter and the other end of its window.
struct WindowField {
    int edit;
    int spin;
    FieldRange range;
    std::int32_t AnalysisParams::*value;
    int otherEnd;  // index in WindowFields
    bool low;
};

const WindowField WindowFields[4] = {
    {IDC_ANALYSIS_ALPHA, IDC_ANALYSIS_ALPHA_SPIN, AlphaRange, &AnalysisParams::alpha, 1, true},
    {IDC_ANALYSIS_BETA, IDC_ANALYSIS_BETA_SPIN, BetaRange, &AnalysisParams::beta, 0, false},
    {IDC_ANALYSIS_SOLVE_LO, IDC_ANALYSIS_SOLVE_LO_SPIN, SolveLoRange, &AnalysisParams::solveLo, 3, true},
    {IDC_ANALYSIS_SOLVE_HI, IDC_ANALYSIS_SOLVE_HI_SPIN, SolveHiRange, &AnalysisParams::solveHi, 2, false},
};

ParamsDialog& StateOf(HWND dialog) { return *reinterpret_cast<ParamsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

void SetField(HWND dialog, const WindowField& f, int value) {
    StateOf(dialog).shown.*f.value = value;
    SendDlgItemMessageW(dialog, f.spin, UDM_SETPOS32, 0, value);
    SetDlgItemInt(dialog, f.edit, static_cast<UINT>(value), TRUE);
}

// The field's value as its text reads now; the last readable value when the
// text is no number.
int ReadField(HWND dialog, const WindowField& f) {
    wchar_t wide[32] = {};
    GetDlgItemTextW(dialog, f.edit, wide, 32);
    std::string text;
    for (const wchar_t* c = wide; *c; ++c) text += *c < 0x80 ? static_cast<char>(*c) : '?';
    return ReadFieldValue(text, f.range, StateOf(dialog).shown.*f.value);
}

// A field that loses the focus: its text is rewritten within the range, and
// the other end of its window moves beyond it when the two would cross,
// with its text selected.
void LeaveField(HWND dialog, int index) {
    const WindowField& f = WindowFields[index];
    const WindowField& other = WindowFields[f.otherEnd];
    const int value = ReadField(dialog, f);
    int otherValue = ReadField(dialog, other);
    SetField(dialog, f, value);
    int low = f.low ? value : otherValue, high = f.low ? otherValue : value;
    if (f.low ? KeepOrderAfterLow(low, high) : KeepOrderAfterHigh(low, high)) {
        otherValue = f.low ? high : low;
        SetField(dialog, other, otherValue);
        SendDlgItemMessageW(dialog, other.edit, EM_SETSEL, 0, -1);
    }
}

void SetWindow(HWND dialog, int lowField, int low, int high) {
    SetField(dialog, WindowFields[lowField], low);
    SetField(dialog, WindowFields[lowField + 1], high);
}

void AddListEntry(HWND dialog, int id, const std::wstring& text) {
    SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void InitDialog(HWND dialog, ParamsDialog& d) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&d));
    const AnalysisParams& p = d.shown;
    EnableWindow(GetDlgItem(dialog, IDC_ANALYSIS_SOLVING), d.moveNumber >= FirstSolvingMoveNumber);
    CheckRadioButton(dialog, IDC_ANALYSIS_EVALUATION, IDC_ANALYSIS_SOLVING,
                     p.method == 1 ? IDC_ANALYSIS_EVALUATION : IDC_ANALYSIS_SOLVING);
    for (int depth = 1; depth <= AnalysisDepthCount; ++depth)
        AddListEntry(dialog, IDC_ANALYSIS_DEPTH, std::to_wstring(depth));
    SendDlgItemMessageW(dialog, IDC_ANALYSIS_DEPTH, CB_SETCURSEL, static_cast<WPARAM>(p.depth - 1), 0);
    for (const WindowField& f : WindowFields)
        SendDlgItemMessageW(dialog, f.spin, UDM_SETRANGE32, static_cast<WPARAM>(f.range.lo), f.range.hi);
    for (const WindowField& f : WindowFields) SetField(dialog, f, p.*f.value);
    CheckRadioButton(dialog, IDC_ANALYSIS_WEIGHTS_A, IDC_ANALYSIS_WEIGHTS_C, IDC_ANALYSIS_WEIGHTS_A + p.weightSet);
    for (const std::string& choice : TopNChoices(d.legalMoveCount))
        AddListEntry(dialog, IDC_ANALYSIS_TOP_N, WideFromShiftJis(choice));
    SendDlgItemMessageW(dialog, IDC_ANALYSIS_TOP_N, CB_SETCURSEL, static_cast<WPARAM>(p.topN), 0);
}

int SelectedIndex(HWND dialog, int id) {
    const LRESULT i = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return i == CB_ERR ? 0 : static_cast<int>(i);
}

// OK: Enter does not move the focus, so the field being typed in is left
// here, and the spin arrows may have crossed a window without any focus
// change; both windows are put in order before they are read.
AnalysisParams ReadDialog(HWND dialog) {
    const HWND focus = GetFocus();
    for (int i = 0; i < 4; ++i)
        if (focus == GetDlgItem(dialog, WindowFields[i].edit)) LeaveField(dialog, i);
    for (int i = 0; i < 4; i += 2) LeaveField(dialog, i);
    AnalysisControls c;
    c.evaluationOn = IsDlgButtonChecked(dialog, IDC_ANALYSIS_EVALUATION) == BST_CHECKED;
    c.depthIndex = SelectedIndex(dialog, IDC_ANALYSIS_DEPTH);
    const AnalysisParams& shown = StateOf(dialog).shown;
    c.alpha = shown.alpha;
    c.beta = shown.beta;
    c.solveLo = shown.solveLo;
    c.solveHi = shown.solveHi;
    c.weightButton = -1;
    for (int i = 0; i < 3; ++i)
        if (IsDlgButtonChecked(dialog, IDC_ANALYSIS_WEIGHTS_A + i) == BST_CHECKED) c.weightButton = i;
    c.topNIndex = SelectedIndex(dialog, IDC_ANALYSIS_TOP_N);
    return ReadBackParams(c);
}

bool OnCommand(HWND dialog, int id, int code) {
    for (int i = 0; i < 4; ++i)
        if (id == WindowFields[i].edit) {
            if (code == EN_KILLFOCUS) LeaveField(dialog, i);
            return true;
        }
    switch (id) {
    case IDC_ANALYSIS_FULL_RANGE: SetWindow(dialog, 0, -FullWindow, FullWindow); return true;
    case IDC_ANALYSIS_PERFECT: SetWindow(dialog, 2, -64, 64); return true;
    case IDC_ANALYSIS_WIN_LOSS: SetWindow(dialog, 2, -1, 1); return true;
    case IDC_ANALYSIS_HELP:
        ShellOpenHelp(GetWindow(dialog, GW_OWNER), IDD_ANALYSIS_PARAMS);
        return true;
    case IDOK:
        StateOf(dialog).shown = ReadDialog(dialog);
        EndDialog(dialog, 1);
        return true;
    case IDCANCEL: EndDialog(dialog, 0); return true;
    default: return false;
    }
}

INT_PTR CALLBACK AnalysisParamsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: InitDialog(dialog, *reinterpret_cast<ParamsDialog*>(lParam)); return TRUE;
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    default: return FALSE;
    }
}

}  // namespace

bool AskAnalysisParams(HWND window, AnalysisParams& params) {
    const Position& pos = Session().position;
    ParamsDialog d = {ParamsShownOnOpening(params, pos.moveNumber, pos.legalMoveCount), pos.moveNumber,
                      pos.legalMoveCount};
    const INT_PTR result =
        DialogBoxParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)),
                        MAKEINTRESOURCEW(IDD_ANALYSIS_PARAMS), window, AnalysisParamsProc,
                        reinterpret_cast<LPARAM>(&d));
    if (result != 1) return false;
    params = d.shown;
    return true;
}
