#pragma once

// End-to-end driver: helpers that start Tavix.exe, give it commands, keys and
// clicks, wait for states, read its windows, dialogs, registry values, files
// and board pixels; and the registry of scenarios. Runs under Wine (or
// Windows) beside Tavix.exe.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/board.h"
#include "view/layout.h"
#include "view/message_lines.h"
#include "view/panel_fields.h"

// ---------------------------------------------------------------------------
// Scenarios

// A scenario returns normally when it passes and reports a failure through
// Fail (or a failed Check), which ends it.
using ScenarioFunction = void (*)();

struct ScenarioRegistration {
    ScenarioRegistration(const char* name, ScenarioFunction function);
};

// Defines and registers a scenario:  SCENARIO(starts_and_closes) { ... }
#define SCENARIO(name)                                                   \
    static void Scenario_##name();                                       \
    static const ScenarioRegistration registration_##name(#name, Scenario_##name); \
    static void Scenario_##name()

struct ScenarioFailure {
    std::string message;
};

[[noreturn]] void Fail(const std::string& message);
void Check(bool condition, const std::string& message);

// Progress line on stdout, prefixed so that the test script can tell it from
// the PASS / FAIL lines.
void Note(const std::string& message);

// ---------------------------------------------------------------------------
// Text

std::string Narrow(const std::wstring& text);  // UTF-16 -> UTF-8
std::wstring Widen(const std::string& text);   // UTF-8 -> UTF-16
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ---------------------------------------------------------------------------
// The program under test

struct Program {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;  // the main window, once found
};

// Folder of the driver, where Tavix.exe and its data files stand.
std::wstring DriverFolder();
std::wstring TavixPath();

// Starts Tavix.exe (with the given command-line arguments after the program
// name) and waits until its main window exists. Fails the scenario if it
// does not appear in time.
Program StartTavix(const std::wstring& arguments = L"", DWORD timeoutMs = 20000);

// Waits for the process to end; returns its exit code, or fails.
DWORD WaitForExit(Program& program, DWORD timeoutMs = 10000);

// Ends the process if it is still running (used after a failure) and closes
// the handles.
void StopTavix(Program& program);
// Ends every Tavix.exe this driver started that still runs (after each
// scenario, so that a failure leaves nothing behind).
void StopStartedPrograms();

// Desktop that StartTavix puts the program on (empty: the driver's own).
void SetTavixDesktop(const std::wstring& desktop);

// Number of running processes whose executable file is Tavix.exe.
int CountTavixProcesses();

// ---------------------------------------------------------------------------
// Waiting

// Polls the condition every 20 ms, pumping this thread's messages, until it
// holds (true) or the time is up (false).
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// As WaitUntil, but fails the scenario naming what was awaited.
void WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, const std::string& what);
void Pause(DWORD ms);

// ---------------------------------------------------------------------------
// Windows and their texts

// Top-level windows of the process with the given class (nullptr: any).
std::vector<HWND> FindProcessWindows(DWORD processId, const wchar_t* className);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
SIZE ClientSize(HWND window);
// Layout unit of the main window from its client size; 0 if not a layout size.
int DisplayUnit(HWND window);
// The largest layout unit whose main window fits the screen, as the program
// works it out (the driver sees the screen as the program does: both are
// DPI-aware).
int LargestDisplaySizeHere();
// The main window's toolbar (child of class ToolbarWindow32), or nullptr.
HWND MainToolbar(HWND mainWindow);
// Whether the toolbar button of a command is enabled (false: grey or absent).
bool IsToolbarCommandEnabled(HWND mainWindow, int command);

// ---------------------------------------------------------------------------
// Commands, keys, clicks

// Posts WM_COMMAND with the id, as a menu item or accelerator would.
void PostCommand(HWND window, int id);
// Posts WM_KEYDOWN / WM_KEYUP for a virtual key to the window.
void PostKey(HWND window, UINT virtualKey);
// Types a key through the input queue (SendInput) into the foreground window,
// optionally with Ctrl, Shift and/or Alt held.
void SendKey(UINT virtualKey, bool control = false, bool shift = false, bool alt = false);
// Brings the window to the front so that SendInput reaches it.
void Activate(HWND window);
// Left click at client coordinates through the input queue: moves the cursor
// there (absolute coordinates), so the program sees where it was.
void ClickClient(HWND window, int x, int y, bool right = false);
// Left click posted as WM_LBUTTONDOWN / WM_LBUTTONUP (cursor not moved).
void PostClickClient(HWND window, int x, int y);
// Centre of a board square (row, column 1..8) in client coordinates.
POINT SquareCentre(HWND window, int row, int column);
void ClickSquare(HWND window, int row, int column);

// ---------------------------------------------------------------------------
// Dialogs and message boxes

// A dialog (class #32770) of the process that is enabled and visible; the
// newest when several. nullptr when none appears in time.
HWND WaitForDialog(DWORD processId, DWORD timeoutMs = 10000);
struct ControlText {
    int id;
    std::wstring className;
    std::wstring text;
};
std::vector<ControlText> DialogControls(HWND dialog);
// The message text of a message box (its static control with the text).
std::wstring MessageBoxText(HWND dialog);
std::vector<std::wstring> ListBoxItems(HWND listBox);
std::vector<std::wstring> ComboBoxItems(HWND comboBox);
// A control of a dialog by id, also inside the dialog's child dialogs (the
// pages of a tabbed dialog); nullptr when there is none.
HWND FindDialogItem(HWND dialog, int id);
// A rectangle a common control gives for an item through a message that
// fills a RECT (TCM_GETITEMRECT, TB_GETITEMRECT): the RECT lies in the
// program's own memory for the call. Not for the messages of the system's own
// controls (LB_GETITEMRECT ...), which Wine carries across processes itself.
// Fails when there is none.
RECT ControlItemRect(const Program& program, HWND control, UINT message, WPARAM item);
// Presses a button by id (BM_CLICK through the dialog).
void PressButton(HWND dialog, int id);
// Presses the button whose text (without '&') equals the given text.
void PressButtonByText(HWND dialog, const std::wstring& text);

// ---------------------------------------------------------------------------
// Registry, files, resources

// HKCU\Software\Velmarch\Tavix\<subKey>; false when missing.
bool ReadTavixRegistryDword(const std::wstring& subKey, const std::wstring& name, DWORD& value);
bool ReadTavixRegistryString(const std::wstring& subKey, const std::wstring& name, std::wstring& value);
bool ReadTavixRegistryBinary(const std::wstring& subKey, const std::wstring& name, std::vector<BYTE>& value);
bool ReadFileBytes(const std::wstring& path, std::string& bytes);
// Stores a value under HKCU\<path> (created when missing); fails the
// scenario when the registry refuses.
void StoreRegistryValue(const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size);
// Stores a value under HKCU\Software\Velmarch\Tavix\<subKey> (created when
// missing), as a user or an earlier run would have left it; fails the
// scenario when the registry refuses.
void StoreTavixRegistryValue(const std::wstring& subKey, const std::wstring& name, DWORD type, const void* data,
                             DWORD size);
void StoreTavixRegistryDword(const std::wstring& subKey, const std::wstring& name, DWORD value);
// Removes every value of the subkey (the key itself stays).
void ClearTavixRegistryValues(const std::wstring& subKey);

// A string-table text of Tavix.exe (read from the file); empty when missing.
std::wstring TavixString(int id);

// Texts of a menu resource of Tavix.exe (menus are per process under Wine,
// so they are read from the file): one entry per item, "id<TAB>text", pop-ups
// as "-1<TAB>text" followed by their items indented by two spaces.
std::vector<std::wstring> MenuResourceTexts(int menuId);

// ---------------------------------------------------------------------------
// Board pixels and screenshots

// A position's board in the form ReadBoard gives.
std::string BoardText(const Position& pos);

// The board as 64 characters a1..h8: 'X' a dark disc, 'O' a light disc, '-'
// the surface, '?' anything else; read from the window on screen.
std::string ReadBoard(HWND window);
COLORREF ClientPixel(HWND window, int x, int y);

// The pixels of a client rectangle as on screen, row by row, each 0x00RRGGBB.
std::vector<DWORD> CaptureClient(HWND window, const RECT& r);

// Whether a client rectangle of the main window shows exactly the text drawn
// on one line, centred, in the given font and ink on the background colour:
// the driver draws it the same way and compares the pixels.
struct TextLook {
    int height = 0;  // the font's cell height
    int width = 0;   // its average character width, 0 the font's own
    bool underline = false;
    COLORREF ink = RGB(0, 0, 0);
    COLORREF background = RGB(136, 204, 204);
    std::wstring face = L"ＭＳ ゴシック";
    bool clipped = false;  // clipped to the rectangle
};
bool ShowsText(HWND window, const RECT& r, const std::wstring& text, const TextLook& look);

// Whether a client rectangle of the main window shows exactly the text as the
// program draws its panel and label texts: on one line, centred, in the
// display font (the face, 2u - 2 pixels high, Shift-JIS character set) in the
// ink colour on the background colour. The driver draws the text the same
// way and compares the pixels. Empty text: the background alone.
bool ShowsPanelText(HWND window, const RECT& r, const std::wstring& text, COLORREF ink,
                    COLORREF background = RGB(136, 204, 204), const std::wstring& face = L"ＭＳ ゴシック");

// The status panel as it ought to stand: the values it shows and the six
// message lines (laid out by the program's own rules from its string table).
struct ExpectedPanel {
    PanelValues values;
    MessageLines lines;
};
// An expected panel whose message lines hold StatusMessage id laid over the
// lines before (lines 3 to 5 stay unless the message has six segments).
void SetExpectedMessage(ExpectedPanel& panel, int id);
// The first of the selected PanelFields groups (as RedrawPanelFields takes
// them) that the window does not show as expected, described; empty when
// all are shown so. Default colours and font.
std::string PanelMismatch(HWND window, unsigned fields, const ExpectedPanel& panel);
// Waits until the panel shows the selected fields as expected, or fails.
void WaitForPanel(HWND window, unsigned fields, const ExpectedPanel& panel, const std::string& what,
                  DWORD timeoutMs = 5000);

// Folder given with --shots (empty when none): failure screenshots and any
// pictures a scenario takes go there.
std::wstring ScreenshotFolder();
void SetScreenshotFolder(const std::wstring& folder);

// Writes the screen (or a window's area of it) as a BMP file.
bool SaveScreenshot(const std::wstring& path, HWND window = nullptr);

// ---------------------------------------------------------------------------
// Start-up before the main window; files beside the program

// Starts Tavix.exe without waiting for its window, for what start-up shows
// before it (the report on a bad book file). StartTavix is LaunchTavix and
// WaitForMainWindow.
Program LaunchTavix(const std::wstring& arguments = L"");
// Waits until the program's main window is visible; fails the scenario if
// it does not appear in time.
void WaitForMainWindow(Program& program, DWORD timeoutMs = 20000);
// Writes the bytes as the whole file; false when it cannot be written.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

// ---------------------------------------------------------------------------
// Games, the panel and the result box (tests/e2e/driver_games.cpp)

// Players (a level 0..9 or Person) and quick play: the given minimum thinking
// time, the fastest animation, no sound, no automatic move, the thinking
// display on.
constexpr int Person = -1;
void StoreGameSettings(int black, int white, DWORD thoughtTime = 0);

// Takes the shipped opening book away from beside Tavix.exe, for scenarios
// about the computer's thinking: without a book it searches every move.
void RemoveShippedBook();

// The driver's own copy of a game, to know the board each ply must show.
struct ScriptedGame {
    Position pos;
    ScriptedGame();
    // A square, or 0 for a pass (which must be forced).
    void Play(Square sq);
    // The board as ReadBoard gives it.
    std::string Board() const;
};

// Two people at the board: StoreGameSettings(Person, Person), Tavix started
// and brought to the front, the initial board shown.
Program StartForTwoPeople();

// "e6" as a square; "pass" as 0.
Square ParseSquare(const char* text);

// A legal game with a pass that ends early: Black passes at ply 13 and White
// takes the last black disc with h2, winning by 17.
constexpr int PassGamePlies = 14;
extern const char* const PassGame[PassGamePlies];

// Waits until the window shows the board; fails naming what was expected.
void WaitForBoard(HWND window, const std::string& board, DWORD timeoutMs, const std::string& what);

// A client rectangle as pixels, from the screen.
std::vector<DWORD> CaptureClient(HWND window, const LayoutRect& r);
// The inside of the panel's message box (the six message lines).
LayoutRect MessageBoxArea(HWND window);

// The "終局" box: its text, after checking the caption and the OK button;
// then closed.
std::wstring TakeResultBox(const Program& tavix, DWORD timeoutMs);
// What the result box says for a final disc difference (black minus white).
std::wstring ExpectedResultText(int difference);

// Closes the main window as its frame does and expects exit code 0.
void CloseTavix(Program& tavix);

// The question whether to end board set-up, asked with the caption of the
// command that ends it: its text, Yes and No with No the default.
HWND WaitForSetupQuestion(const Program& tavix, const std::wstring& caption);
// Presses the box's button and waits until it has closed.
void Answer(HWND box, int button);

// The window answers a message within 100 ms (or the scenario fails);
// returns the time it took.
DWORD ProbeAnswer(HWND window);

int CountDiscs(const std::string& board, char c);
// The discs of expected, read while a search runs: its search mark may stand
// on one empty square and read as anything.
bool SameDiscsBesideMark(const std::string& seen, const std::string& expected);

// ---------------------------------------------------------------------------
// Files dropped, the clipboard, record files

// Drops files on the program's window as the shell does: WM_DROPFILES
// posted with an HDROP (DROPFILES and the UTF-16 paths) in the program's
// own memory.
void DropFiles(const Program& program, const std::vector<std::wstring>& paths);
// The clipboard's CF_UNICODETEXT (empty when none), and text put on it as
// CF_UNICODETEXT.
std::wstring ReadClipboardText();
void WriteClipboardText(const std::wstring& text);
// Waits for a message box, checks its caption, presses its OK button and
// returns its text.
std::wstring TakeMessageBox(const Program& program, const std::wstring& caption, DWORD timeoutMs = 10000);
// HKCU\Software\Velmarch\Tavix\<subKey>: a value written (the key made
// when missing), or removed.
void StoreTavixDword(const std::wstring& subKey, const std::wstring& name, DWORD value);
void StoreTavixString(const std::wstring& subKey, const std::wstring& name, const std::wstring& value);
// The common open or save dialog of the program: waits for it, checks its
// title, types the name into its file-name box and presses OK.
void ChooseFileInDialog(const Program& program, const std::wstring& title, const std::wstring& path);
// A client rectangle's pixels as on screen, row by row.
std::vector<DWORD> CaptureClientPixels(HWND window, int left, int top, int right, int bottom);
// Runs a console program of the driver's folder with the given arguments
// and returns what it printed (failing the scenario when it cannot be run
// or does not end in time).
std::string RunBesideDriver(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs = 20000);
