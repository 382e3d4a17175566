// Which help page answers which help request. The help is a folder of HTML
// pages beside the executable, named like the executable with "HLP" in place
// of its three-letter extension (Tavix.exe -> Tavix.HLP\index.html ...).
#pragma once

#include <string>
#include <string_view>

#include "session/game_session.h"

enum class HelpRequest {
    Contents,
    KeywordSearch,  // the keyword index, searched by any part of a keyword
    HelpOnHelp,
    Context,        // the topic of a context number
    Quit,
};

// Context numbers: the dialogs whose help button or F1 key asks for a topic.
constexpr int PlayersHelpContext = 2000;
constexpr int AnalysisHelpContext = 2200;
constexpr int SettingsHelpContext = 2400;
constexpr int HintsHelpContext = 2620;
constexpr int ReviewHelpContext = 2600;

// The page file that answers a request, or an empty name when the request
// shows no page (Quit). An unknown context number gets the contents.
std::string HelpPageName(HelpRequest request, int context = 0);

// F1: the dialog's topic while one of the three dialogs is open, otherwise
// the contents (context 0).
int HelpContextForMode(AppMode mode);

// The full path of a page inside the help folder.
std::wstring HelpPagePath(std::wstring_view helpFolder, std::string_view pageName);
