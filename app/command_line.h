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

// The record file named on the command line: the argument without the one
// pair of double quotes Windows puts around a name with blanks (Open With,
// a file dropped on the program's icon), and without trailing blanks.
template <class String>
String RecordFileArgument(String argument) {
    while (!argument.empty() && argument.back() == ' ') argument.pop_back();
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"' &&
        argument.find('"', 1) == argument.size() - 1)
        argument = argument.substr(1, argument.size() - 2);
    return argument;
}
