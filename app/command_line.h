// The record file named on the command line: what follows the program name.
#pragma once

// Skips the program name (up to the first space outside double quotes) and
// the spaces after it; the rest is handed to the record loader unchanged.
template <class Char>
const Char* CommandLineArgument(const Char* line) {
    bool quoted = false;
    for (; *line; ++line) {
        if (*line == Char('"')) quoted = !quoted;
        else if (*line == Char(' ') && !quoted) break;
    }
    while (*line == Char(' ')) ++line;
    return line;
}
