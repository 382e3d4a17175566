#pragma once

// F1 inside a dialog box or an open menu: a message-filter hook of the window
// thread opens the help for the application mode. Windows code.

void InstallHelpKeyHook();
void RemoveHelpKeyHook();
