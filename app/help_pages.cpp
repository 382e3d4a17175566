#include "app/help_pages.h"

std::string HelpPageName(HelpRequest request, int context) {
    switch (request) {
        case HelpRequest::Contents: return "index.html";
        case HelpRequest::KeywordSearch: return "keywords.html";
        case HelpRequest::HelpOnHelp: return "helponhelp.html";
        case HelpRequest::Context:
            switch (context) {
                case PlayersHelpContext: return "players.html";
                case AnalysisHelpContext: return "analysis.html";
                case SettingsHelpContext: return "settings.html";
                case HintsHelpContext: return "hints.html";
                case ReviewHelpContext: return "review.html";
                default: return "index.html";
            }
        case HelpRequest::Quit: return {};
    }
    return {};
}

int HelpContextForMode(AppMode mode) {
    switch (mode) {
        case AppMode::PlayersDialog: return PlayersHelpContext;
        case AppMode::AnalysisDialog: return AnalysisHelpContext;
        case AppMode::SettingsDialog: return SettingsHelpContext;
        case AppMode::ReviewDialog: return ReviewHelpContext;
        default: return 0;
    }
}

std::wstring HelpPagePath(std::wstring_view helpFolder, std::string_view pageName) {
    std::wstring path(helpFolder);
    path += L'\\';
    for (char c : pageName) path += static_cast<wchar_t>(static_cast<unsigned char>(c));  // page names are ASCII
    return path;
}
