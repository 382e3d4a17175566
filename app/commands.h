#pragma once

// The main window's commands: the command caption, the command gate, the
// command table and the enabling of menu items. Windows code.

#include <windows.h>

#include <string>

#include "engine/window_messages.h"

// A command's main-menu item text before its first "(": the caption of its
// message boxes and file dialogs.
std::wstring CommandCaption(HWND window, int id);

// Ends what runs before a gated command; false when the command is refused.
bool CommandGate(HWND window, int id);

// WM_COMMAND.
void RunCommand(HWND window, int id);

// A menu about to open: greys what the mode and the history do not allow.
void EnableMenuItems(HMENU menu);

// The right-click menu at a client point.
void ShowContextMenu(HWND window, POINT client);
