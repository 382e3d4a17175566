#include "config/settings_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "config/settings.h"
#include "config/settings_pages.h"
#include "config/settings_store.h"
#include "core/wide_text.h"
#include "res/resource.h"

namespace {

constexpr int PageCount = 4;
constexpr int PageTemplateStep = IDD_SETTINGS_TURNING - IDD_SETTINGS_GAME;

// Where the pages stand inside the dialog, in dialog units: over the tab
// control's display area.
constexpr int PageLeft = 6;
constexpr int PageTop = 18;

constexpr const wchar_t* ColourNames[DisplayColorCount] = {
    L"盤 盤面", L"盤 枠", L"盤 座標文字", L"盤 ﾏｽ目の線", L"石 雑用", L"状況 背景", L"状況 枠", L"状況 固定文字",
};

struct SettingsDialogState {
    const SettingsDialogContext* context;
    HWND owner;
    HWND pages[PageCount];
    int shown;
    std::uint32_t workingColours[DisplayColorCount];
};

SettingsDialogState* StateOf(HWND window) {
    return reinterpret_cast<SettingsDialogState*>(GetWindowLongPtrW(window, DWLP_USER));
}

HWND PageOf(const SettingsDialogState& state, int control) {
    for (HWND page : state.pages)
        if (page && GetDlgItem(page, control)) return page;
    return nullptr;
}

LRESULT SendToControl(const SettingsDialogState& state, int control, UINT message, WPARAM wParam = 0,
                      LPARAM lParam = 0) {
    return SendDlgItemMessageW(PageOf(state, control), control, message, wParam, lParam);
}

void FillNumberList(const SettingsDialogState& state, int control, int first, int count, int step, int selected) {
    for (int i = 0; i < count; ++i) {
        const std::wstring text = std::to_wstring(first + i * step);
        SendToControl(state, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendToControl(state, control, CB_SETCURSEL, static_cast<WPARAM>(selected));
}

int SelectedIndex(const SettingsDialogState& state, int control) {
    const LRESULT index = SendToControl(state, control, CB_GETCURSEL);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void SetCheck(const SettingsDialogState& state, int control, bool on) {
    CheckDlgButton(PageOf(state, control), control, on ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(const SettingsDialogState& state, int control) {
    return IsDlgButtonChecked(PageOf(state, control), control) == BST_CHECKED;
}

void SetSpin(const SettingsDialogState& state, int spin, int position) {
    SendToControl(state, spin, UDM_SETRANGE32, static_cast<WPARAM>(LowestStandardLimit), HighestStandardLimit);
    SendToControl(state, spin, UDM_SETPOS32, 0, position);
}

// The spin control's position after it has read its field: a field that
// holds no number of the range leaves the position as it was.
int SpinPosition(HWND page, int spin) {
    BOOL error = FALSE;
    return static_cast<int>(SendDlgItemMessageW(page, spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)));
}

// A field that lost the focus shows its spin control's position again.
void RewriteSpinField(HWND page, int spin) {
    SendDlgItemMessageW(page, spin, UDM_SETPOS32, 0, SpinPosition(page, spin));
}

int CALLBACK AddFontFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM list) {
    HWND combo = reinterpret_cast<HWND>(list);
    if (IsListedFontFamily((type & RASTER_FONTTYPE) != 0, font->lfCharSet, font->lfPitchAndFamily & 3,
                           font->lfFaceName[0]) &&
        SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(font->lfFaceName)) ==
            CB_ERR)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(font->lfFaceName));
    return 1;
}

// The font families of the main window's device context, one entry each,
// sorted by the list; the entry equal to the face name is selected, and none
// when no entry is (the list's own search ignores case, so it is not used).
void FillFontList(const SettingsDialogState& state, const std::optional<std::string>& faceName) {
    HWND combo = GetDlgItem(PageOf(state, IDC_SETTINGS_FONT), IDC_SETTINGS_FONT);
    HDC dc = GetDC(state.owner);
    // Asked for the Shift-JIS character set, the system names each family once
    // with that set, also a family that holds several.
    LOGFONTW wanted = {};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    EnumFontFamiliesExW(dc, &wanted, AddFontFamily, reinterpret_cast<LPARAM>(combo), 0);
    ReleaseDC(state.owner, dc);
    const std::wstring face = WideFromShiftJis(faceName.value_or(std::string()));
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[LF_FACESIZE + 1] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) > LF_FACESIZE) continue;
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        if (!face.empty() && face == text) {
            SendMessageW(combo, CB_SETCURSEL, i, 0);
            break;
        }
    }
}

std::optional<std::string> SelectedFontName(const SettingsDialogState& state) {
    const LRESULT index = SendToControl(state, IDC_SETTINGS_FONT, CB_GETCURSEL);
    if (index == CB_ERR || SendToControl(state, IDC_SETTINGS_FONT, CB_GETLBTEXTLEN, index) > LF_FACESIZE)
        return std::nullopt;
    wchar_t text[LF_FACESIZE + 1] = {};
    SendToControl(state, IDC_SETTINGS_FONT, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return ShiftJisFromWide(text);
}

void FillPages(SettingsDialogState& state) {
    const SettingsPageValues v = PageValuesFromSettings(currentSettings);
    SetCheck(state, IDC_SETTINGS_AUTO_MOVE, v.autoMove);
    SetCheck(state, IDC_SETTINGS_THOUGHT_DISPLAY, v.thoughtDisplay);
    FillNumberList(state, IDC_SETTINGS_THOUGHT_TIME, 0, ThoughtTimeItemCount, 1, v.thoughtTimeIndex);
    CheckRadioButton(PageOf(state, IDC_SETTINGS_LEAF_VALUE), IDC_SETTINGS_LEAF_VALUE, IDC_SETTINGS_MINIMAX_VALUE,
                     v.standardType == 1 ? IDC_SETTINGS_MINIMAX_VALUE : IDC_SETTINGS_LEAF_VALUE);
    SetSpin(state, IDC_SETTINGS_THRESHOLD_SPIN, v.threshold);
    SetSpin(state, IDC_SETTINGS_CAP_SPIN, v.cap);

    FillNumberList(state, IDC_SETTINGS_TURN_SPEED, FastestTurnSpeed, TurnSpeedItemCount, TurnSpeedStep,
                   v.turnSpeedIndex);
    SetCheck(state, IDC_SETTINGS_EFFECT_SOUND, v.effectSound);

    std::copy(std::begin(v.displayColor), std::end(v.displayColor), state.workingColours);
    for (const wchar_t* name : ColourNames)
        SendToControl(state, IDC_SETTINGS_COLOUR_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendToControl(state, IDC_SETTINGS_COLOUR_LIST, LB_SETCURSEL, 0);
    FillFontList(state, v.fontName);

    FillNumberList(state, IDC_SETTINGS_DISPLAY_SIZE, SmallestDisplaySizeSetting,
                   DisplaySizeItemCount(state.context->largestDisplaySize), 1, v.displaySizeIndex);
    SetCheck(state, IDC_SETTINGS_TOP_MOST, v.topMost);
}

Settings ReadPages(const SettingsDialogState& state) {
    SettingsPageValues v{};
    v.autoMove = IsChecked(state, IDC_SETTINGS_AUTO_MOVE);
    v.thoughtDisplay = IsChecked(state, IDC_SETTINGS_THOUGHT_DISPLAY);
    v.thoughtTimeIndex = SelectedIndex(state, IDC_SETTINGS_THOUGHT_TIME);
    v.standardType = IsChecked(state, IDC_SETTINGS_MINIMAX_VALUE) ? 1 : 0;
    v.threshold = SpinPosition(PageOf(state, IDC_SETTINGS_THRESHOLD_SPIN), IDC_SETTINGS_THRESHOLD_SPIN);
    v.cap = SpinPosition(PageOf(state, IDC_SETTINGS_CAP_SPIN), IDC_SETTINGS_CAP_SPIN);
    v.turnSpeedIndex = SelectedIndex(state, IDC_SETTINGS_TURN_SPEED);
    v.effectSound = IsChecked(state, IDC_SETTINGS_EFFECT_SOUND);
    std::copy(std::begin(state.workingColours), std::end(state.workingColours), v.displayColor);
    v.fontName = SelectedFontName(state);
    v.displaySizeIndex = SelectedIndex(state, IDC_SETTINGS_DISPLAY_SIZE);
    v.topMost = IsChecked(state, IDC_SETTINGS_TOP_MOST);
    return SettingsFromPageValues(currentSettings, v);
}

// The system colour chooser, owned by the page, for the selected entry of
// the working copy.
void ChooseWorkingColour(SettingsDialogState& state, HWND page) {
    const LRESULT entry = SendDlgItemMessageW(page, IDC_SETTINGS_COLOUR_LIST, LB_GETCURSEL, 0, 0);
    if (entry < 0 || entry >= DisplayColorCount) return;
    std::array<std::uint32_t, ChooserCustomColourCount> custom = ChooserCustomColours(state.workingColours);
    COLORREF customColours[ChooserCustomColourCount];
    std::copy(custom.begin(), custom.end(), customColours);
    CHOOSECOLORW chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = page;
    chooser.rgbResult = state.workingColours[entry];
    chooser.lpCustColors = customColours;
    chooser.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (ChooseColorW(&chooser)) state.workingColours[entry] = chooser.rgbResult;
}

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(page, DWLP_USER, lParam);
            return FALSE;  // the focus stays where the dialog puts it
        case WM_COMMAND: {
            SettingsDialogState* state = StateOf(page);
            if (!state) break;
            const int control = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if ((control == IDC_SETTINGS_COLOUR_CHANGE && code == BN_CLICKED) ||
                (control == IDC_SETTINGS_COLOUR_LIST && code == LBN_DBLCLK)) {
                ChooseWorkingColour(*state, page);
                return TRUE;
            }
            if (code == EN_KILLFOCUS && control == IDC_SETTINGS_THRESHOLD) {
                RewriteSpinField(page, IDC_SETTINGS_THRESHOLD_SPIN);
                return TRUE;
            }
            if (code == EN_KILLFOCUS && control == IDC_SETTINGS_CAP) {
                RewriteSpinField(page, IDC_SETTINGS_CAP_SPIN);
                return TRUE;
            }
            break;
        }
        default: break;
    }
    return FALSE;
}

void CreatePages(HWND dialog, SettingsDialogState& state) {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    HWND tabs = GetDlgItem(dialog, IDC_SETTINGS_TABS);
    RECT place = {PageLeft, PageTop, 0, 0};
    MapDialogRect(dialog, &place);
    for (int i = 0; i < PageCount; ++i) {
        HWND page = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS_GAME + PageTemplateStep * i), dialog,
                                       SettingsPageProc, reinterpret_cast<LPARAM>(&state));
        state.pages[i] = page;
        if (!page) continue;
        SetWindowPos(page, HWND_TOP, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        // Each tab is labelled with its page's title.
        wchar_t title[64] = {};
        GetWindowTextW(page, title, sizeof title / sizeof title[0]);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = title;
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

void HidePage(HWND page) {
    if (page) SetWindowPos(page, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

void ShowPage(HWND dialog, SettingsDialogState& state, int index) {
    if (index < 0 || index >= PageCount || !state.pages[index]) return;
    state.shown = index;
    HWND page = state.pages[index];
    SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // While the tabs hold the focus (their arrow keys, or a click where the
    // tab control takes the focus) it stays there; otherwise the page takes
    // it, so that the keyboard goes on where the user looks.
    if (GetFocus() != GetDlgItem(dialog, IDC_SETTINGS_TABS)) {
        HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
        if (first) SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    }
}

bool HandleTabNotify(HWND dialog, const NMHDR* header) {
    SettingsDialogState* state = StateOf(dialog);
    if (!state || header->idFrom != IDC_SETTINGS_TABS) return false;
    if (header->code == TCN_SELCHANGING) {
        HidePage(state->pages[state->shown]);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, FALSE);  // the change may go ahead
        return true;
    }
    if (header->code == TCN_SELCHANGE) {
        ShowPage(dialog, *state,
                 static_cast<int>(SendDlgItemMessageW(dialog, IDC_SETTINGS_TABS, TCM_GETCURSEL, 0, 0)));
        return true;
    }
    return false;
}

void CloseWithPages(HWND dialog, bool store) {
    currentSettings = ReadPages(*StateOf(dialog));
    if (store) SaveSettings();
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            auto& state = *reinterpret_cast<SettingsDialogState*>(lParam);
            CreatePages(dialog, state);
            FillPages(state);
            if (state.pages[0]) SetWindowPos(state.pages[0], HWND_TOP, 0, 0, 0, 0,
                                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            return TRUE;
        }
        case WM_NOTIFY:
            return HandleTabNotify(dialog, reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: CloseWithPages(dialog, false); return TRUE;
                case IDC_SETTINGS_SAVE: CloseWithPages(dialog, true); return TRUE;
                case IDCANCEL: EndDialog(dialog, 0); return TRUE;
                case IDC_SETTINGS_HELP: {
                    const SettingsDialogState* state = StateOf(dialog);
                    if (state && state->context->openHelp) state->context->openHelp(state->owner);
                    return TRUE;
                }
                default: break;
            }
            break;
        default: break;
    }
    return FALSE;
}

}  // namespace

int RunSettingsDialog(HWND owner, const SettingsDialogContext& context) {
    SettingsDialogState state = {};
    state.context = &context;
    state.owner = owner;
    const INT_PTR result =
        DialogBoxParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)),
                        MAKEINTRESOURCEW(IDD_SETTINGS), owner, SettingsDialogProc, reinterpret_cast<LPARAM>(&state));
    return result == 1 ? 1 : 0;
}
