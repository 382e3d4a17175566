#include "tests/e2e/driver.h"

#include <commctrl.h>
#include <tlhelp32.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include <cstdarg>
#include <cstdio>

#include "view/layout.h"

// ---------------------------------------------------------------------------
// Scenarios

[[noreturn]] void Fail(const std::string& message) {
    throw ScenarioFailure{message};
}

void Check(bool condition, const std::string& message) {
    if (!condition) Fail(message);
}

void Note(const std::string& message) {
    std::printf("  .. %s\n", message.c_str());
    std::fflush(stdout);
}

// ---------------------------------------------------------------------------
// Text

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// ---------------------------------------------------------------------------
// The program under test

std::wstring DriverFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    const size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : folder.substr(0, slash);
}

std::wstring TavixPath() {
    return DriverFolder() + L"\\Tavix.exe";
}

namespace {

std::wstring tavixDesktop;
std::vector<HANDLE> startedProcesses;

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId) return TRUE;
    if (search->className && ClassName(window) != search->className) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

}  // namespace

Program StartTavix(const std::wstring& arguments, DWORD timeoutMs) {
    Program program = LaunchTavix(arguments);
    WaitForMainWindow(program, timeoutMs);
    return program;
}

Program LaunchTavix(const std::wstring& arguments) {
    Program program;
    const std::wstring exe = TavixPath();
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring desktop = tavixDesktop;
    if (!desktop.empty()) startup.lpDesktop = desktop.data();
    // Wine now and then refuses a start with an internal error (1359) that
    // a second try does not meet: the program is asked again before failing.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0) Sleep(1000);
        started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 DriverFolder().c_str(), &startup, &program.process) != 0;
    }
    if (!started) {
        Fail(Format("cannot start %s (error %lu)", Narrow(exe).c_str(), GetLastError()));
    }
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), program.process.hProcess, GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    if (copy) startedProcesses.push_back(copy);
    return program;
}

void WaitForMainWindow(Program& program, DWORD timeoutMs) {
    const DWORD pid = program.process.dwProcessId;
    const bool appeared = WaitUntil(
        [&] {
            for (HWND w : FindProcessWindows(pid, L"Tavix")) {
                if (IsWindowVisible(w)) {
                    program.window = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    if (!appeared) {
        StopTavix(program);
        Fail("the main window (class Tavix) did not appear");
    }
}

DWORD WaitForExit(Program& program, DWORD timeoutMs) {
    if (WaitForSingleObject(program.process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        Fail(Format("Tavix.exe did not end within %lu ms", timeoutMs));
    }
    DWORD code = 0;
    GetExitCodeProcess(program.process.hProcess, &code);
    return code;
}

void StopTavix(Program& program) {
    if (!program.process.hProcess) return;
    if (WaitForSingleObject(program.process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(program.process.hProcess, 1);
        WaitForSingleObject(program.process.hProcess, 5000);
    }
    CloseHandle(program.process.hThread);
    CloseHandle(program.process.hProcess);
    program.process = {};
    program.window = nullptr;
}

void StopStartedPrograms() {
    for (HANDLE process : startedProcesses) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
    startedProcesses.clear();
}

void SetTavixDesktop(const std::wstring& desktop) {
    tavixDesktop = desktop;
}

int CountTavixProcesses() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"Tavix.exe") == 0) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

// ---------------------------------------------------------------------------
// Waiting

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        Pause(20);
    }
}

void WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, const std::string& what) {
    if (!WaitUntil(condition, timeoutMs)) Fail(Format("timed out after %lu ms waiting for %s", timeoutMs, what.c_str()));
}

void Pause(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

// ---------------------------------------------------------------------------
// Windows and their texts

std::vector<HWND> FindProcessWindows(DWORD processId, const wchar_t* className) {
    WindowSearch search{processId, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT works across processes for every window class, unlike
    // GetWindowText for controls of another process.
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256];
    const int n = GetClassNameW(window, name, 256);
    return std::wstring(name, n > 0 ? n : 0);
}

SIZE ClientSize(HWND window) {
    RECT r = {};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

int DisplayUnit(HWND window) {
    const SIZE size = ClientSize(window);
    return DisplaySizeFromClient(size.cx, size.cy);
}

HWND MainToolbar(HWND mainWindow) {
    return FindWindowExW(mainWindow, nullptr, L"ToolbarWindow32", nullptr);
}

bool IsToolbarCommandEnabled(HWND mainWindow, int command) {
    HWND toolbar = MainToolbar(mainWindow);
    return toolbar && SendMessageW(toolbar, TB_ISBUTTONENABLED, static_cast<WPARAM>(command), 0) != 0;
}

// ---------------------------------------------------------------------------
// Commands, keys, clicks

void PostCommand(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void PostKey(HWND window, UINT virtualKey) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageW(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

namespace {

INPUT KeyInput(UINT virtualKey, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT MouseInput(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

void SendKey(UINT virtualKey, bool control, bool shift, bool alt) {
    std::vector<INPUT> inputs;
    if (alt) inputs.push_back(KeyInput(VK_MENU, false));
    if (control) inputs.push_back(KeyInput(VK_CONTROL, false));
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, true));
    if (control) inputs.push_back(KeyInput(VK_CONTROL, true));
    if (alt) inputs.push_back(KeyInput(VK_MENU, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pause(50);
}

void Activate(HWND window) {
    SetForegroundWindow(window);
    WaitUntil([&] { return GetForegroundWindow() == window; }, 2000);
}

void ClickClient(HWND window, int x, int y, bool right) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    // Absolute coordinates run 0..65535 over the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const LONG ax = static_cast<LONG>((p.x * 65535LL + width / 2) / (width - 1));
    const LONG ay = static_cast<LONG>((p.y * 65535LL + height / 2) / (height - 1));
    // Every event carries the position: under Wine the cursor can be put
    // back where the X pointer is between events, and a button event
    // without a position would then land there.
    const DWORD at = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    INPUT inputs[3] = {
        MouseInput(at, ax, ay),
        MouseInput(at | (right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN), ax, ay),
        MouseInput(at | (right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP), ax, ay),
    };
    SendInput(3, inputs, sizeof(INPUT));
    Pause(50);
}

void PostClickClient(HWND window, int x, int y) {
    const LPARAM where = MAKELPARAM(x, y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
}

POINT SquareCentre(HWND window, int row, int column) {
    const int u = DisplayUnit(window);
    Check(u > 0, "the main window is not at a layout size");
    const LayoutRect r = SquareRect(u, row * 10 + column);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void ClickSquare(HWND window, int row, int column) {
    const POINT p = SquareCentre(window, row, column);
    ClickClient(window, p.x, p.y);
}

// ---------------------------------------------------------------------------
// Dialogs and message boxes

HWND WaitForDialog(DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : FindProcessWindows(processId, L"#32770")) {
                if (IsWindowVisible(w) && IsWindowEnabled(w)) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* controls = reinterpret_cast<std::vector<ControlText>*>(param);
    controls->push_back({GetDlgCtrlID(child), ClassName(child), WindowText(child)});
    return TRUE;
}

std::wstring WithoutAmpersands(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c != L'&') out += c;
    }
    return out;
}

}  // namespace

std::vector<ControlText> DialogControls(HWND dialog) {
    std::vector<ControlText> controls;
    EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

std::wstring MessageBoxText(HWND dialog) {
    // The message is the static control with id 0xFFFF that holds text (the
    // other static holds the icon).
    for (const ControlText& c : DialogControls(dialog)) {
        if (lstrcmpiW(c.className.c_str(), L"Static") == 0 && !c.text.empty()) return c.text;
    }
    return {};
}

namespace {

// The texts of a list's items, through the list's own count, length and
// text messages.
std::vector<std::wstring> ItemTexts(HWND list, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(list, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, lengthMessage, static_cast<WPARAM>(i), 0);
        if (length < 0) break;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT got = SendMessageW(list, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        items.push_back(text);
    }
    return items;
}

}  // namespace

std::vector<std::wstring> ListBoxItems(HWND listBox) {
    return ItemTexts(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::wstring> ComboBoxItems(HWND comboBox) {
    return ItemTexts(comboBox, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

namespace {

struct ItemSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchItem(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ItemSearch*>(param);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

}  // namespace

HWND FindDialogItem(HWND dialog, int id) {
    ItemSearch search = {id, nullptr};
    EnumChildWindows(dialog, MatchItem, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT ControlItemRect(const Program& program, HWND control, UINT message, WPARAM item) {
    HANDLE process = program.process.hProcess;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    Check(remote != nullptr, "cannot allocate memory in the program");
    RECT r = {};
    const bool ok = SendMessageW(control, message, item, reinterpret_cast<LPARAM>(remote)) != 0 &&
                    ReadProcessMemory(process, remote, &r, sizeof r, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    Check(ok, Format("no rectangle for item %d of message 0x%x", static_cast<int>(item), message));
    return r;
}

void PressButton(HWND dialog, int id) {
    HWND button = FindDialogItem(dialog, id);
    Check(button != nullptr, Format("no button %d in the dialog", id));
    PostMessageW(button, BM_CLICK, 0, 0);
}

void PressButtonByText(HWND dialog, const std::wstring& text) {
    for (const ControlText& c : DialogControls(dialog)) {
        if (lstrcmpiW(c.className.c_str(), L"Button") == 0 && WithoutAmpersands(c.text) == text) {
            PressButton(dialog, c.id);
            return;
        }
    }
    Fail("no button \"" + Narrow(text) + "\" in the dialog");
}

// ---------------------------------------------------------------------------
// Registry, files, resources

namespace {

bool ReadTavixRegistryValue(const std::wstring& subKey, const std::wstring& name, DWORD wantedType,
                            std::vector<BYTE>& data) {
    std::wstring path = L"Software\\Velmarch\\Tavix";
    if (!subKey.empty()) path += L"\\" + subKey;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    bool ok = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
              type == wantedType;
    if (ok) {
        data.resize(size);
        ok = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
        data.resize(size);
    }
    RegCloseKey(key);
    return ok;
}

}  // namespace

bool ReadTavixRegistryDword(const std::wstring& subKey, const std::wstring& name, DWORD& value) {
    std::vector<BYTE> data;
    if (!ReadTavixRegistryValue(subKey, name, REG_DWORD, data) || data.size() != sizeof(DWORD)) return false;
    CopyMemory(&value, data.data(), sizeof value);
    return true;
}

bool ReadTavixRegistryString(const std::wstring& subKey, const std::wstring& name, std::wstring& value) {
    std::vector<BYTE> data;
    if (!ReadTavixRegistryValue(subKey, name, REG_SZ, data)) return false;
    value.assign(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    return true;
}

bool ReadTavixRegistryBinary(const std::wstring& subKey, const std::wstring& name, std::vector<BYTE>& value) {
    return ReadTavixRegistryValue(subKey, name, REG_BINARY, value);
}

void StoreRegistryValue(const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    Check(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
              ERROR_SUCCESS,
          "cannot create " + Narrow(path));
    const LONG result = RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    Check(result == ERROR_SUCCESS, "cannot store " + Narrow(name));
}

void StoreTavixRegistryValue(const std::wstring& subKey, const std::wstring& name, DWORD type, const void* data,
                             DWORD size) {
    StoreRegistryValue(L"Software\\Velmarch\\Tavix\\" + subKey, name, type, data, size);
}

void StoreTavixRegistryDword(const std::wstring& subKey, const std::wstring& name, DWORD value) {
    StoreTavixRegistryValue(subKey, name, REG_DWORD, &value, sizeof value);
}

void ClearTavixRegistryValues(const std::wstring& subKey) {
    const std::wstring path = L"Software\\Velmarch\\Tavix\\" + subKey;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    wchar_t name[256];
    DWORD length = 256;
    while (RegEnumValueW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        RegDeleteValueW(key, name);
        length = 256;
    }
    RegCloseKey(key);
}

std::wstring TavixString(int id) {
    HMODULE module = LoadLibraryExW(TavixPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return {};
    const wchar_t* text = nullptr;
    const int n = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    std::wstring out = n > 0 ? std::wstring(text, n) : L"";
    FreeLibrary(module);
    return out;
}

bool ReadFileBytes(const std::wstring& path, std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return true;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

namespace {

void AppendMenuTexts(HMENU menu, const std::wstring& indent, std::vector<std::wstring>& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = 255;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
            out.push_back(indent + L"0\t-");
        } else if (info.hSubMenu) {
            out.push_back(indent + L"-1\t" + text);
            AppendMenuTexts(info.hSubMenu, indent + L"  ", out);
        } else {
            out.push_back(indent + std::to_wstring(info.wID) + L"\t" + text);
        }
    }
}

}  // namespace

std::vector<std::wstring> MenuResourceTexts(int menuId) {
    std::vector<std::wstring> texts;
    HMODULE module = LoadLibraryExW(TavixPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) Fail("cannot open Tavix.exe as a resource file");
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(menuId));
    if (menu) {
        AppendMenuTexts(menu, L"", texts);
        DestroyMenu(menu);
    }
    FreeLibrary(module);
    if (!menu) Fail(Format("Tavix.exe has no menu %d", menuId));
    return texts;
}

// ---------------------------------------------------------------------------
// Board pixels and screenshots

std::string BoardText(const Position& pos) {
    std::string b;
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 8; ++column) {
            const int c = pos.board[row * 10 + column];
            b += c == Black ? 'X' : c == White ? 'O' : '-';
        }
    return b;
}

COLORREF ClientPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

namespace {

// A 32-bit top-down bitmap selected into a memory context of the screen.
struct PixelCanvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;
    PixelCanvas(int width, int height) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        void* p = nullptr;
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        ReleaseDC(nullptr, screen);
        bits = static_cast<DWORD*>(p);
        old = SelectObject(dc, bitmap);
    }
    ~PixelCanvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    std::vector<DWORD> Pixels(int count) {
        GdiFlush();
        std::vector<DWORD> out(bits, bits + count);
        for (DWORD& p : out) p &= 0xFFFFFF;
        return out;
    }
};

}  // namespace

std::vector<DWORD> CaptureClient(HWND window, const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};
    POINT origin = {r.left, r.top};
    ClientToScreen(window, &origin);
    PixelCanvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas.Pixels(width * height);
}

bool ShowsText(HWND window, const RECT& r, const std::wstring& text, const TextLook& look) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    PixelCanvas canvas(width, height);
    HBRUSH brush = CreateSolidBrush(look.background);
    RECT area = {0, 0, width, height};
    FillRect(canvas.dc, &area, brush);
    DeleteObject(brush);
    // Drawn at the client coordinates themselves: centring rounds on the sum
    // of the rectangle's edges, so a text wider than its field lands where
    // the program's does only from the same edges.
    SetWindowOrgEx(canvas.dc, r.left, r.top, nullptr);
    area = r;
    HFONT font = CreateFontW(look.height, look.width, 0, 0, FW_DONTCARE, FALSE, look.underline, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             look.face.c_str());
    HGDIOBJ oldFont = SelectObject(canvas.dc, font);
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, look.ink);
    DrawTextW(canvas.dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | (look.clipped ? 0 : DT_NOCLIP));
    SelectObject(canvas.dc, oldFont);
    DeleteObject(font);
    return canvas.Pixels(width * height) == CaptureClient(window, r);
}

bool ShowsPanelText(HWND window, const RECT& r, const std::wstring& text, COLORREF ink, COLORREF background,
                    const std::wstring& face) {
    const int u = DisplayUnit(window);
    if (u == 0) return false;
    TextLook look;
    look.height = 2 * u - 2;
    look.ink = ink;
    look.background = background;
    look.face = face;
    return ShowsText(window, r, text, look);
}

namespace {

std::wstring WideFromCodePage932(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

}  // namespace

void SetExpectedMessage(ExpectedPanel& panel, int id) {
    const std::wstring text = TavixString(id);
    Check(!text.empty(), Format("no string %d in Tavix.exe", id));
    char bytes[512];
    const int n = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes, sizeof bytes,
                                      nullptr, nullptr);
    LayOutStatusMessage(panel.lines, std::string_view(bytes, n > 0 ? static_cast<size_t>(n) : 0));
}

std::string PanelMismatch(HWND window, unsigned fields, const ExpectedPanel& panel) {
    const int u = DisplayUnit(window);
    if (u == 0) return "the window is not at a layout size";
    for (const PanelText& t : PanelFieldTexts(u, fields, panel.values, panel.lines)) {
        const RECT r = {t.rect.left, t.rect.top, t.rect.right, t.rect.bottom};
        const COLORREF ink = t.ink == PanelInk::White ? RGB(255, 255, 255) : RGB(0, 0, 0);
        const std::wstring text = WideFromCodePage932(t.text);
        if (!ShowsPanelText(window, r, text, ink))
            return Format("the field at (%d,%d) does not show \"%s\"", t.rect.left, t.rect.top, Narrow(text).c_str());
    }
    return {};
}

void WaitForPanel(HWND window, unsigned fields, const ExpectedPanel& panel, const std::string& what, DWORD timeoutMs) {
    std::string mismatch;
    if (!WaitUntil([&] { return (mismatch = PanelMismatch(window, fields, panel)).empty(); }, timeoutMs))
        Fail("the panel after " + what + ": " + mismatch);
}

namespace {

char ClassifyPixel(COLORREF colour) {
    if (colour == CLR_INVALID) return '?';
    const int luminance = (GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114) / 1000;
    if (luminance < 64) return 'X';
    if (luminance > 190) return 'O';
    return '-';
}

}  // namespace

std::string ReadBoard(HWND window) {
    const int u = DisplayUnit(window);
    Check(u > 0, "the main window is not at a layout size");
    std::string board;
    HDC dc = GetDC(window);
    for (int row = 1; row <= 8; ++row) {
        for (int column = 1; column <= 8; ++column) {
            // Five points around the centre, a majority decides: a mark drawn
            // in the middle of a disc does not change what the square holds.
            const LayoutRect r = SquareRect(u, row * 10 + column);
            const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
            const int d = u;
            const POINT points[5] = {{cx, cy}, {cx - d, cy}, {cx + d, cy}, {cx, cy - d}, {cx, cy + d}};
            int votes[3] = {0, 0, 0};
            for (const POINT& p : points) {
                const char c = ClassifyPixel(GetPixel(dc, p.x, p.y));
                votes[c == 'X' ? 0 : c == 'O' ? 1 : 2] += c == '?' ? 0 : 1;
            }
            char square = '?';
            if (votes[0] >= 3) square = 'X';
            else if (votes[1] >= 3) square = 'O';
            else if (votes[2] >= 3) square = '-';
            board += square;
        }
    }
    ReleaseDC(window, dc);
    return board;
}

namespace {

std::wstring screenshotFolder;

}  // namespace

std::wstring ScreenshotFolder() {
    return screenshotFolder;
}

void SetScreenshotFolder(const std::wstring& folder) {
    screenshotFolder = folder;
}

bool SaveScreenshot(const std::wstring& path, HWND window) {
    const RECT screenArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT area = screenArea;
    // Only what is on the screen: a copy reaching past it comes out black.
    if (window) {
        RECT shown;
        GetWindowRect(window, &shown);
        IntersectRect(&area, &shown, &screenArea);
    }
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        SelectObject(memory, old);
        GdiFlush();
        const DWORD stride = ((width * 3 + 3) / 4) * 4;
        const DWORD imageSize = stride * height;
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4D42;  // "BM"
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ok = WriteFile(file, &header, sizeof header, &written, nullptr) &&
                 WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
                 WriteFile(file, bits, imageSize, &written, nullptr);
            CloseHandle(file);
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

// ---------------------------------------------------------------------------
// Files dropped, the clipboard, record files

void DropFiles(const Program& program, const std::vector<std::wstring>& paths) {
    std::vector<BYTE> drop(sizeof(DROPFILES));
    auto* header = reinterpret_cast<DROPFILES*>(drop.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    for (const std::wstring& p : paths) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(p.c_str());
        drop.insert(drop.end(), bytes, bytes + (p.size() + 1) * sizeof(wchar_t));
    }
    drop.insert(drop.end(), sizeof(wchar_t), 0);
    // The drop data must be memory of the receiving process, as the shell's
    // is: a fixed block there, whose address is its handle.
    void* remote = VirtualAllocEx(program.process.hProcess, nullptr, drop.size(), MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    Check(remote != nullptr, Format("cannot allocate the drop in the program (error %lu)", GetLastError()));
    SIZE_T written = 0;
    Check(WriteProcessMemory(program.process.hProcess, remote, drop.data(), drop.size(), &written) &&
              written == drop.size(),
          "cannot write the drop into the program");
    Check(PostMessageW(program.window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != 0, "cannot post the drop");
}

std::wstring ReadClipboardText() {
    std::wstring text;
    if (!WaitUntil([] { return OpenClipboard(nullptr) != 0; }, 3000)) Fail("cannot open the clipboard");
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* at = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = at;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void WriteClipboardText(const std::wstring& text) {
    if (!WaitUntil([] { return OpenClipboard(nullptr) != 0; }, 3000)) Fail("cannot open the clipboard");
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

namespace {

// The newest visible, enabled dialog of the process that passes the test.
HWND WaitForDialogWhere(const Program& program, const std::function<bool(HWND)>& wanted, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : FindProcessWindows(program.process.dwProcessId, L"#32770"))
                if (IsWindowVisible(w) && IsWindowEnabled(w) && wanted(w)) found = w;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

std::string VisibleDialogs(const Program& program) {
    std::string list;
    for (HWND w : FindProcessWindows(program.process.dwProcessId, L"#32770"))
        if (IsWindowVisible(w)) list += " [" + Narrow(WindowText(w)) + ": " + Narrow(MessageBoxText(w)) + "]";
    return list.empty() ? " none" : list;
}

}  // namespace

std::wstring TakeMessageBox(const Program& program, const std::wstring& caption, DWORD timeoutMs) {
    HWND box = WaitForDialogWhere(
        program, [](HWND w) { return GetDlgItem(w, IDOK) != nullptr && !MessageBoxText(w).empty(); }, timeoutMs);
    if (!box) Fail("no message box \"" + Narrow(caption) + "\" appeared; dialogs:" + VisibleDialogs(program));
    const std::wstring text = MessageBoxText(box);
    Check(WindowText(box) == caption, "the box's caption is \"" + Narrow(WindowText(box)) + "\", not \"" +
                                          Narrow(caption) + "\" (its text: " + Narrow(text) + ")");
    PressButton(box, IDOK);
    WaitFor([&] { return !IsWindow(box); }, 5000, "the box \"" + Narrow(caption) + "\" to close");
    return text;
}

namespace {

HKEY CreateTavixKey(const std::wstring& subKey) {
    const std::wstring path = L"Software\\Velmarch\\Tavix\\" + subKey;
    HKEY key = nullptr;
    Check(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
              ERROR_SUCCESS,
          "cannot create " + Narrow(path));
    return key;
}

}  // namespace

void StoreTavixDword(const std::wstring& subKey, const std::wstring& name, DWORD value) {
    HKEY key = CreateTavixKey(subKey);
    const LONG result = RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                       sizeof value);
    RegCloseKey(key);
    Check(result == ERROR_SUCCESS, "cannot store " + Narrow(name));
}

void StoreTavixString(const std::wstring& subKey, const std::wstring& name, const std::wstring& value) {
    HKEY key = CreateTavixKey(subKey);
    const LONG result = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    Check(result == ERROR_SUCCESS, "cannot store " + Narrow(name));
}

void ChooseFileInDialog(const Program& program, const std::wstring& title, const std::wstring& path) {
    HWND dialog = WaitForDialogWhere(
        program, [](HWND w) { return GetDlgItem(w, 0x47C) != nullptr || GetDlgItem(w, 0x480) != nullptr; }, 10000);
    if (!dialog) Fail("no file dialog \"" + Narrow(title) + "\" appeared; dialogs:" + VisibleDialogs(program));
    Check(WindowText(dialog) == title, "the file dialog's title is \"" + Narrow(WindowText(dialog)) + "\"");
    // The file-name box: a combo box (cmb13) in the Explorer style, an edit
    // (edt1) in the older one.
    HWND name = GetDlgItem(dialog, 0x47C);
    if (!name) name = GetDlgItem(dialog, 0x480);
    Check(name != nullptr, "the file dialog has no file-name box");
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    // The dialog's own button: its folder view holds other controls with the
    // same id, which a search through every child can find first.
    HWND ok = GetDlgItem(dialog, IDOK);
    Check(ok != nullptr, "the file dialog has no OK button");
    PostMessageW(ok, BM_CLICK, 0, 0);
}

std::vector<DWORD> CaptureClientPixels(HWND window, int left, int top, int right, int bottom) {
    POINT origin = {left, top};
    ClientToScreen(window, &origin);
    const int width = right - left, height = bottom - top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::string RunBesideDriver(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs) {
    const std::wstring commandLine = program + L" " + arguments;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    Check(CreatePipe(&readEnd, &writeEnd, &inherit, 0) != 0, "cannot make a pipe");
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::wstring line = L"\"" + DriverFolder() + L"\\" + program + L"\" " + arguments;
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        DriverFolder().c_str(), &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        Fail("cannot run " + Narrow(commandLine));
    }
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
    CloseHandle(readEnd);
    const bool ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Check(ended, Narrow(commandLine) + " did not end");
    return output;
}

int LargestDisplaySizeHere() {
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, TRUE, WS_EX_ACCEPTFILES);
    return LargestDisplaySizeFor(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                 frame.right - frame.left, frame.bottom - frame.top);
}
