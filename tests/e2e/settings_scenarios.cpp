// End-to-end scenarios of the settings store, the about box and help.

#include <cstring>

#include "res/resource.h"
#include "tests/e2e/driver.h"
#include "view/layout.h"

namespace {

const std::wstring ProductKey = L"Software\\Velmarch\\Tavix";
const std::wstring ConfigurationKey = ProductKey + L"\\Configuration";

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void StoreValue(const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    StoreRegistryValue(path, name, type, data, size);
}

void StoreDword(const std::wstring& name, DWORD value) {
    StoreValue(ConfigurationKey, name, REG_DWORD, &value, sizeof value);
}

void StoreText(const std::wstring& name, const std::wstring& text) {
    StoreValue(ConfigurationKey, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

DWORD ConfigurationDword(const std::wstring& name) {
    DWORD value = 0;
    Check(ReadTavixRegistryDword(L"Configuration", name, value), Narrow(name) + " is not a stored REG_DWORD");
    return value;
}

void ExpectDword(const std::wstring& name, DWORD expected) {
    const DWORD value = ConfigurationDword(name);
    Check(value == expected, Format("%s is %ld, not %ld", Narrow(name).c_str(), static_cast<long>(value),
                                    static_cast<long>(expected)));
}

// The stored form of the eight default display colours.
const std::vector<BYTE> DefaultColours = {
    0xC0, 0xC0, 0x60, 0, 0xDC, 0x64, 0x64, 0, 0xFF, 0xFF, 0xFF, 0, 0x00, 0x00, 0x00, 0,
    0xFF, 0x80, 0xFF, 0, 0x88, 0xCC, 0xCC, 0, 0xDC, 0xDC, 0xC0, 0, 0x40, 0x40, 0xCC, 0,
};

void ExpectDefaultColoursAndFont() {
    std::vector<BYTE> colours;
    Check(ReadTavixRegistryBinary(L"Configuration", L"DisplayColor", colours), "DisplayColor is not stored as binary");
    Check(colours == DefaultColours,
          Format("DisplayColor holds %d bytes, not the 32 default ones", static_cast<int>(colours.size())));
    std::wstring font;
    Check(ReadTavixRegistryString(L"Configuration", L"FontName", font), "FontName is not stored as text");
    Check(font == L"ＭＳ ゴシック", "FontName is \"" + Narrow(font) + "\"");
}

// The largest layout unit whose main window fits the screen Tavix sees: the
// driver shares its desktop.
int ExpectedLargestDisplaySize() {
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, TRUE, WS_EX_ACCEPTFILES);
    const int largest = LargestDisplaySizeFor(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                              frame.right - frame.left, frame.bottom - frame.top);
    Note(Format("screen %dx%d, largest display size %d", GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), largest));
    return largest;
}

INPUT KeyEvent(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Closes the window with Shift held and answers the deletion question. The
// close comes from the keyboard (Alt+F4) so that it reaches the program
// after the Shift key, as when a person holds Shift and closes the window.
void CloseWithShiftAndAnswer(Program& tavix, int answer) {
    Activate(tavix.window);
    INPUT keys[] = {
        KeyEvent(VK_SHIFT, false), KeyEvent(VK_MENU, false), KeyEvent(VK_F4, false),
        KeyEvent(VK_F4, true),     KeyEvent(VK_MENU, true),  KeyEvent(VK_SHIFT, true),
    };
    SendInput(6, keys, sizeof(INPUT));
    HWND box = WaitForDialog(tavix.process.dwProcessId, 10000);
    Check(box != nullptr, "no question came up when closing with Shift held");
    Check(WindowText(box) == L"終了", "question caption is \"" + Narrow(WindowText(box)) + "\"");
    const std::wstring text = MessageBoxText(box);
    Check(text == L"ﾚｼﾞｽﾄﾘより本ｿﾌﾄｳｪｱの設定情報を削除します。\n\nよろしいですか？",
          "question text is \"" + Narrow(text) + "\"");
    PressButton(box, answer);
    const DWORD code = WaitForExit(tavix);
    Check(code == 0, Format("exit code %lu", code));
}

}  // namespace

// A first start writes all eleven settings with their defaults; the display
// size is the largest that fits the screen.
SCENARIO(settings_first_start) {
    Check(!KeyExists(ProductKey), "the fresh prefix already holds the program's key");
    Program tavix = StartTavix();
    ExpectDword(L"AutoMove", 0);
    ExpectDword(L"ThoughtDisplay", 1);
    ExpectDword(L"ThoughtTime", 0);
    ExpectDword(L"StandardType", 0);
    ExpectDword(L"StandardValue", 0);
    ExpectDword(L"TurnSpeed", 250);
    ExpectDword(L"EffectSound", 1);
    ExpectDefaultColoursAndFont();
    ExpectDword(L"DisplaySize", static_cast<DWORD>(ExpectedLargestDisplaySize()));
    ExpectDword(L"TopMost", 0);
    CloseTavix(tavix);
}

// Stored values out of range, of the wrong size or too long are replaced by
// their defaults at start and written back; StandardValue is never touched,
// and valid values stay.
SCENARIO(settings_corrected_at_start) {
    StoreDword(L"TurnSpeed", 255);
    StoreDword(L"ThoughtTime", 61);
    StoreDword(L"AutoMove", 2);
    StoreDword(L"DisplaySize", 3);
    StoreDword(L"StandardValue", 0x8000FFFF);
    StoreDword(L"EffectSound", 0);
    StoreDword(L"TopMost", 1);
    const std::vector<BYTE> shortColours(28, 0x11);
    StoreValue(ConfigurationKey, L"DisplayColor", REG_BINARY, shortColours.data(), 28);
    StoreText(L"FontName", std::wstring(40, L'A'));

    Program tavix = StartTavix();
    ExpectDword(L"TurnSpeed", 250);
    ExpectDword(L"ThoughtTime", 0);
    ExpectDword(L"AutoMove", 0);
    ExpectDword(L"DisplaySize", static_cast<DWORD>(ExpectedLargestDisplaySize()));
    ExpectDword(L"StandardValue", 0x8000FFFF);
    ExpectDword(L"EffectSound", 0);
    ExpectDword(L"TopMost", 1);
    ExpectDefaultColoursAndFont();
    CloseTavix(tavix);

    // The next start: 90 is below the range, 31 characters still fit, and a
    // DWORD where the colours belong counts as missing.
    StoreDword(L"TurnSpeed", 90);
    StoreDword(L"ThoughtTime", 60);
    StoreDword(L"DisplaySize", 4);
    StoreDword(L"DisplayColor", 7);
    StoreText(L"FontName", std::wstring(31, L'B'));
    tavix = StartTavix();
    ExpectDword(L"TurnSpeed", 250);
    ExpectDword(L"ThoughtTime", 60);
    ExpectDword(L"DisplaySize", 4);
    // The window follows the stored settings read at start.
    SIZE client = {};
    const bool sized = WaitUntil(
        [&] {
            client = ClientSize(tavix.window);
            return client.cx == 268 && client.cy == 188;
        },
        5000);
    Check(sized, Format("client area is %ldx%ld, not 268x188 for display size 4", client.cx, client.cy));
    Check((GetWindowLongPtrW(tavix.window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "TopMost 1 but the window is not topmost");
    std::vector<BYTE> colours;
    Check(ReadTavixRegistryBinary(L"Configuration", L"DisplayColor", colours) && colours == DefaultColours,
          "a DisplayColor stored as REG_DWORD was not replaced by the defaults");
    std::wstring font;
    Check(ReadTavixRegistryString(L"Configuration", L"FontName", font) && font == std::wstring(31, L'B'),
          "a FontName of 31 characters was not kept");
    CloseTavix(tavix);
}

// Closing with Shift held and answering Yes removes the product key with all
// its keys, and the vendor key with it when nothing else lies below it.
SCENARIO(settings_deleted_on_shift_close) {
    Program tavix = StartTavix();
    StoreValue(ProductKey + L"\\Player", L"Black", REG_DWORD, "\0\0\0\0", 4);
    CloseWithShiftAndAnswer(tavix, IDYES);
    Check(!KeyExists(ProductKey), "the product key is still there");
    Check(!KeyExists(L"Software\\Velmarch"), "the empty vendor key is still there");
    Check(KeyExists(L"Software"), "Software went too");

    // Another product's key below the vendor key keeps the vendor key.
    StoreValue(L"Software\\Velmarch\\Other", L"x", REG_DWORD, "\1\0\0\0", 4);
    tavix = StartTavix();
    CloseWithShiftAndAnswer(tavix, IDYES);
    Check(!KeyExists(ProductKey), "the product key is still there");
    Check(KeyExists(L"Software\\Velmarch\\Other"), "another product's key was deleted");
}

// Answering No removes nothing; the program ends all the same.
SCENARIO(settings_kept_on_shift_close_no) {
    Program tavix = StartTavix();
    CloseWithShiftAndAnswer(tavix, IDNO);
    ExpectDword(L"TurnSpeed", 250);
    Check(KeyExists(ConfigurationKey), "the settings went although the answer was No");
}

// The about box shows the version text and closes with its button; the
// program goes on.
SCENARIO(about_box) {
    Program tavix = StartTavix();
    PostCommand(tavix.window, IDM_HELP_ABOUT);
    HWND box = WaitForDialog(tavix.process.dwProcessId, 10000);
    Check(box != nullptr, "the about box did not open");
    Check(WindowText(box) == L"ﾊﾞｰｼﾞｮﾝ情報", "about box title is \"" + Narrow(WindowText(box)) + "\"");
    const std::wstring version = WindowText(GetDlgItem(box, IDC_ABOUT_VERSION));
    Check(version == L"" TAVIX_VERSION_TEXT, "version text is \"" + Narrow(version) + "\"");
    Check(GetDlgItem(box, IDOK) != nullptr, "the about box has no OK button");
    PressButton(box, IDOK);
    WaitFor([&] { return !IsWindow(box); }, 5000, "the about box to close");
    DWORD_PTR answer = 0;
    Check(SendMessageTimeoutW(tavix.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0,
          "the main window does not answer after the about box");
    // Esc closes it as well.
    PostCommand(tavix.window, IDM_HELP_ABOUT);
    box = WaitForDialog(tavix.process.dwProcessId, 10000);
    Check(box != nullptr, "the about box did not open a second time");
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    WaitFor([&] { return !IsWindow(box); }, 5000, "the about box to close on Esc");
    CloseTavix(tavix);
}

// Makes the shell hand every .html page to a command that appends the page's
// path to a file, in place of a browser.
std::wstring RecordOpenedPages() {
    const std::wstring record = DriverFolder() + L"\\opened-pages.txt";
    DeleteFileW(record.c_str());
    const std::wstring command = L"C:\\windows\\system32\\cmd.exe /c echo \"%1\">>\"" + record + L"\"";
    const std::wstring progId = L"TavixTest.Page";
    HKEY key = nullptr;
    Check(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".html", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
              ERROR_SUCCESS,
          "cannot register .html");
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(progId.c_str()),
                   static_cast<DWORD>((progId.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    Check(RegCreateKeyExW(HKEY_CLASSES_ROOT, (progId + L"\\shell\\open\\command").c_str(), 0, nullptr, 0,
                          KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS,
          "cannot register the page command");
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return record;
}

// Waits until the record names the page (and as its last line).
void ExpectOpenedPage(const std::wstring& record, const std::string& page) {
    const std::string wanted = Narrow(DriverFolder()) + "\\Tavix.HLP\\" + page;
    std::string opened;
    const bool found = WaitUntil(
        [&] {
            std::string bytes;
            if (!ReadFileBytes(record, bytes)) return false;
            while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r' || bytes.back() == ' '))
                bytes.pop_back();
            opened = bytes.substr(bytes.rfind('\n') == std::string::npos ? 0 : bytes.rfind('\n') + 1);
            return opened.find(wanted) != std::string::npos;
        },
        10000);
    Check(found, "the shell was not asked for " + wanted + " (last asked: " + opened + ")");
}

namespace {

BOOL CALLBACK NoteShownDialog(HWND w, LPARAM param) {
    if (IsWindowVisible(w) && ClassName(w) == L"#32770") *reinterpret_cast<bool*>(param) = true;
    return TRUE;
}

// Any visible dialog or message box on the desktop, of whatever process.
bool AnyDialogShown() {
    bool shown = false;
    EnumWindows(NoteShownDialog, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

}  // namespace

// The help commands and F1 open the right page of the help folder beside
// the executable (its name with HLP in place of the extension).
SCENARIO(help_opens_pages) {
    Check(GetFileAttributesW((DriverFolder() + L"\\Tavix.HLP\\index.html").c_str()) != INVALID_FILE_ATTRIBUTES,
          "no Tavix.HLP\\index.html beside Tavix.exe");
    const std::wstring record = RecordOpenedPages();
    Program tavix = StartTavix();
    PostCommand(tavix.window, IDM_HELP_SEARCH);
    ExpectOpenedPage(record, "keywords.html");
    PostCommand(tavix.window, IDM_HELP_ON_HELP);
    ExpectOpenedPage(record, "helponhelp.html");
    PostCommand(tavix.window, IDM_HELP_CONTENTS);
    ExpectOpenedPage(record, "index.html");
    PostCommand(tavix.window, IDM_HELP_SEARCH);
    ExpectOpenedPage(record, "keywords.html");
    Activate(tavix.window);
    SendKey(VK_F1);
    ExpectOpenedPage(record, "index.html");
    CloseTavix(tavix);
}

// Without a browser the help commands do nothing visible: no error box, and
// the window keeps answering.
SCENARIO(help_without_browser_is_quiet) {
    Program tavix = StartTavix();
    for (int id : {IDM_HELP_CONTENTS, IDM_HELP_SEARCH, IDM_HELP_ON_HELP}) {
        PostCommand(tavix.window, id);
        DWORD_PTR answer = 0;
        Check(SendMessageTimeoutW(tavix.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0,
              Format("the main window hangs after help command %d", id));
    }
    Pause(3000);
    Check(!AnyDialogShown(), "a box came up after the help commands");
    CloseTavix(tavix);
}
