#include "app/help_key.h"

#include <windows.h>

#include "app/help.h"
#include "session/game_session.h"

namespace {

HHOOK helpKeyHook = nullptr;
int dialogContext = 0;

void OpenHelpForKey(HWND owner) {
    if (dialogContext != 0) OpenHelp(owner, HelpRequest::Context, dialogContext);
    else OpenHelpForMode(owner, Session().mode);
}

LRESULT CALLBACK HelpKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && msg->message == WM_KEYDOWN && msg->wParam == VK_F1 && GetKeyState(VK_SHIFT) >= 0 &&
        GetKeyState(VK_CONTROL) >= 0) {
        HWND foreground = GetForegroundWindow();
        if (code == MSGF_DIALOGBOX) {
            // A dialog with its own context help answers F1 itself.
            if (!(GetWindowLongPtrW(foreground, GWL_EXSTYLE) & WS_EX_CONTEXTHELP))
                OpenHelpForKey(foreground);
        } else if (code == MSGF_MENU) {
            SendMessageW(foreground, WM_CANCELMODE, 0, 0);
            OpenHelpForMode(foreground, Session().mode);
        }
    }
    return CallNextHookEx(helpKeyHook, code, wParam, lParam);
}

}  // namespace

void InstallHelpKeyHook() { helpKeyHook = SetWindowsHookExW(WH_MSGFILTER, HelpKeyFilter, nullptr, GetCurrentThreadId()); }

void RemoveHelpKeyHook() {
    if (helpKeyHook) UnhookWindowsHookEx(helpKeyHook);
    helpKeyHook = nullptr;
}

void SetHelpKeyContext(int context) { dialogContext = context; }
