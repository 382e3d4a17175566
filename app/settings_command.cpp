#include "app/settings_command.h"

#include "app/help.h"
#include "config/settings.h"
#include "config/settings_dialog.h"
#include "res/resource.h"
#include "session/game_session.h"
#include "view/display_settings.h"
#include "view/layout_window.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

void OpenSettingsHelp(HWND owner) { OpenHelp(owner, HelpRequest::Context, SettingsHelpContext); }

}  // namespace

void OpenSettingsDialog(HWND window) {
    GameSession& s = Session();
    s.mode = AppMode::SettingsDialog;
    SetStatusMessage(IDS_SETTINGS_OPENED);
    RedrawPanelFields(window, PanelMessages);
    const Settings before = currentSettings;
    const SettingsDialogContext context = {LargestDisplaySize(), OpenSettingsHelp};
    const int result = RunSettingsDialog(window, context);
    SetStatusMessage(result == 1 ? IDS_SETTINGS_DONE : IDS_CHOOSE_COMMAND);
    ApplyDisplaySettings(window, before);
    s.mode = AppMode::Idle;
}
