// Help: opens the page that answers a help request in the user's browser
// through the shell. Windows code; which page answers what is app/help_pages.
#pragma once

#include <windows.h>

#include "app/help_pages.h"
#include "session/game_session.h"

// Shows the page for the request (for HelpRequest::Context, the topic of the
// context number) from the help folder beside the executable. Where no page
// or no browser can be opened nothing is shown: help is an aid, and the
// program goes on as before.
void OpenHelp(HWND owner, HelpRequest request, int context = 0);

// The help menu's commands, and F1: the open dialog's topic or the contents.
void OpenHelpContents(HWND owner);
void OpenHelpSearch(HWND owner);
void OpenHelpOnHelp(HWND owner);
void OpenHelpForMode(HWND owner, AppMode mode);

// Closing the main window.
void QuitHelp(HWND owner);
