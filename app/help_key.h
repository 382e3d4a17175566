#pragma once

// F1 inside a dialog box or an open menu: a message-filter hook of the window
// thread opens the help for the application mode. Windows code.

void InstallHelpKeyHook();
void RemoveHelpKeyHook();

// A dialog that is no mode of its own (the hint settings) names its topic
// for F1 while it is open; 0 gives the topic of the mode again.
void SetHelpKeyContext(int context);
