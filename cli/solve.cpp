// tavix-cli solve POSITION [--winloss | --window LO HI] [--slots N]
#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "cli/engine_args.h"
#include "core/board.h"
#include "engine/endgame.h"
#include "engine/jobs.h"

int RunSolve(int argc, char** argv) {
    Position pos;
    const int used = ReadPositionArgument(argc, argv, 2, pos);
    if (used == 0) {
        std::fputs("usage: tavix-cli solve POSITION [--winloss | --window LO HI] [--slots N]\n", stderr);
        return 2;
    }
    AnalysisParams params;
    params.method = 0;
    params.depth = 0;  // the root is ordered by the default rule
    for (int i = 2 + used; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--winloss") == 0) {
            params.solveLo = -1;
            params.solveHi = 1;
        } else if (ReadSlotsOption(argc, argv, i, params.topN) ||
                   ReadWindowOption(argc, argv, i, params.solveLo, params.solveHi)) {
        } else {
            std::fprintf(stderr, "tavix-cli solve: bad argument '%s'\n", a);
            return 2;
        }
    }
    int empties = 0;
    for (Square sq = 11; sq <= 88; ++sq) empties += pos.board[sq] == Empty;
    if (empties > MaxSolveEmpties) {
        std::fprintf(stderr, "tavix-cli solve: %d empty squares; at most %d\n", empties, MaxSolveEmpties);
        return 2;
    }
    PrintAnalysis(pos, params);
    return 0;
}
