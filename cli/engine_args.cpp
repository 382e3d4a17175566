#include "cli/engine_args.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/notation.h"
#include "engine/jobs.h"
#include "engine/study_search.h"

bool ReadInteger(const char* text, int& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (*end != '\0' || errno != 0 || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

bool ReadWeightSet(const char* text, int& set) {
    if (!text || !text[0] || text[1]) return false;
    const char c = text[0];
    if (c >= 'A' && c <= 'C') set = c - 'A';
    else if (c >= 'a' && c <= 'c') set = c - 'a';
    else return false;
    return true;
}

bool ReadSlotsOption(int argc, char** argv, int& i, int& slots) {
    if (std::strcmp(argv[i], "--slots") != 0 || i + 1 >= argc) return false;
    if (!ReadInteger(argv[i + 1], slots) || slots < 1 || slots > MaxMoves) return false;
    i += 1;
    return true;
}

bool ReadWindowOption(int argc, char** argv, int& i, int& lo, int& hi) {
    if (std::strcmp(argv[i], "--window") != 0 || i + 2 >= argc) return false;
    if (!ReadInteger(argv[i + 1], lo) || !ReadInteger(argv[i + 2], hi) || lo >= hi) return false;
    i += 2;
    return true;
}

bool ReadEngineOption(int argc, char** argv, int& i, EngineChoice& choice) {
    if (std::strcmp(argv[i], "--literal") == 0) {
        choice.fixedTree = true;
        return true;
    }
    if (std::strcmp(argv[i], "--threads") != 0 || i + 1 >= argc) return false;
    if (!ReadInteger(argv[i + 1], choice.threads) || choice.threads < 1 || choice.threads > 8) return false;
    i += 1;
    return true;
}

JobHooks ApplyEngineChoice(const EngineChoice& choice) {
    SetStudyThreads(choice.threads);
    JobHooks hooks;
    hooks.fixedTree = choice.fixedTree;
    return hooks;
}

void PrintAnalysis(Position& pos, const AnalysisParams& params, const EngineChoice& choice) {
    static EngineState es;
    static ResultList results;
    static LineBuffer lines;
    RunAnalysis(es, pos, params, results, lines, ApplyEngineChoice(choice));
    for (int i = 0; results.entries[i].line; ++i) {
        const ResultEntry& e = results.entries[i];
        std::printf("%d %s %d %s\n", i + 1, SquareCode(e.line[0]).c_str(), e.value, LineCode(e.line).c_str());
    }
}
