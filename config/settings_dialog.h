// The settings dialog (dialog 2400): a tab control with four pages, OK,
// ｷｬﾝｾﾙ, 保存 and ﾍﾙﾌﾟ. Windows code. What the main window does around it
// (the mode, the messages, applying changed display settings) is the
// caller's.
#pragma once

#include <windows.h>

struct SettingsDialogContext {
    int largestDisplaySize;        // the display-size list runs from 4 to this
    void (*openHelp)(HWND owner);  // ﾍﾙﾌﾟ: the dialog's help topic; the dialog stays open
};

// Runs the dialog modally over owner, the main window, whose device context
// gives the font families offered. OK copies the pages into currentSettings
// and returns 1; 保存 does the same and stores all eleven values; ｷｬﾝｾﾙ, Esc
// and the close box return 0 with currentSettings untouched.
int RunSettingsDialog(HWND owner, const SettingsDialogContext& context);
