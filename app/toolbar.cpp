#include "app/toolbar.h"

#include <commctrl.h>

#include <string>

#include "app/command_states.h"
#include "app/commands.h"
#include "res/resource.h"
#include "session/game_session.h"
#include "view/layout.h"

namespace {

constexpr int ToolbarChildId = 1;
constexpr int ToolbarImageCount = 8;
constexpr int ToolbarImageSize = 16;

HWND toolbar = nullptr;

TBBUTTON Button(int image, int command) {
    TBBUTTON b = {};
    b.iBitmap = image;
    b.idCommand = command;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON;
    return b;
}

TBBUTTON Separator() {
    TBBUTTON b = {};
    b.fsStyle = BTNS_SEP;
    return b;
}

// The buttons whose enabling depends on the mode or the history.
constexpr int GatedButtons[] = {IDM_GAME_START,     IDM_GAME_INTERRUPT, IDM_RECORD_TO_START,
                                IDM_RECORD_BACK,    IDM_RECORD_FORWARD, IDM_RECORD_TO_END};

}  // namespace

HWND CreateMainToolbar(HWND parent) {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    // CCS_NORESIZE: the toolbar keeps the band's height instead of its own.
    toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_TOP,
                              0, 0, 0, ToolbarBand, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ToolbarChildId)),
                              instance, nullptr);
    if (!toolbar) return nullptr;
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(ToolbarImageSize, ToolbarImageSize));
    TBADDBITMAP bitmap = {instance, IDB_TOOLBAR};
    SendMessageW(toolbar, TB_ADDBITMAP, ToolbarImageCount, reinterpret_cast<LPARAM>(&bitmap));
    const TBBUTTON buttons[] = {
        Separator(),   Button(0, IDM_GAME_START),     Button(1, IDM_GAME_INTERRUPT),
        Separator(),   Button(2, IDM_GAME_PLAYERS),   Button(3, IDM_GAME_NEW_BOARD),
        Separator(),   Button(4, IDM_RECORD_TO_START), Button(5, IDM_RECORD_BACK),
        Button(6, IDM_RECORD_FORWARD), Button(7, IDM_RECORD_TO_END),
    };
    SendMessageW(toolbar, TB_ADDBUTTONSW, sizeof buttons / sizeof buttons[0], reinterpret_cast<LPARAM>(buttons));
    SizeMainToolbar();
    return toolbar;
}

void DestroyMainToolbar() {
    if (toolbar) DestroyWindow(toolbar);
    toolbar = nullptr;
}

void SizeMainToolbar() {
    if (!toolbar) return;
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    RECT client;
    GetClientRect(GetParent(toolbar), &client);
    SetWindowPos(toolbar, nullptr, 0, 0, client.right, ToolbarBand, SWP_NOZORDER | SWP_NOACTIVATE);
}

void UpdateToolbar() {
    if (!toolbar) return;
    const CommandContext context = SessionCommandContext(Session());
    for (int id : GatedButtons)
        SendMessageW(toolbar, TB_ENABLEBUTTON, id, MAKELPARAM(IsCommandEnabled(id, context) ? TRUE : FALSE, 0));
}

bool HandleToolbarNotify(HWND window, NMHDR* header) {
    if (header->code != TTN_GETDISPINFOW) return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    const std::wstring caption = CommandCaption(window, static_cast<int>(header->idFrom));
    lstrcpynW(info->szText, caption.c_str(), sizeof info->szText / sizeof info->szText[0]);
    info->lpszText = info->szText;
    info->hinst = nullptr;
    return true;
}
