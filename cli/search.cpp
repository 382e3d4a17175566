// tavix-cli search POSITION DEPTH [--set A|B|C] [--slots N] [--window LO HI] [--literal] [--threads N]
#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "cli/engine_args.h"
#include "core/board.h"
#include "engine/jobs.h"

int RunSearch(int argc, char** argv) {
    Position pos;
    const int used = ReadPositionArgument(argc, argv, 2, pos);
    AnalysisParams params;
    params.method = 1;
    const int first = 2 + used;
    if (used == 0 || first >= argc || !ReadInteger(argv[first], params.depth) || params.depth < 1 ||
        params.depth > MaxSearchDepth) {
        std::fputs("usage: tavix-cli search POSITION DEPTH(1..20) [--set A|B|C] [--slots N] [--window LO HI]\n"
                   "                        [--literal] [--threads N]\n",
                   stderr);
        return 2;
    }
    EngineChoice choice;
    for (int i = first + 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--set") == 0 && i + 1 < argc && ReadWeightSet(argv[i + 1], params.weightSet)) {
            i += 1;
        } else if (ReadSlotsOption(argc, argv, i, params.topN) ||
                   ReadWindowOption(argc, argv, i, params.alpha, params.beta) ||
                   ReadEngineOption(argc, argv, i, choice)) {
        } else {
            std::fprintf(stderr, "tavix-cli search: bad argument '%s'\n", a);
            return 2;
        }
    }
    PrintAnalysis(pos, params, choice);
    return 0;
}
