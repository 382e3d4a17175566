// End-to-end scenarios of the main window: its size for the display unit,
// the first picture (board and status panel), the menus, the toolbar with its
// enabling and tooltips, and the status-message table.

#include "tests/e2e/driver.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "view/layout.h"

namespace {

constexpr int T = ToolbarBand;

void WriteDisplaySize(DWORD u) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Velmarch\\Tavix\\Configuration", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        Fail("cannot create the Configuration key");
    RegSetValueExW(key, L"DisplaySize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&u), sizeof u);
    RegCloseKey(key);
}

HWND Toolbar(HWND window) {
    HWND toolbar = GetDlgItem(window, 1);
    Check(toolbar != nullptr && ClassName(toolbar) == TOOLBARCLASSNAMEW, "no toolbar with child id 1");
    return toolbar;
}

// Every pixel of the rectangle has one of the given colours.
bool AllPixelsIn(HWND window, const LayoutRect& r, std::initializer_list<COLORREF> colours, std::string& found) {
    HDC dc = GetDC(window);
    bool ok = true;
    for (int y = r.top; y < r.bottom && ok; ++y) {
        for (int x = r.left; x < r.right && ok; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            bool known = false;
            for (COLORREF k : colours) known = known || c == k;
            if (!known) {
                ok = false;
                found = Format("pixel (%d,%d) is %06lx", x, y, static_cast<unsigned long>(c));
            }
        }
    }
    ReleaseDC(window, dc);
    return ok;
}

int CountPixels(HWND window, const LayoutRect& r, COLORREF colour) {
    HDC dc = GetDC(window);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return n;
}

LayoutRect Units(int u, int left, int top, int right, int bottom) {
    return {left * u, T + top * u, right * u, T + bottom * u};
}

const COLORREF PanelBack = RGB(136, 204, 204);
const COLORREF BlackInk = RGB(0, 0, 0);
const COLORREF WhiteInk = RGB(255, 255, 255);

}  // namespace

// The client area is 67u x (40u + 28) for the stored display unit, with the
// toolbar exactly in the 28-pixel band across the top.
SCENARIO(client_area_follows_display_size) {
    for (DWORD u : {4u, 7u, 10u}) {
        WriteDisplaySize(u);
        Program tavix = StartTavix();
        WaitFor([&] { return DisplayUnit(tavix.window) != 0; }, 5000, "the layout size");
        const SIZE client = ClientSize(tavix.window);
        Note(Format("u = %lu: client area %ldx%ld", u, client.cx, client.cy));
        Check(client.cx == static_cast<LONG>(67 * u) && client.cy == static_cast<LONG>(40 * u + 28),
              Format("u = %lu gives a client area of %ldx%ld", u, client.cx, client.cy));
        RECT bar;
        GetWindowRect(Toolbar(tavix.window), &bar);
        POINT topLeft = {bar.left, bar.top};
        ScreenToClient(tavix.window, &topLeft);
        Check(topLeft.x == 0 && topLeft.y == 0 && bar.bottom - bar.top == 28 && bar.right - bar.left == client.cx,
              Format("toolbar at (%ld,%ld) size %ldx%ld", topLeft.x, topLeft.y, bar.right - bar.left,
                     bar.bottom - bar.top));
        CloseTavix(tavix);
    }
}

// The first picture: the initial position on the board, and the panel with
// the idle message, the move number and last moves blank, the legal-move
// count, the side to move, the players, disc counts and clocks.
SCENARIO(initial_board_and_panel) {
    WriteDisplaySize(10);
    Program tavix = StartTavix();
    WaitFor([&] { return DisplayUnit(tavix.window) != 0; }, 5000, "the layout size");
    const int u = DisplayUnit(tavix.window);
    Note(Format("display unit %d", u));
    Pause(500);
    const std::string board = ReadBoard(tavix.window);
    const std::string initial = std::string(27, '-') + "OX------XO" + std::string(27, '-');
    Check(board == initial, "board reads " + board);

    std::string found;
    // Blank fields: only the panel background.
    Check(AllPixelsIn(tavix.window, Units(u, 54, 4, 58, 6), {PanelBack}, found), "move number not blank: " + found);
    Check(AllPixelsIn(tavix.window, Units(u, 42, 15, 50, 17), {PanelBack}, found), "black last move not blank: " + found);
    Check(AllPixelsIn(tavix.window, Units(u, 56, 15, 64, 17), {PanelBack}, found), "white last move not blank: " + found);
    for (int line = 2; line < 6; ++line)
        Check(AllPixelsIn(tavix.window, Units(u, 42, 24 + 2 * line, 64, 26 + 2 * line), {PanelBack}, found),
              Format("message line %d not blank: ", line) + found);
    // Fields with text: ink of their colour on the background.
    Check(CountPixels(tavix.window, Units(u, 54, 7, 58, 9), WhiteInk) > 0, "no legal-move count");
    Check(CountPixels(tavix.window, Units(u, 51, 12, 55, 14), BlackInk) > 0, "no side to move in black");
    Check(CountPixels(tavix.window, Units(u, 42, 12, 50, 14), BlackInk) > 0, "no black player");
    Check(CountPixels(tavix.window, Units(u, 56, 12, 64, 14), WhiteInk) > 0, "no white player");
    Check(CountPixels(tavix.window, Units(u, 42, 17, 50, 19), BlackInk) > 0, "no black disc count");
    Check(CountPixels(tavix.window, Units(u, 56, 19, 64, 21), WhiteInk) > 0, "no white clock");
    for (int line = 0; line < 2; ++line)
        Check(CountPixels(tavix.window, Units(u, 42, 24 + 2 * line, 64, 26 + 2 * line), BlackInk) > 20,
              Format("message line %d is empty", line));

    // Initialising the board shows message 3009 on one line.
    PostCommand(tavix.window, IDM_GAME_NEW_BOARD);
    WaitFor([&] { return AllPixelsIn(tavix.window, Units(u, 42, 26, 64, 28), {PanelBack}, found); }, 5000,
            "message 3009, one line");
    Check(ReadBoard(tavix.window) == initial, "board after initialising");

    CloseTavix(tavix);
}

// Every text of menus 1000 and 1001, in order, separators included.
SCENARIO(menu_texts_exact) {
    const std::vector<std::wstring> mainMenu = {
        L"-1\t対局(&P)",
        L"  1100\t対局開始(&S)\tF2", L"  1101\t対局中断(&B)\tF3", L"  0\t-", L"  1102\t対局者設定(&P)...",
        L"  1103\t盤面初期化(&N)", L"  0\t-", L"  1104\t終了(&X)",
        L"-1\t棋譜(&R)",
        L"  1200\t棋譜の復元(&L)...\tCtrl+L", L"  1201\t棋譜の保存(&S)...\tCtrl+S", L"  0\t-",
        L"  -1\t最近使った棋譜(&R)", L"  0\t-", L"  1211\t先頭へ戻す(&T)\tHome", L"  1212\t一手戻す(&P)\tPgUp",
        L"  1213\t一手送る(&N)\tPgDn", L"  1214\t末尾へ送る(&B)\tEnd", L"  0\t-",
        L"  1215\t棋譜をｺﾋﾟｰ(&C)\tCtrl+C", L"  1216\t盤面をｺﾋﾟｰ(&O)\tCtrl+Shift+C", L"  1217\t貼り付け(&V)\tCtrl+V",
        L"-1\t盤面設定(&B)",
        L"  1300\t設定開始(&S)", L"  0\t-", L"  1301\t全ての石を除去(&R)", L"  1302\t手番変更(&T)", L"  0\t-",
        L"  1303\t設定中止(&C)", L"  1304\t設定終了(&E)",
        L"-1\t研究(&S)",
        L"  1400\t定石手探索(&S)", L"  1401\t評価値算出(&V)...", L"  1403\t棋譜解析(&G)...\tCtrl+G",
        L"  1406\t棋譜ﾃﾞｰﾀﾍﾞｰｽ(&D)...\tCtrl+D", L"  0\t-", L"  1404\t候補手の評価値表示(&H)\tCtrl+H",
        L"  1405\t候補手の設定(&O)...", L"  0\t-", L"  1402\t研究中断(&B)",
        L"-1\tｵﾌﾟｼｮﾝ(&O)",
        L"  1500\t環境設定(&C)...",
        L"-1\tﾍﾙﾌﾟ(&H)",
        L"  1600\t目次(&C)\tF1", L"  1601\tｷｰﾜｰﾄﾞで検索(&S)...", L"  1602\tﾍﾙﾌﾟの使い方(&H)", L"  0\t-",
        L"  1603\tﾊﾞｰｼﾞｮﾝ情報(&A)...",
    };
    const std::vector<std::wstring> contextMenus = {
        L"-1\t", L"  1100\t対局開始(&S)", L"  1101\t対局中断(&B)", L"  0\t-", L"  1102\t対局者設定(&P)...",
        L"  1103\t盤面初期化(&N)", L"  0\t-", L"  1500\t環境設定(&C)...",
        L"-1\t", L"  1301\t全ての石を除去(&R)", L"  1302\t手番変更(&T)", L"  0\t-", L"  1303\t設定中止(&C)",
        L"  1304\t設定終了(&E)",
        L"-1\t", L"  1402\t研究中断(&B)",
    };
    for (const auto& [id, expected] : {std::pair{IDR_MAIN_MENU, mainMenu}, std::pair{IDR_CONTEXT_MENU, contextMenus}}) {
        // The recent-record sub-menu is rebuilt from the list each time it opens.
        std::vector<std::wstring> items;
        for (const std::wstring& item : MenuResourceTexts(id))
            if (item.rfind(L"    ", 0) != 0) items.push_back(item);
        for (size_t i = 0; i < std::max(items.size(), expected.size()); ++i) {
            const std::wstring got = i < items.size() ? items[i] : L"(none)";
            const std::wstring want = i < expected.size() ? expected[i] : L"(none)";
            Check(got == want, Format("menu %d item %d is \"%s\", not \"%s\"", id, static_cast<int>(i), Narrow(got).c_str(),
                                      Narrow(want).c_str()));
        }
    }
}

// In Idle at the start of a game: start game, players and initialise the
// board are enabled; interrupt and the four history buttons are grey.
SCENARIO(toolbar_enabling_in_idle) {
    Program tavix = StartTavix();
    HWND toolbar = Toolbar(tavix.window);
    Check(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0) == 11, "the toolbar does not have 11 buttons and separators");
    const std::pair<int, bool> expected[] = {
        {IDM_GAME_START, true},       {IDM_GAME_INTERRUPT, false}, {IDM_GAME_PLAYERS, true},
        {IDM_GAME_NEW_BOARD, true},   {IDM_RECORD_TO_START, false}, {IDM_RECORD_BACK, false},
        {IDM_RECORD_FORWARD, false},  {IDM_RECORD_TO_END, false},
    };
    for (const auto& [id, enabled] : expected) {
        const bool is = SendMessageW(toolbar, TB_ISBUTTONENABLED, id, 0) != 0;
        Check(is == enabled, Format("button %d is %s", id, is ? "enabled" : "grey"));
    }
    CloseTavix(tavix);
}

namespace {

RECT ButtonRect(const Program& tavix, HWND toolbar, int index) {
    return ControlItemRect(tavix, toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index));
}

void MoveMouseTo(HWND window, POINT p) {
    ClientToScreen(window, &p);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((p.x * 65535LL) / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = static_cast<LONG>((p.y * 65535LL) / (GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

std::wstring VisibleTooltipText(DWORD pid) {
    for (HWND tip : FindProcessWindows(pid, TOOLTIPS_CLASSW)) {
        if (IsWindowVisible(tip)) return WindowText(tip);
    }
    return L"";
}

}  // namespace

// Resting the mouse on a button shows its command's caption as the tooltip.
SCENARIO(toolbar_tooltips) {
    Program tavix = StartTavix();
    Activate(tavix.window);
    HWND toolbar = Toolbar(tavix.window);
    const std::pair<int, const wchar_t*> buttons[] = {
        {1, L"対局開始"}, {2, L"対局中断"}, {4, L"対局者設定"}, {5, L"盤面初期化"},
        {7, L"先頭へ戻す"}, {8, L"一手戻す"}, {9, L"一手送る"}, {10, L"末尾へ送る"},
    };
    const DWORD pid = tavix.process.dwProcessId;
    int shown = 0;
    for (const auto& [index, caption] : buttons) {
        const RECT r = ButtonRect(tavix, toolbar, index);
        const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        // On a busy machine the first hover can come before the tooltip
        // watches the button (the program is still settling after start-up),
        // so like a user the mouse leaves and rests on the button again.
        std::wstring text;
        int hovers = 0;
        for (; hovers < 3 && text != caption; ++hovers) {
            MoveMouseTo(tavix.window, {0, 120});
            WaitUntil([&] { return VisibleTooltipText(pid).empty(); }, 2000);
            MoveMouseTo(tavix.window, centre);
            Sleep(100);
            MoveMouseTo(tavix.window, {centre.x + 1, centre.y});
            // The tooltip of the button before may still be up for a moment.
            WaitUntil([&] { return (text = VisibleTooltipText(pid)) == caption; }, 3000);
        }
        Note(Format("button %d: tooltip \"%s\" (%d hover%s)", index, Narrow(text).c_str(), hovers,
                    hovers == 1 ? "" : "s"));
        const bool enabled = index == 1 || index == 4 || index == 5;
        if (text.empty() && !enabled) continue;  // a grey button may show no tooltip
        Check(text == caption, Format("tooltip of item %d is \"%s\"", index, Narrow(text).c_str()));
        ++shown;
    }
    Check(shown >= 3, "fewer than the three enabled buttons showed a tooltip");
    CloseTavix(tavix);
}

// The status messages 3000-3030 as the executable holds them: each text as
// the table gives it, and every segment padded with trailing spaces exactly
// 22 bytes in code page 932.
SCENARIO(status_message_table) {
    const std::pair<int, const wchar_t*> table[] = {
    {3000, L"メニューより処理を選択|して下さい            ||||"},
    {3001, L"どこに打ちますか？||左ｸﾘｯｸ→着手          "},
    {3002, L"どこにも打てません||左ｸﾘｯｸ→パス          "},
    {3003, L"ｺﾝﾋﾟｭｰﾀ が思考中です|しばらくお待ち下さい||||"},
    {3004, L"盤面を表示中です||"},
    {3005, L"対局が終了しました|||||"},
    {3006, L"対局を中断しました|||||"},
    {3007, L"対局者を設定します|||||"},
    {3008, L"対局者を設定しました|||||"},
    {3009, L"盤面を初期化しました|||||"},
    {3010, L"棋譜をファイルから復元|します                ||||"},
    {3011, L"棋譜をファイルから復元|しました              ||||"},
    {3012, L"棋譜をファイルに保存し|ます                  ||||"},
    {3013, L"棋譜をファイルに保存し|ました                ||||"},
    {3014, L"棋譜を先頭へ戻しました|||||"},
    {3015, L"棋譜を一手戻しました|||||"},
    {3016, L"棋譜を一手送りました|||||"},
    {3017, L"棋譜を末尾へ送りました|||||"},
    {3018, L"盤面を設定中です||左ｸﾘｯｸ→黒石配置      |||"},
    {3019, L"盤面を設定中です||左ｸﾘｯｸ→白石配置      |||"},
    {3020, L"盤面を設定中です||左ｸﾘｯｸ→石除去        |||"},
    {3021, L"盤面設定を中止しました|||||"},
    {3022, L"盤面を設定しました|||||"},
    {3023, L"定石を探索しています|||||"},
    {3024, L"定石を探索しました|||||"},
    {3025, L"評価値を算出します|||||"},
    {3026, L"評価値を算出しています|しばらくお待ち下さい||||"},
    {3027, L"評価値を算出しました||"},
    {3028, L"研究を中断しました|||||"},
    {3029, L"環境を設定します|||||"},
    {3030, L"環境を設定しました|||||"},
    };
    HMODULE module = LoadLibraryExW(TavixPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(module != nullptr, "cannot open Tavix.exe as a resource file");
    for (const auto& [id, expected] : table) {
        const wchar_t* text = nullptr;
        const int n = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
        const std::wstring got = n > 0 ? std::wstring(text, n) : L"";
        Check(got == expected, Format("string %d is \"%s\"", id, Narrow(got).c_str()));
        char bytes[512];
        const int size = WideCharToMultiByte(932, 0, got.data(), n, bytes, sizeof bytes, nullptr, nullptr);
        std::string sjis(bytes, size > 0 ? size : 0);
        size_t start = 0;
        while (start <= sjis.size()) {
            // '|' never occurs as a trail byte in these texts' code page 932 form.
            size_t end = sjis.find('|', start);
            if (end == std::string::npos) end = sjis.size();
            const size_t length = end - start;
            Check(length <= 22, Format("string %d has a segment of %d bytes", id, static_cast<int>(length)));
            if (length > 0 && sjis[end - 1] == ' ')
                Check(length == 22, Format("string %d has a padded segment of %d bytes", id, static_cast<int>(length)));
            start = end + 1;
        }
    }
    FreeLibrary(module);
}

// Help page recording, from tests/e2e/settings_scenarios.cpp.
std::wstring RecordOpenedPages();
void ExpectOpenedPage(const std::wstring& record, const std::string& page);

namespace {

void SendAltKey(UINT virtualKey) {
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_MENU, static_cast<WORD>(virtualKey), static_cast<WORD>(virtualKey), VK_MENU};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
}

bool MenuOpen(DWORD pid) {
    for (HWND menu : FindProcessWindows(pid, L"#32768"))
        if (IsWindowVisible(menu)) return true;
    return false;
}

}  // namespace

// F1 where the accelerators do not reach: inside an open menu it closes the
// menu and opens the contents; inside a dialog box (the about box, in Idle)
// it opens the contents too.
SCENARIO(help_key_in_menus_and_dialogs) {
    const std::wstring record = RecordOpenedPages();
    Program tavix = StartTavix();
    const DWORD pid = tavix.process.dwProcessId;
    Activate(tavix.window);
    SendAltKey('P');
    WaitFor([&] { return MenuOpen(pid); }, 5000, "the game menu to open");
    SendKey(VK_F1);
    ExpectOpenedPage(record, "index.html");
    WaitFor([&] { return !MenuOpen(pid); }, 5000, "the menu to close on F1");

    DeleteFileW(record.c_str());
    PostCommand(tavix.window, IDM_HELP_ABOUT);
    HWND box = WaitForDialog(pid);
    Check(box != nullptr, "the about box did not open");
    Activate(box);
    SendKey(VK_F1);
    ExpectOpenedPage(record, "index.html");
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    WaitFor([&] { return !IsWindow(box); }, 5000, "the about box to close");
    CloseTavix(tavix);
}

namespace {

HWND OpenMenuWindow(DWORD pid) {
    for (HWND menu : FindProcessWindows(pid, L"#32768"))
        if (IsWindowVisible(menu)) return menu;
    return nullptr;
}

// The items of an open menu as drawn, top to bottom: 'B' for an item with
// dark (menu text) ink, 'G' for one whose darkest ink is grey, 'H' for the
// highlighted item. Separators (a line across the whole width) and gaps are
// skipped. Fonts are smoothed, so ink is told by luminance, not exact colour.
std::string MenuItemInks(HWND menu) {
    RECT r;
    GetWindowRect(menu, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    const auto* pixels = static_cast<const DWORD*>(bits);
    auto luminance = [](DWORD c) { return ((c >> 16 & 0xFF) * 299 + (c >> 8 & 0xFF) * 587 + (c & 0xFF) * 114) / 1000; };
    const COLORREF h = GetSysColor(COLOR_HIGHLIGHT);
    const DWORD highlight = static_cast<DWORD>(GetRValue(h) << 16 | GetGValue(h) << 8 | GetBValue(h));
    const DWORD menuLuminance = luminance(static_cast<DWORD>(GetRValue(GetSysColor(COLOR_MENU)) << 16 |
                                                           GetGValue(GetSysColor(COLOR_MENU)) << 8 |
                                                           GetBValue(GetSysColor(COLOR_MENU))));
    std::string inks;
    char band = 0;
    int bandRows = 0;
    for (int y = 2; y < height - 2; ++y) {
        int dark = 0, grey = 0, marked = 0;
        for (int x = 3; x < width - 3; ++x) {
            const DWORD c = pixels[y * width + x] & 0xFFFFFF;
            const DWORD l = luminance(c);
            marked += c == highlight;
            dark += l < 64;
            grey += l >= 64 && l + 30 < menuLuminance;
        }
        const int span = width - 6;
        char row = 0;
        if (marked > span / 2) row = 'H';
        else if (grey > span * 3 / 4 || dark > span * 3 / 4) row = 0;  // separator line
        else if (dark > 0) row = 'B';
        else if (grey > 0) row = 'G';
        if (row == band) {
            ++bandRows;
            continue;
        }
        if (band && bandRows >= 3) inks += band;
        band = row;
        bandRows = 1;
    }
    if (band && bandRows >= 3) inks += band;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return inks;
}

// A menu window's client area as on screen, once two looks 200 ms apart
// agree (the menu has finished drawing).
std::vector<DWORD> SettledMenuPixels(HWND menu, SIZE& size) {
    RECT r;
    std::vector<DWORD> pixels, before;
    for (int look = 0; look < 25; ++look) {
        GetClientRect(menu, &r);
        pixels = CaptureClient(menu, r);
        if (!pixels.empty() && pixels == before) break;
        before = pixels;
        Pause(200);
    }
    size = {r.right - r.left, r.bottom - r.top};
    return pixels;
}

struct ReferenceMenu {
    const std::vector<std::pair<std::wstring, bool>>* items;
    HDESK desktop;  // the scenario's desktop, which a new thread does not start on
};

DWORD WINAPI RunReferenceMenu(void* p) {
    ReferenceMenu& r = *static_cast<ReferenceMenu*>(p);
    SetThreadDesktop(r.desktop);
    HMENU menu = CreatePopupMenu();
    UINT id = 100;
    for (const auto& [text, grey] : *r.items) AppendMenuW(menu, MF_STRING | (grey ? MF_GRAYED : 0), id++, text.c_str());
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    // Taken by the menu's own message loop, as the key is for a submenu.
    PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
    TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, 300, 300, 0, owner, nullptr);
    DestroyWindow(owner);
    DestroyMenu(menu);
    return 0;
}

// The pixels of a popup menu of the given items (text, greyed) that the
// driver opens itself, its first item selected from the keyboard as it is in
// a submenu opened with the right arrow key: what the program's menu of the
// same items must look like.
std::vector<DWORD> ReferenceMenuPixels(const std::vector<std::pair<std::wstring, bool>>& items, SIZE& size) {
    ReferenceMenu shared = {&items, GetThreadDesktop(GetCurrentThreadId())};
    HANDLE thread = CreateThread(nullptr, 0, RunReferenceMenu, &shared, 0, nullptr);
    Check(thread != nullptr, "cannot start the reference menu's thread");
    HWND menu = nullptr;
    WaitFor([&] { return (menu = OpenMenuWindow(GetCurrentProcessId())) != nullptr; }, 5000, "the reference menu");
    std::vector<DWORD> pixels = SettledMenuPixels(menu, size);
    // The menu's message loop takes keys posted to any window of its thread.
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    const bool ended = WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0;
    CloseHandle(thread);
    Check(ended, "the reference menu did not close");
    return pixels;
}

}  // namespace

// In Idle at the start of a game the menus show as enabled and grey exactly
// the items the mode and the empty history allow, read from the menus as
// drawn: each top-level menu opened in turn from the keyboard (which
// highlights its first item, enabled in every menu: toolbar_enabling_in_idle
// covers start game).
SCENARIO(menu_enabling_in_idle) {
    Program tavix = StartTavix();
    const DWORD pid = tavix.process.dwProcessId;
    Activate(tavix.window);
    SendAltKey('P');
    const char* expected[] = {"HGBBB", "HBBGGGGBBB", "HGGGG", "HBGBBBG", "H", "HBBB"};
    const char* names[] = {"game", "record", "board set-up", "research", "options", "help"};
    for (int i = 0; i < 6; ++i) {
        if (i > 0) SendKey(VK_RIGHT);
        HWND menu = nullptr;
        std::string inks;
        // The menu is read once its drawing has settled on the expected items.
        WaitUntil([&] { return (menu = OpenMenuWindow(pid)) && (inks = MenuItemInks(menu)) == expected[i]; }, 5000);
        Note(Format("%s menu: %s", names[i], inks.c_str()));
        Check(inks == expected[i], Format("the %s menu reads %s, not %s", names[i], inks.c_str(), expected[i]));
    }
    SendKey(VK_ESCAPE);
    SendKey(VK_ESCAPE);
    CloseTavix(tavix);
}

// The recent-file submenu as drawn, compared pixel for pixel with a menu of
// the expected items: "(なし)" greyed while the list is empty; the stored
// files numbered from 1 in their order, an ampersand of a path shown as it
// is rather than taken as the item's key.
SCENARIO(recent_file_menu_as_drawn) {
    const std::wstring folder = L"C:\\tavix 棋譜\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring first = folder + L"R&D.rgm", second = folder + L"二局目.rgm";
    for (const std::wstring& path : {first, second})
        Check(WriteFileBytes(path, "[Record of Games]\r\nApplication=Tavix\r\n01=f5\r\n"), "cannot write a record");
    struct Step {
        std::vector<std::wstring> stored;
        std::vector<std::pair<std::wstring, bool>> items;
    } steps[] = {
        {{}, {{L"(なし)", true}}},
        {{first, second}, {{L"&1 C:\\tavix 棋譜\\R&&D.rgm", false}, {L"&2 C:\\tavix 棋譜\\二局目.rgm", false}}},
    };
    for (const Step& step : steps) {
        for (std::size_t i = 0; i < step.stored.size(); ++i)
            StoreTavixString(L"Recent File List", L"File" + std::to_wstring(i + 1), step.stored[i]);
        Program tavix = StartTavix();
        const DWORD pid = tavix.process.dwProcessId;
        Activate(tavix.window);
        SendAltKey('R');
        HWND recordMenu = nullptr, recent = nullptr;
        WaitFor([&] { return (recordMenu = OpenMenuWindow(pid)) != nullptr; }, 5000, "the record menu");
        // Load, save, then the recent-file submenu, opened to the right.
        SendKey(VK_DOWN);
        SendKey(VK_DOWN);
        SendKey(VK_RIGHT);
        WaitFor(
            [&] {
                for (HWND menu : FindProcessWindows(pid, L"#32768"))
                    if (menu != recordMenu && IsWindowVisible(menu)) recent = menu;
                return recent != nullptr;
            },
            5000, "the recent-file submenu");
        SIZE shownSize, wantedSize;
        const std::vector<DWORD> shown = SettledMenuPixels(recent, shownSize);
        for (int i = 0; i < 3; ++i) SendKey(VK_ESCAPE);
        WaitFor([&] { return !MenuOpen(pid); }, 5000, "the menus to close");
        const std::vector<DWORD> wanted = ReferenceMenuPixels(step.items, wantedSize);
        const std::string what = Narrow(step.items[0].first) + (step.items.size() > 1 ? " ..." : "");
        Check(shownSize.cx == wantedSize.cx && shownSize.cy == wantedSize.cy,
              Format("the submenu of %s is %dx%d, not %dx%d", what.c_str(), static_cast<int>(shownSize.cx),
                     static_cast<int>(shownSize.cy), static_cast<int>(wantedSize.cx), static_cast<int>(wantedSize.cy)));
        int differing = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) differing += shown[i] != wanted[i];
        Check(differing == 0, Format("the submenu of %s differs in %d pixels", what.c_str(), differing));
        Note(Format("submenu of %s: %dx%d as expected", what.c_str(), static_cast<int>(shownSize.cx),
                    static_cast<int>(shownSize.cy)));
        CloseTavix(tavix);
    }
}
