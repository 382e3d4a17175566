// The program at the screen's own resolution: it declares itself DPI-aware,
// so the system neither shrinks the screen it sees nor stretches its
// drawing. Run at any LogPixels (tests/e2e/run.sh --dpi 144): the window
// takes the largest layout unit that fits the real screen, and every label
// of every dialog fits its control at the dialog font's size for that
// resolution (the review window's: in the program's display font), and
// each lies inside the screen. Pictures of the main window, the set-up
// menu, each dialog and the folder chooser go to the screenshot folder as
// dpiN-NAME.bmp.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/notation.h"
#include "res/resource.h"
#include "tests/e2e/driver.h"

std::wstring WriteArchive();

namespace {

// The resolution the system reports to a DPI-aware program.
int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// How the program's window is drawn: 0 unaware (the system scales it), 1
// system-aware, 2 per-monitor; -1 when the system cannot say.
int WindowDpiAwareness(HWND window) {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    using ContextOf = HANDLE(WINAPI*)(HWND);
    using AwarenessOf = int(WINAPI*)(HANDLE);
    auto contextOf = reinterpret_cast<ContextOf>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetWindowDpiAwarenessContext")));
    auto awarenessOf = reinterpret_cast<AwarenessOf>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    if (!contextOf || !awarenessOf) return -1;
    return awarenessOf(contextOf(window));
}

struct ChildList {
    std::vector<HWND> children;
};

BOOL CALLBACK CollectVisible(HWND child, LPARAM param) {
    if (IsWindowVisible(child)) reinterpret_cast<ChildList*>(param)->children.push_back(child);
    return TRUE;
}

// Every label of the dialog (static texts, buttons, check boxes, group
// boxes) that its text does not fit, measured in the dialog's font (the face
// at fontHeight, a font's lfHeight) as the control draws it.
std::vector<std::string> CutLabels(HWND dialog, const wchar_t* face, int fontHeight, int dpi) {
    ChildList list;
    EnumChildWindows(dialog, CollectVisible, reinterpret_cast<LPARAM>(&list));
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HGDIOBJ old = SelectObject(dc, font);
    const int check = GetSystemMetrics(SM_CXMENUCHECK) + MulDiv(4, dpi, 96);
    std::vector<std::string> cut;
    for (HWND child : list.children) {
        const std::wstring text = WindowText(child);
        const std::wstring kind = ClassName(child);
        if (text.empty()) continue;
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        RECT box;
        GetClientRect(child, &box);
        int room = box.right, height = box.bottom;
        UINT flags = DT_CALCRECT | DT_SINGLELINE;
        if (lstrcmpiW(kind.c_str(), L"Static") == 0) {
            const LONG type = style & SS_TYPEMASK;
            if (type > SS_RIGHT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) continue;
            if (type <= SS_RIGHT) flags = DT_CALCRECT | DT_WORDBREAK;
            if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
        } else if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
            const LONG type = style & BS_TYPEMASK;
            if (type == BS_GROUPBOX) room -= MulDiv(16, dpi, 96);
            else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) room -= 2 * GetSystemMetrics(SM_CXEDGE);
            else room -= check;
            if (style & BS_MULTILINE) flags = DT_CALCRECT | DT_WORDBREAK;
        } else {
            continue;
        }
        RECT need = {0, 0, room, 0};
        DrawTextW(dc, text.c_str(), -1, &need, flags);
        if (need.right > room + 1 || need.bottom > height + 1)
            cut.push_back(Format("\"%s\" needs %ldx%ld in %dx%d", Narrow(text).c_str(), need.right, need.bottom, room,
                                 height));
    }
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return cut;
}

struct Looker {
    Program& tavix;
    int dpi;
    std::vector<std::string> faults;

    // Pictures the window and checks its labels, in 9 points of face (a
    // dialog's font) unless given the font's height.
    void Look(HWND window, const char* name, const wchar_t* face, int fontHeight = 0) {
        Pause(400);
        const std::wstring folder = ScreenshotFolder();
        if (!folder.empty()) SaveScreenshot(folder + Widen(Format("\\dpi%d-%s.bmp", dpi, name)), window);
        if (!face) return;
        RECT r;
        GetWindowRect(window, &r);
        Note(Format("%s: %ldx%ld pixels", name, r.right - r.left, r.bottom - r.top));
        if (r.left < 0 || r.top < 0 || r.right > GetSystemMetrics(SM_CXSCREEN) || r.bottom > GetSystemMetrics(SM_CYSCREEN))
            faults.push_back(Format("%s: at %ld,%ld-%ld,%ld reaches past the screen", name, r.left, r.top, r.right,
                                    r.bottom));
        if (fontHeight == 0) fontHeight = -MulDiv(9, dpi, 72);
        for (const std::string& c : CutLabels(window, face, fontHeight, dpi))
            faults.push_back(std::string(name) + ": " + c);
    }

    HWND Open(int command, int control) {
        PostCommand(tavix.window, command);
        HWND d = nullptr;
        WaitUntil(
            [&] {
                d = WaitForDialog(tavix.process.dwProcessId, 100);
                return d && FindDialogItem(d, control);
            },
            30000);
        Check(d && FindDialogItem(d, control), Format("the dialog of command %d did not open", command));
        return d;
    }
};

void Close(HWND dialog, int button) {
    PressButton(dialog, button);
    WaitFor([&] { return !IsWindow(dialog); }, 5000, "the dialog to close");
}

}  // namespace

SCENARIO(dialogs_at_screen_resolution) {
    StoreGameSettings(Person, Person);
    Program tavix = StartTavix();
    HWND w = tavix.window;
    Activate(w);
    const int dpi = ScreenDpi();
    const int awareness = WindowDpiAwareness(w);
    const int largest = LargestDisplaySizeHere();
    Note(Format("%d dpi: the window's DPI awareness %d (1 system, 2 per monitor), layout unit %d, largest that fits "
                "%d (screen %dx%d)",
                dpi, awareness, DisplayUnit(w), largest, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    Check(awareness != 0, "the program runs DPI-unaware");
    Check(DisplayUnit(w) == largest, Format("the window's unit is %d, not the largest that fits, %d", DisplayUnit(w), largest));

    const wchar_t* proportional = L"ＭＳ Ｐゴシック";
    const wchar_t* fixed = L"ＭＳ ゴシック";
    Looker looker{tavix, dpi, {}};
    looker.Look(w, "main", nullptr);

    HWND d = looker.Open(IDM_GAME_PLAYERS, IDC_PLAYERS_BLACK);
    looker.Look(d, "players", proportional);
    Close(d, IDCANCEL);

    // The set-up menu, from a right click on the board in set-up.
    PostCommand(w, IDM_SETUP_BEGIN);
    Pause(300);
    const POINT centre = SquareCentre(w, 4, 4);
    ClickClient(w, centre.x, centre.y, true);
    HWND menu = nullptr;
    WaitUntil(
        [&] {
            for (HWND m : FindProcessWindows(tavix.process.dwProcessId, L"#32768"))
                if (IsWindowVisible(m)) menu = m;
            return menu != nullptr;
        },
        5000);
    Check(menu != nullptr, "no set-up menu on a right click");
    looker.Look(menu, "setup-menu", nullptr);
    SendKey(VK_ESCAPE);
    PostCommand(w, IDM_SETUP_CANCEL);
    Pause(300);

    d = looker.Open(IDM_RESEARCH_ANALYSIS, IDC_ANALYSIS_DEPTH);
    looker.Look(d, "analysis-parameters", proportional);
    HWND depth = GetDlgItem(d, IDC_ANALYSIS_DEPTH);
    SendMessageW(depth, CB_SETCURSEL, 0, 0);
    SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_ANALYSIS_DEPTH, CBN_SELCHANGE), reinterpret_cast<LPARAM>(depth));
    PressButton(d, IDOK);
    HWND results = nullptr;
    WaitUntil(
        [&] {
            results = WaitForDialog(tavix.process.dwProcessId, 100);
            return results && GetDlgItem(results, IDC_RESULTS_LIST);
        },
        30000);
    Check(results && GetDlgItem(results, IDC_RESULTS_LIST), "no analysis results");
    looker.Look(results, "analysis-results", fixed);
    Close(results, IDCANCEL);

    d = looker.Open(IDM_RESEARCH_BOOK, IDC_BOOK_MOVE_LIST);
    looker.Look(d, "book-moves", fixed);
    Close(d, IDCANCEL);

    d = looker.Open(IDM_OPTIONS_SETTINGS, IDC_SETTINGS_TABS);
    HWND tabs = FindDialogItem(d, IDC_SETTINGS_TABS);
    for (int page = 0; page < 4; ++page) {
        const RECT tab = ControlItemRect(tavix, tabs, TCM_GETITEMRECT, page);
        ClickClient(tabs, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        Pause(300);
        looker.Look(d, Format("settings-%d", page + 1).c_str(), proportional);
    }
    Close(d, IDCANCEL);

    d = looker.Open(IDM_HELP_ABOUT, IDOK);
    looker.Look(d, "about", proportional);
    Close(d, IDOK);

    // The game review needs a move in the history: its parameters, then a
    // one-move review's window, whose controls use the display font (the
    // default face, two layout units less two pixels high).
    PostCommand(w, IDM_GAME_START);
    Pause(300);
    const Square f5 = ParseSquareCode("f5");
    ClickSquare(w, f5 / 10, f5 % 10);
    ScriptedGame played;
    played.Play(f5);
    WaitForBoard(w, played.Board(), 5000, "after f5");
    d = looker.Open(IDM_RESEARCH_REVIEW, IDC_REVIEW_DEPTH);
    looker.Look(d, "review-parameters", proportional);
    SendDlgItemMessageW(d, IDC_REVIEW_DEPTH, CB_SETCURSEL, 0, 0);
    PressButton(d, IDOK);
    HWND review = nullptr;
    WaitFor(
        [&] {
            const std::vector<HWND> found = FindProcessWindows(tavix.process.dwProcessId, L"TavixReview");
            review = found.empty() ? nullptr : found[0];
            return review && IsWindowVisible(review);
        },
        30000, "the review window");
    Pause(1000);  // the one row reviewed and drawn
    looker.Look(review, "review-window", fixed, 2 * DisplayUnit(w) - 2);
    PostMessageW(review, WM_CLOSE, 0, 0);
    WaitFor([&] { return !IsWindow(review) || !IsWindowVisible(review); }, 5000, "the review window to close");

    // The database window: without a stored folder it asks for one first
    // (the system's folder chooser, pictured only); cancelled, nothing
    // opens. With an archive folder stored it opens on that.
    PostCommand(w, IDM_RESEARCH_DATABASE);
    HWND chooser = nullptr;
    WaitFor(
        [&] {
            for (HWND c : FindProcessWindows(tavix.process.dwProcessId, L"#32770"))
                if (IsWindowVisible(c) && WindowText(c) != L"棋譜ﾃﾞｰﾀﾍﾞｰｽ") chooser = c;
            return chooser != nullptr;
        },
        10000, "the folder chooser");
    looker.Look(chooser, "database-folder", nullptr);
    Close(chooser, IDCANCEL);
    const std::wstring folder = WriteArchive();
    StoreTavixRegistryValue(L"Configuration", L"DatabaseFolder", REG_SZ, folder.c_str(),
                            static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    d = looker.Open(IDM_RESEARCH_DATABASE, IDC_DB_MOVES);
    WaitFor([&] { return !ListBoxItems(GetDlgItem(d, IDC_DB_GAMES)).empty(); }, 10000, "the archive's games listed");
    looker.Look(d, "database", fixed);
    PressButton(d, IDCANCEL);

    std::string all;
    for (const std::string& f : looker.faults) all += "\n  " + f;
    Check(looker.faults.empty(), Format("%d labels do not fit at %d dpi:", static_cast<int>(looker.faults.size()), dpi) + all);
    CloseTavix(tavix);
}
