// End-to-end scenarios. Each is one function; the driver runs them by name.

#include "res/resource.h"
#include "tests/e2e/driver.h"

// The program starts with its main window at a layout size and ends with exit code 0 when the window is closed,
// leaving no process behind.
SCENARIO(start_and_close) {
    Program tavix = StartTavix();
    const std::wstring title = WindowText(tavix.window);
    Check(title == L"" TAVIX_VERSION_TEXT, "window title is \"" + Narrow(title) + "\"");
    const SIZE client = ClientSize(tavix.window);
    Note(Format("client area %ldx%ld", client.cx, client.cy));
    Check(DisplayUnit(tavix.window) > 0, Format("client area %ldx%ld is no layout size", client.cx, client.cy));
    const LONG_PTR style = GetWindowLongPtrW(tavix.window, GWL_STYLE);
    Check((style & WS_MAXIMIZEBOX) == 0 && (style & WS_THICKFRAME) == 0, "the window has a maximise box or sizing frame");
    Check((style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)) == (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
          "the window lacks its caption, system menu or minimise box");
    Check((GetWindowLongPtrW(tavix.window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0, "the window does not accept files");

    PostMessageW(tavix.window, WM_CLOSE, 0, 0);
    const DWORD code = WaitForExit(tavix);
    Check(code == 0, Format("exit code %lu", code));
    StopTavix(tavix);
    WaitFor([] { return CountTavixProcesses() == 0; }, 5000, "no Tavix.exe left running");
}

// The exit command closes the program the same way as the window's frame.
SCENARIO(exit_command) {
    Program tavix = StartTavix();
    PostCommand(tavix.window, IDM_GAME_EXIT);
    const DWORD code = WaitForExit(tavix);
    Check(code == 0, Format("exit code %lu", code));
}

// The main menu resource carries the top-level menus with their texts.
SCENARIO(main_menu_texts) {
    const std::vector<std::wstring> items = MenuResourceTexts(IDR_MAIN_MENU);
    std::vector<std::wstring> popups;
    for (const std::wstring& item : items) {
        const size_t start = item.find_first_not_of(L' ');
        if (item.compare(start, 3, L"-1\t") == 0) popups.push_back(item.substr(start + 3));
    }
    const std::vector<std::wstring> expected = {L"対局(&P)", L"棋譜(&R)", L"最近使った棋譜(&R)", L"盤面設定(&B)",
                                                L"研究(&S)", L"ｵﾌﾟｼｮﾝ(&O)", L"ﾍﾙﾌﾟ(&H)"};
    std::wstring found;
    for (const std::wstring& p : popups) found += L" [" + p + L"]";
    Check(popups == expected, "the main menu's pop-ups are" + Narrow(found));
    bool exitFound = false;
    for (const std::wstring& item : items) exitFound = exitFound || item == L"  1104\t終了(&X)";
    Check(exitFound, "no item 1104 \"終了(&X)\" in the game menu");
}

// Saves a picture of the main window (with its frame) at display unit 10 as
// main_window.bmp in the screenshot folder; scripts/screenshot.sh makes
// docs/screenshot.png of it.
SCENARIO(main_window_screenshot) {
    const DWORD unit = 10;
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Velmarch\\Tavix\\Configuration", L"DisplaySize", REG_DWORD, &unit,
                    sizeof unit);
    Program tavix = StartTavix();
    Pause(1500);  // let the first paint finish
    const std::wstring folder = ScreenshotFolder();
    Check(!folder.empty(), "no screenshot folder given (--shots)");
    Check(SaveScreenshot(folder + L"\\main_window.bmp", tavix.window), "cannot write main_window.bmp");
    PostMessageW(tavix.window, WM_CLOSE, 0, 0);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}
