#include "app/help.h"

#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "app/main_window.h"

void OpenHelp(HWND owner, HelpRequest request, int context) {
    const std::string page = HelpPageName(request, context);
    const wchar_t* folder = ShellFiles().help;
    if (page.empty() || !*folder) return;
    const std::wstring path = HelpPagePath(folder, page);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;

    // Some handlers the shell may pick are COM objects; initialise COM for
    // this call (it counts, so an earlier initialisation stays as it was).
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // No error box from the shell when no browser is there to open the page.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
    if (SUCCEEDED(com)) CoUninitialize();
}

void OpenHelpContents(HWND owner) { OpenHelp(owner, HelpRequest::Contents); }
void OpenHelpSearch(HWND owner) { OpenHelp(owner, HelpRequest::KeywordSearch); }
void OpenHelpOnHelp(HWND owner) { OpenHelp(owner, HelpRequest::HelpOnHelp); }

void OpenHelpForMode(HWND owner, AppMode mode) {
    OpenHelp(owner, HelpRequest::Context, HelpContextForMode(mode));
}

// The pages were handed to the user's browser, which is not the program's to
// close: quitting help leaves nothing to do.
void QuitHelp(HWND) {}
