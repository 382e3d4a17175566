#pragma once

// Shift-JIS (code page 932) <-> UTF-16 at the boundary to the W API. The
// program's texts are Shift-JIS bytes; everything handed to Windows is UTF-16.
// Windows code.

#include <windows.h>

#include <string>
#include <string_view>

std::wstring WideFromShiftJis(std::string_view text);
std::string ShiftJisFromWide(std::wstring_view text);
// Texts from outside that are not the program's own (the game database's
// names, GGF players) are UTF-8.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// A string-table text of this executable in Shift-JIS; empty if missing.
std::string LoadShiftJisString(UINT id);
