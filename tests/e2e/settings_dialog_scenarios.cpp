// End-to-end scenarios of the settings dialog: its pages filled from the
// stored settings, page switching, the spin fields, help, and what OK, 保存
// and ｷｬﾝｾﾙ do to the window and the registry.

#include "tests/e2e/driver.h"

#include <commctrl.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "config/settings.h"
#include "res/resource.h"
#include "view/layout.h"

// Help page recording, from tests/e2e/settings_scenarios.cpp.
std::wstring RecordOpenedPages();
void ExpectOpenedPage(const std::wstring& record, const std::string& page);

namespace {

// Fixed-pitch Shift-JIS faces the test machines have (fonts-ipafont).
const std::wstring GothicFace = L"IPAゴシック";
const std::wstring MinchoFace = L"IPA明朝";

const std::vector<std::wstring> ColourNames = {
    L"盤 盤面", L"盤 枠", L"盤 座標文字", L"盤 ﾏｽ目の線", L"石 雑用", L"状況 背景", L"状況 枠", L"状況 固定文字",
};

void StoreText(const std::wstring& name, const std::wstring& text) {
    StoreTavixRegistryValue(L"Configuration", name, REG_SZ, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Settings none of which is at its default.
void StoreVariedSettings() {
    const std::pair<const wchar_t*, DWORD> values[] = {
        {L"AutoMove", 1},  {L"ThoughtDisplay", 0}, {L"ThoughtTime", 7},  {L"StandardType", 1},
        {L"StandardValue", static_cast<DWORD>(MakeStandardValue(-3, 12))}, {L"TurnSpeed", 370},
        {L"EffectSound", 0}, {L"DisplaySize", 7},  {L"TopMost", 0},
    };
    for (const auto& [name, value] : values) StoreTavixRegistryDword(L"Configuration", name, value);
    StoreText(L"FontName", GothicFace);
}

DWORD StoredDword(const std::wstring& name) {
    DWORD value = 0;
    Check(ReadTavixRegistryDword(L"Configuration", name, value), Narrow(name) + " is not stored");
    return value;
}

std::wstring StoredFont() {
    std::wstring font;
    Check(ReadTavixRegistryString(L"Configuration", L"FontName", font), "FontName is not stored");
    return font;
}


// The dialog opened by command 1500, moved below the main window where
// there is room, so that it covers neither board nor panel.
HWND OpenSettingsDialog(const Program& tavix) {
    PostCommand(tavix.window, IDM_OPTIONS_SETTINGS);
    HWND dialog = WaitForDialog(tavix.process.dwProcessId);
    Check(dialog != nullptr && WindowText(dialog) == L"環境設定", "the settings dialog did not open");
    RECT main, own;
    GetWindowRect(tavix.window, &main);
    GetWindowRect(dialog, &own);
    if (GetSystemMetrics(SM_CYSCREEN) - main.bottom >= own.bottom - own.top)
        SetWindowPos(dialog, nullptr, 0, main.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else if (GetSystemMetrics(SM_CXSCREEN) - main.right >= own.right - own.left)
        SetWindowPos(dialog, nullptr, main.right, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pause(300);
    return dialog;
}

void CloseDialogWith(HWND dialog, int button) {
    PressButton(dialog, button);
    WaitFor([&] { return !IsWindow(dialog); }, 5000, Format("the dialog to close with button %d", button));
}

HWND Item(HWND dialog, int id) {
    HWND item = FindDialogItem(dialog, id);
    Check(item != nullptr, Format("no control %d in the dialog", id));
    return item;
}

bool Checked(HWND dialog, int id) { return SendMessageW(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
int ComboSelection(HWND dialog, int id) { return static_cast<int>(SendMessageW(Item(dialog, id), CB_GETCURSEL, 0, 0)); }

std::vector<std::wstring> Numbers(int first, int last, int step) {
    std::vector<std::wstring> texts;
    for (int n = first; n <= last; n += step) texts.push_back(std::to_wstring(n));
    return texts;
}

// A tab's label, read through the program's own memory.
std::wstring TabLabel(const Program& tavix, HWND tabs, int index) {
    HANDLE process = tavix.process.hProcess;
    constexpr int Room = 64;
    auto* remote = static_cast<BYTE*>(
        VirtualAllocEx(process, nullptr, sizeof(TCITEMW) + Room * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    Check(remote != nullptr, "cannot allocate memory in Tavix.exe");
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TCITEMW));
    item.cchTextMax = Room;
    wchar_t text[Room] = {};
    const bool ok = WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
                    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote)) &&
                    ReadProcessMemory(process, remote + sizeof(TCITEMW), text, sizeof text, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    Check(ok, Format("cannot read the label of tab %d", index));
    text[Room - 1] = L'\0';
    return text;
}

void ClickTab(const Program& tavix, HWND dialog, int index) {
    HWND tabs = Item(dialog, IDC_SETTINGS_TABS);
    const RECT r = ControlItemRect(tavix, tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index));
    ClickClient(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

HWND PageHolding(HWND dialog, int control) { return GetParent(Item(dialog, control)); }

HWND FocusOf(const Program& tavix) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(tavix.process.dwThreadId, &info);
    return info.hwndFocus;
}

// The values of every page against the stored varied settings.
void ExpectVariedPages(HWND dialog, int largest) {
    Check(Checked(dialog, IDC_SETTINGS_AUTO_MOVE) && !Checked(dialog, IDC_SETTINGS_THOUGHT_DISPLAY),
          "the two game check boxes do not show AutoMove 1 and ThoughtDisplay 0");
    Check(ComboBoxItems(Item(dialog, IDC_SETTINGS_THOUGHT_TIME)) == Numbers(0, 60, 1),
          "the thinking-time list does not run from 0 to 60");
    Check(ComboSelection(dialog, IDC_SETTINGS_THOUGHT_TIME) == 7, "the thinking time shown is not 7");
    Check(Checked(dialog, IDC_SETTINGS_MINIMAX_VALUE) && !Checked(dialog, IDC_SETTINGS_LEAF_VALUE),
          "the minimax evaluation is not the one chosen");
    Check(WindowText(Item(dialog, IDC_SETTINGS_THRESHOLD)) == L"12" && WindowText(Item(dialog, IDC_SETTINGS_CAP)) == L"-3",
          "the book limits read " + Narrow(WindowText(Item(dialog, IDC_SETTINGS_THRESHOLD))) + " and " +
              Narrow(WindowText(Item(dialog, IDC_SETTINGS_CAP))) + ", not 12 and -3");
    Check(ComboBoxItems(Item(dialog, IDC_SETTINGS_TURN_SPEED)) == Numbers(100, 500, 10),
          "the turning-speed list does not run from 100 to 500 in steps of 10");
    Check(ComboSelection(dialog, IDC_SETTINGS_TURN_SPEED) == 27, "the turning speed shown is not 370");
    Check(!Checked(dialog, IDC_SETTINGS_EFFECT_SOUND), "the sound check box is on");
    Check(ListBoxItems(Item(dialog, IDC_SETTINGS_COLOUR_LIST)) == ColourNames, "the colour list does not hold the eight names");
    Check(SendMessageW(Item(dialog, IDC_SETTINGS_COLOUR_LIST), LB_GETCURSEL, 0, 0) == 0, "the first colour is not selected");
    const std::vector<std::wstring> fonts = ComboBoxItems(Item(dialog, IDC_SETTINGS_FONT));
    const int selected = ComboSelection(dialog, IDC_SETTINGS_FONT);
    Check(selected >= 0 && fonts[selected] == GothicFace, "the stored face is not the one selected");
    for (const std::wstring& face : fonts) {
        Note("font list: " + Narrow(face));
        Check(face[0] != L'@', "a vertical-writing face is listed: " + Narrow(face));
    }
    for (const wchar_t* proportional : {L"IPAPゴシック", L"IPAP明朝", L"ＭＳ Ｐゴシック"})
        Check(std::find(fonts.begin(), fonts.end(), proportional) == fonts.end(),
              "a proportional face is listed: " + Narrow(proportional));
    Check(std::find(fonts.begin(), fonts.end(), MinchoFace) != fonts.end(), "IPA明朝 is not listed");
    const std::vector<std::wstring> sizes = ComboBoxItems(Item(dialog, IDC_SETTINGS_DISPLAY_SIZE));
    Check(sizes == Numbers(4, largest, 1),
          Format("the display-size list holds %d items, not 4 to %d", static_cast<int>(sizes.size()), largest));
    Check(ComboSelection(dialog, IDC_SETTINGS_DISPLAY_SIZE) == 3, "the display size shown is not 7");
    Check(!Checked(dialog, IDC_SETTINGS_TOP_MOST), "the top-most check box is on");
}

// Focus into an edit field, a text in it, then Tab: the field as it stands
// after it lost the focus.
std::wstring TypeAndLeave(HWND dialog, int edit, const std::wstring& text) {
    HWND field = Item(dialog, edit);
    ClickClient(field, 4, ClientSize(field).cy / 2);
    Pause(200);
    SetWindowTextW(field, text.c_str());
    SendKey(VK_TAB);
    Pause(300);
    return WindowText(field);
}

}  // namespace

// The pages hold the stored settings, are labelled by their titles and take
// the focus when chosen with the mouse; a spin field holding no number of
// its range shows its last number again when it loses the focus; ﾍﾙﾌﾟ and
// F1 open the settings page with the dialog left open. Pictures of the four
// pages go to the screenshot folder.
SCENARIO(settings_dialog_pages) {
    StoreVariedSettings();
    Program tavix = StartTavix();
    const int largest = LargestDisplaySizeHere();
    HWND dialog = OpenSettingsDialog(tavix);
    ExpectedPanel panel = {};
    SetExpectedMessage(panel, IDS_SETTINGS_OPENED);
    WaitForPanel(tavix.window, PanelMessages, panel, "opening the settings");
    HWND tabs = Item(dialog, IDC_SETTINGS_TABS);
    const wchar_t* labels[] = {L"対局", L"石が返るとき", L"画面ﾃﾞｻﾞｲﾝ", L"ｳｨﾝﾄﾞｳ"};
    Check(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0) == 4, "the tab control does not have four tabs");
    const int pageControls[] = {IDC_SETTINGS_AUTO_MOVE, IDC_SETTINGS_TURN_SPEED, IDC_SETTINGS_COLOUR_LIST,
                                IDC_SETTINGS_DISPLAY_SIZE};
    for (int i = 0; i < 4; ++i) {
        Check(TabLabel(tavix, tabs, i) == labels[i], Format("tab %d is labelled \"%s\"", i, Narrow(TabLabel(tavix, tabs, i)).c_str()));
        HWND page = PageHolding(dialog, pageControls[i]);
        Check(GetParent(page) == dialog && WindowText(page) == labels[i], Format("page %d is not a child titled as its tab", i));
        Check(!(GetWindowLongW(page, GWL_STYLE) & WS_CAPTION), Format("page %d has a title bar", i));
        Check(IsWindowVisible(page) == (i == 0), Format("page %d is %s on opening", i, i ? "shown" : "hidden"));
    }
    ExpectVariedPages(dialog, largest);

    // Chosen by a click the page shows, alone; the click gives the tab
    // control the focus here, and the focus stays there.
    const std::wstring folder = ScreenshotFolder();
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            ClickTab(tavix, dialog, i);
            HWND page = PageHolding(dialog, pageControls[i]);
            WaitFor([&] { return IsWindowVisible(page); }, 3000, Format("page %d to show", i));
            for (int other = 0; other < 4; ++other)
                if (other != i) Check(!IsWindowVisible(PageHolding(dialog, pageControls[other])),
                                      Format("page %d stays shown beside page %d", other, i));
            if (FocusOf(tavix) == tabs) Note(Format("page %d chosen with the focus on the tabs", i));
            else Check(IsChild(page, FocusOf(tavix)), Format("the focus is neither on the tabs nor in page %d", i));
        }
        Pause(300);
        if (!folder.empty()) SaveScreenshot(folder + Widen(Format("\\settings-page-%d.bmp", i + 1)), dialog);
    }
    // With the focus in a page, the newly chosen page takes it.
    ClickTab(tavix, dialog, 2);
    HWND colours = Item(dialog, IDC_SETTINGS_COLOUR_LIST);
    WaitFor([&] { return IsWindowVisible(colours); }, 3000, "the design page");
    ClickClient(colours, 4, 4);
    WaitFor([&] { return FocusOf(tavix) == colours; }, 3000, "the focus in the colour list");
    SendMessageW(tabs, TCM_SETCURFOCUS, 0, 0);
    HWND gamePage = PageHolding(dialog, IDC_SETTINGS_AUTO_MOVE);
    WaitFor([&] { return IsWindowVisible(gamePage) && IsChild(gamePage, FocusOf(tavix)); }, 3000,
            "the game page to show and take the focus");

    ClickTab(tavix, dialog, 0);
    WaitFor([&] { return IsWindowVisible(PageHolding(dialog, IDC_SETTINGS_THRESHOLD)); }, 3000, "the game page");
    Check(TypeAndLeave(dialog, IDC_SETTINGS_THRESHOLD, L"abc") == L"12", "a field of letters is not rewritten as 12");
    Check(TypeAndLeave(dialog, IDC_SETTINGS_THRESHOLD, L"300") == L"12", "a field of 300 is not rewritten as 12");
    Check(TypeAndLeave(dialog, IDC_SETTINGS_CAP, L"-127") == L"-127", "-127 is not kept in the cap field");

    const std::wstring record = RecordOpenedPages();
    PressButton(dialog, IDC_SETTINGS_HELP);
    ExpectOpenedPage(record, "settings.html");
    Check(IsWindow(dialog) && IsWindowVisible(dialog), "ﾍﾙﾌﾟ closed the dialog");
    DeleteFileW(record.c_str());
    Activate(dialog);
    SendKey(VK_F1);
    ExpectOpenedPage(record, "settings.html");
    Check(IsWindow(dialog) && IsWindowVisible(dialog), "F1 closed the dialog");
    // Esc: nothing taken, 3000 shown.
    Activate(dialog);
    SendKey(VK_ESCAPE);
    WaitFor([&] { return !IsWindow(dialog); }, 5000, "the dialog to close on Esc");
    SetExpectedMessage(panel, IDS_CHOOSE_COMMAND);
    WaitForPanel(tavix.window, PanelMessages, panel, "Esc");
    Check(StoredDword(L"StandardValue") == static_cast<DWORD>(MakeStandardValue(-3, 12)), "Esc changed the book limits");
    PostMessageW(tavix.window, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}

namespace {

// Everything the main window shows outside the message lines: the board
// area and panel boxes 1 and 2.
std::vector<DWORD> CaptureAllButMessages(HWND window) {
    const int u = DisplayUnit(window);
    std::vector<DWORD> pixels = CaptureClient(window, LayoutRect{0, ToolbarBand, 40 * u, ToolbarBand + 40 * u});
    for (int box : {1, 2}) {
        const LayoutRect r = PanelBoxRect(u, box);
        const std::vector<DWORD> part = CaptureClient(window, r);
        pixels.insert(pixels.end(), part.begin(), part.end());
    }
    return pixels;
}

bool ClientAtUnit(HWND window, int u) {
    const SIZE s = ClientSize(window);
    return s.cx == 67 * u && s.cy == 40 * u + 28;
}

// Through the colour chooser the page opens: red, green and blue typed in,
// then OK.
void ChooseColour(const Program& tavix, HWND dialog, int entry, int red, int green, int blue) {
    SendMessageW(Item(dialog, IDC_SETTINGS_COLOUR_LIST), LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    PressButton(dialog, IDC_SETTINGS_COLOUR_CHANGE);
    HWND chooser = nullptr;
    WaitFor([&] {
        chooser = WaitForDialog(tavix.process.dwProcessId, 100);
        return chooser && chooser != dialog;
    }, 5000, "the colour chooser");
    if (!ScreenshotFolder().empty()) SaveScreenshot(ScreenshotFolder() + L"\\settings-colour-chooser.bmp", chooser);
    constexpr int RedField = 706, GreenField = 707, BlueField = 708;
    for (const auto& [field, value] : {std::pair{RedField, red}, std::pair{GreenField, green}, std::pair{BlueField, blue}}) {
        HWND edit = GetDlgItem(chooser, field);
        Check(edit != nullptr, Format("the colour chooser has no field %d", field));
        SetWindowTextW(edit, std::to_wstring(value).c_str());
    }
    PressButton(chooser, IDOK);
    WaitFor([&] { return !IsWindow(chooser); }, 5000, "the colour chooser to close");
}

COLORREF SurfacePixel(HWND window) {
    const LayoutRect r = SquareRect(DisplayUnit(window), 11);
    return ClientPixel(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

}  // namespace

// ｷｬﾝｾﾙ after changing colours, font and size changes nothing; OK after
// changing only TopMost puts the window into the top-most band and leaves
// board and panel as they were but for the message lines; OK after changing
// size and font resizes the window to the new size with the new font; OK
// writes nothing, 保存 all eleven values (the book limits 10 and 5 as typed,
// a face not among the listed ones kept), and the next start shows them.
SCENARIO(settings_dialog_applies_and_stores) {
    StoreVariedSettings();
    Program tavix = StartTavix();
    HWND w = tavix.window;
    WaitFor([&] { return ClientAtUnit(w, 7); }, 5000, "the window at display size 7");
    Pause(500);
    const COLORREF surface = SurfacePixel(w);
    std::vector<DWORD> before = CaptureAllButMessages(w);

    HWND dialog = OpenSettingsDialog(tavix);
    ChooseColour(tavix, dialog, 0, 10, 200, 30);
    SendMessageW(Item(dialog, IDC_SETTINGS_FONT), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(MinchoFace.c_str()));
    SendMessageW(Item(dialog, IDC_SETTINGS_DISPLAY_SIZE), CB_SETCURSEL, 0, 0);
    CloseDialogWith(dialog, IDCANCEL);
    ExpectedPanel panel = {};
    SetExpectedMessage(panel, IDS_CHOOSE_COMMAND);
    WaitForPanel(w, PanelMessages, panel, "ｷｬﾝｾﾙ");
    Pause(500);
    Check(ClientAtUnit(w, 7), "ｷｬﾝｾﾙ changed the window's size");
    Check(CaptureAllButMessages(w) == before, "ｷｬﾝｾﾙ changed the board or the panel");
    dialog = OpenSettingsDialog(tavix);
    Check(ComboSelection(dialog, IDC_SETTINGS_DISPLAY_SIZE) == 3 &&
              ComboBoxItems(Item(dialog, IDC_SETTINGS_FONT))[ComboSelection(dialog, IDC_SETTINGS_FONT)] == GothicFace,
          "after ｷｬﾝｾﾙ the dialog does not show the size and face from before");

    // Only TopMost, then OK.
    SendMessageW(Item(dialog, IDC_SETTINGS_TOP_MOST), BM_SETCHECK, BST_CHECKED, 0);
    CloseDialogWith(dialog, IDOK);
    SetExpectedMessage(panel, IDS_SETTINGS_DONE);
    WaitForPanel(w, PanelMessages, panel, "OK");
    Check((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "OK with TopMost did not make the window top-most");
    Pause(500);
    Check(CaptureAllButMessages(w) == before, "OK with TopMost changed the board or the panel");
    Check(StoredDword(L"TopMost") == 0, "OK stored TopMost");

    // The colour alone: the board surface takes it.
    dialog = OpenSettingsDialog(tavix);
    ChooseColour(tavix, dialog, 0, 10, 200, 30);
    CloseDialogWith(dialog, IDOK);
    WaitFor([&] { return SurfacePixel(w) == RGB(10, 200, 30); }, 5000, "the board surface in the chosen colour");
    Check(surface != RGB(10, 200, 30), "the chosen colour was the surface's already");

    // Size and face together: one new size, the labels in the new face.
    dialog = OpenSettingsDialog(tavix);
    SendMessageW(Item(dialog, IDC_SETTINGS_FONT), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(MinchoFace.c_str()));
    SendMessageW(Item(dialog, IDC_SETTINGS_DISPLAY_SIZE), CB_SETCURSEL, 5, 0);  // 9
    RECT outer;
    GetWindowRect(w, &outer);
    std::set<std::pair<LONG, LONG>> sizes;
    PressButton(dialog, IDOK);
    const ULONGLONG end = GetTickCount64() + 2000;
    while (GetTickCount64() < end) {
        RECT r;
        GetWindowRect(w, &r);
        if (r.right - r.left != outer.right - outer.left || r.bottom - r.top != outer.bottom - outer.top)
            sizes.insert({r.right - r.left, r.bottom - r.top});
        Sleep(1);
    }
    Note(Format("outer sizes seen after OK: %d", static_cast<int>(sizes.size())));
    Check(ClientAtUnit(w, 9), Format("the client area is %ldx%ld, not the one of size 9", ClientSize(w).cx, ClientSize(w).cy));
    Check(sizes.size() == 1, Format("the window went through %d sizes", static_cast<int>(sizes.size())));
    const LayoutRect label = {43 * 9, ToolbarBand + 4 * 9, 51 * 9, ToolbarBand + 6 * 9};  // 現 手 数
    Check(ShowsPanelText(w, {label.left, label.top, label.right, label.bottom}, L"現 手 数", RGB(64, 64, 204),
                         RGB(136, 204, 204), MinchoFace),
          "the panel's labels are not drawn in the new face at the new size");
    Check(StoredDword(L"DisplaySize") == 7 && StoredFont() == GothicFace, "OK stored the size or the face");

    // 保存 writes all eleven values, also those that did not change.
    ClearTavixRegistryValues(L"Configuration");
    dialog = OpenSettingsDialog(tavix);
    SetWindowTextW(Item(dialog, IDC_SETTINGS_THRESHOLD), L"10");
    SetWindowTextW(Item(dialog, IDC_SETTINGS_CAP), L"5");
    CloseDialogWith(dialog, IDC_SETTINGS_SAVE);
    Check(StoredDword(L"AutoMove") == 1 && StoredDword(L"ThoughtDisplay") == 0 && StoredDword(L"ThoughtTime") == 7 &&
              StoredDword(L"StandardType") == 1 && StoredDword(L"TurnSpeed") == 370 && StoredDword(L"EffectSound") == 0 &&
              StoredDword(L"DisplaySize") == 9 && StoredDword(L"TopMost") == 1,
          "保存 did not store the dialog's values");
    Check(StoredDword(L"StandardValue") == 0x0005000A, Format("the book limits are stored as 0x%08lX, not 10 and 5",
                                                              StoredDword(L"StandardValue")));
    Check(StoredFont() == MinchoFace, "保存 stored the face " + Narrow(StoredFont()));
    std::vector<BYTE> colours;
    Check(ReadTavixRegistryBinary(L"Configuration", L"DisplayColor", colours) && colours.size() == 32 &&
              colours[0] == 10 && colours[1] == 200 && colours[2] == 30 && colours[3] == 0,
          "保存 did not store the chosen colour first in DisplayColor");
    PostMessageW(w, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");

    // The next start takes the stored values; a face that is not listed
    // leaves the list without a selection and stays what it was.
    StoreText(L"FontName", L"NoSuchFace");
    tavix = StartTavix();
    w = tavix.window;
    WaitFor([&] { return ClientAtUnit(w, 9); }, 5000, "the window at the stored size 9");
    Check((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "the stored TopMost was not taken");
    dialog = OpenSettingsDialog(tavix);
    Check(WindowText(Item(dialog, IDC_SETTINGS_THRESHOLD)) == L"10" && WindowText(Item(dialog, IDC_SETTINGS_CAP)) == L"5",
          "the stored book limits are not shown as 10 and 5");
    Check(ComboSelection(dialog, IDC_SETTINGS_FONT) == CB_ERR, "a face that is not listed is selected");
    CloseDialogWith(dialog, IDC_SETTINGS_SAVE);
    Check(StoredFont() == L"NoSuchFace", "保存 without a face selected stored \"" + Narrow(StoredFont()) + "\"");
    PostMessageW(w, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}
