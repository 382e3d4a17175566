// tavix-cli eval POSITION [--set A|B|C]
#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "cli/engine_args.h"
#include "core/board.h"
#include "engine/evaluation.h"

int RunEval(int argc, char** argv) {
    Position pos;
    const int used = ReadPositionArgument(argc, argv, 2, pos);
    if (used == 0) {
        std::fputs("usage: tavix-cli eval POSITION [--set A|B|C]\n", stderr);
        return 2;
    }
    int set = 0;
    for (int i = 2 + used; i < argc; ++i) {
        if (std::strcmp(argv[i], "--set") == 0 && i + 1 < argc && ReadWeightSet(argv[i + 1], set)) {
            ++i;
            continue;
        }
        std::fprintf(stderr, "tavix-cli eval: bad argument '%s'\n", argv[i]);
        return 2;
    }
    EngineState es;
    SelectWeights(es, set);
    std::printf("%d\n", Evaluate(es, pos, pos.sideToMove));
    return 0;
}
