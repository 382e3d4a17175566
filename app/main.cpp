// Entry point of Tavix.exe: start-up in its fixed order, the message loop and
// shutdown.

#include <windows.h>
#include <commctrl.h>

#include "app/book_loader.h"
#include "app/command_line.h"
#include "app/help_key.h"
#include "app/main_window.h"
#include "app/players_store.h"
#include "app/recent_files_store.h"
#include "app/record_commands.h"
#include "config/settings_store.h"
#include "engine/random.h"
#include "res/resource.h"
#include "research/database_window.h"
#include "research/review_window.h"
#include "session/game_session.h"
#include "view/disc_sound.h"
#include "view/drawing_resources.h"
#include "view/layout_window.h"
#include "view/status_panel.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    ReadPlayers();
    ReadRecentFiles();
    LoadSettings(LargestDisplaySize());

    wchar_t executable[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, executable, MAX_PATH);
    SetShellFilePaths(executable);
    SetDiscSoundFile(ShellFiles().sound);

    LoadOpeningBook(L"" TAVIX_VERSION_TEXT, ShellFiles().book);
    BuildDisplayPalette();

    GameSession& session = Session();
    NewGame(session);
    ReloadSessionLastMoves(session);
    SetStatusMessage(IDS_CHOOSE_COMMAND);

    const wchar_t* argument = CommandLineArgument(GetCommandLineW());
    if (*argument) LoadRecordFromCommandLine(argument);

    SeedRandomFromTimeOfDay();

    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    InstallHelpKeyHook();

    if (!RegisterMainWindowClass(instance)) return 0;
    HWND window = CreateMainWindow(instance, showCommand);
    if (!window) return 0;

    MSG msg = {};
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (HandleReviewWindowKey(msg)) continue;
        // Keys typed into the database window (its filters) are its own.
        HWND database = DatabaseWindow();
        const bool inDatabase = database && (msg.hwnd == database || IsChild(database, msg.hwnd));
        if (!inDatabase && accelerators && TranslateAcceleratorW(window, accelerators, &msg)) continue;
        if (inDatabase && IsDialogMessageW(database, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    RemoveHelpKeyHook();
    ReleaseDrawingResources();
    ReleaseOpeningBook();
    // The quit message carries the exit code; a failed GetMessage ends with 0.
    return got == 0 ? static_cast<int>(msg.wParam) : 0;
}
