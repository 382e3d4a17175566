// Runs tavix-cli as a script would: its exit code and output lines.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

struct CliRun {
    int code;
    std::vector<std::string> lines;
};

inline CliRun RunCli(const std::string& args) {
    const std::string command = std::string(TAVIX_CLI_PATH) + " " + args + " 2>/dev/null";
    CliRun run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::string out;
    char buf[512];
    while (std::fgets(buf, sizeof buf, pipe)) out += buf;
    const int status = pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) run.lines.push_back(line);
    return run;
}

