#include "app/main_window.h"

#include <windowsx.h>
#include <shellapi.h>

#include "app/activity_pause.h"
#include "app/board_setup.h"
#include "app/commands.h"
#include "app/help.h"
#include "app/hints.h"
#include "app/record_commands.h"
#include "app/toolbar.h"
#include "app/turn_loop.h"
#include "config/settings.h"
#include "config/settings_store.h"
#include "core/wide_text.h"
#include "res/resource.h"
#include "research/research_messages.h"
#include "research/review_command.h"
#include "session/game_session.h"
#include "view/board_painting.h"
#include "view/drawing_resources.h"
#include "view/flip_animation.h"
#include "view/layout_window.h"
#include "view/status_panel.h"

namespace {

ShellFilePaths shellFiles = {};

void SetPathWithExtension(wchar_t (&out)[MAX_PATH], const wchar_t* executable, const wchar_t* extension) {
    lstrcpynW(out, executable, MAX_PATH);
    const int length = lstrlenW(out);
    if (length >= 3) lstrcpynW(out + length - 3, extension, 4);
}

// Size notifications: at the layout size the toolbar, font and disc strip
// follow the unit; at any other size the window is corrected by the
// difference (a wrapped menu bar included) and the next notification checks.
void HandleMainWindowSize(HWND window) {
    if (!FitClientToDisplaySize(window, DisplayUnit())) return;
    SizeMainToolbar();
    CreateDisplayFont();
    BuildDiscSprites(window);
}

bool OnCreate(HWND window) {
    if (!CreateMainToolbar(window)) return false;
    UpdateToolbar();
    // The board waits from the start: hints, when on, begin once it is shown.
    PostMessageW(window, MsgHintReady, 0, 0);
    return true;
}

void OnPaint(HWND window) {
    PauseActivity(window, true);
    PaintMainWindow(window);
    PauseActivity(window, false);
}

// Closing with Shift held: asks whether to delete everything the program
// keeps in the registry.
bool ConfirmDeleteSettings(HWND window) {
    const std::wstring question = WideFromShiftJis(DeleteSettingsQuestion);
    const std::wstring caption = CommandCaption(window, IDM_GAME_EXIT);
    return MessageBoxW(window, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON1) ==
           IDYES;
}

void OnClose(HWND window) {
    if (!CommandGate(window, IDM_GAME_EXIT)) return;
    if (GetKeyState(VK_SHIFT) < 0 && ConfirmDeleteSettings(window)) DeleteStoredSettings();
    QuitHelp(window);
    DestroyMainToolbar();
    DestroyWindow(window);
}

void OnLeftButtonDown(HWND window, LPARAM lParam) {
    const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (Session().mode) {
    case AppMode::HumanTurn: HumanClick(window, at); break;
    case AppMode::BoardSetup: BoardSetupClick(window, at); break;
    default: break;
    }
}

void OnRightButtonDown(HWND window, LPARAM lParam) {
    ShowLegalMoves(window, false);
    ShowContextMenu(window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void OnDropFiles(HWND window, HDROP drop) {
    if (CommandGate(window, IDM_RECORD_LOAD)) {
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            wchar_t name[MAX_PATH];
            if (DragQueryFileW(drop, i, name, MAX_PATH)) LoadDroppedFile(window, name);
        }
    }
    DragFinish(drop);
}

// What the user does and the turn loop's steps: hints stop silently before
// them and may go on after them.
bool InterruptsHints(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // A modifier alone changes nothing; the command it leads to does.
        return wParam != VK_SHIFT && wParam != VK_CONTROL && wParam != VK_MENU;
    case WM_COMMAND:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_DROPFILES:
    case WM_CLOSE:
    case MsgNextTurn:
    case MsgMoveReady:
    case MsgResearchReady: return true;
    default: return false;
    }
}

LRESULT HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate(window) ? 0 : -1;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) HandleMainWindowSize(window);
        return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_CLOSE: OnClose(window); return 0;
    case WM_CANCELMODE: ShowLegalMoves(window, false); break;
    case WM_NOTIFY:
        if (HandleToolbarNotify(window, reinterpret_cast<NMHDR*>(lParam))) return 0;
        break;
    case WM_COMMAND: RunCommand(window, LOWORD(wParam)); return 0;
    case WM_TIMER: TickClock(window); return 0;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) EnableMenuItems(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_LBUTTONDOWN: OnLeftButtonDown(window, lParam); return 0;
    case WM_LBUTTONUP: ShowLegalMoves(window, false); return 0;
    case WM_RBUTTONDOWN: OnRightButtonDown(window, lParam); return 0;
    case WM_ENTERMENULOOP: PauseActivity(window, true); return 0;
    case WM_EXITMENULOOP:
        PauseActivity(window, false);
        // A menu closed without a command: hints go on where they were.
        PostMessageW(window, MsgHintReady, 0, 0);
        return 0;
    case WM_DROPFILES: OnDropFiles(window, reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_QUERYNEWPALETTE: return HandleQueryNewPalette(window);
    case WM_PALETTECHANGED: return HandlePaletteChanged(window, reinterpret_cast<HWND>(wParam));
    case MsgNextTurn:
        if (NextTurn(window)) PostMessageW(window, MsgMoveReady, 0, 0);
        return 0;
    case MsgMoveReady: HandleMoveReady(window, wParam); return 0;
    case MsgThinkingUpdate: HandleThinkingUpdates(window); return 0;
    case MsgResearchReady: HandleResearchReady(window, wParam, lParam); return 0;
    case MsgHintReady: HandleHintReady(window, wParam); return 0;
    case MsgReviewProgress: ShowReviewProgress(window, static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!InterruptsHints(message, wParam)) return HandleMainWindowMessage(window, message, wParam, lParam);
    HintInterruption interruption(window);
    return HandleMainWindowMessage(window, message, wParam, lParam);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVIX));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TAVIX), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = CreateSolidBrush(RGB(192, 192, 192));
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    wc.lpszClassName = MainWindowClassName;
    return RegisterClassExW(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
    const SIZE size = LayoutWindowSize(DisplayUnit());
    const DWORD exStyle = MainWindowExStyle | (currentSettings.TopMost ? WS_EX_TOPMOST : 0);
    HWND window = CreateWindowExW(exStyle, MainWindowClassName, L"" TAVIX_VERSION_TEXT, MainWindowStyle,
                                  CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance,
                                  nullptr);
    if (!window) return nullptr;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}

void SetShellFilePaths(const wchar_t* executablePath) {
    SetPathWithExtension(shellFiles.help, executablePath, L"HLP");
    SetPathWithExtension(shellFiles.sound, executablePath, L"WAV");
    SetPathWithExtension(shellFiles.book, executablePath, L"STD");
}

const ShellFilePaths& ShellFiles() { return shellFiles; }
