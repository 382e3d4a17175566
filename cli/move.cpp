// tavix-cli move POSITION LEVEL [--seed N]
#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "cli/engine_args.h"
#include "core/board.h"
#include "core/notation.h"
#include "engine/jobs.h"
#include "engine/random.h"

namespace {

const char* SourceName(MoveSource s) {
    switch (s) {
        case MoveSource::Forced: return "forced";
        case MoveSource::Book: return "book";
        case MoveSource::Midgame: return "midgame";
        case MoveSource::WinLoss: return "winloss";
        case MoveSource::Perfect: return "perfect";
    }
    return "?";
}

}  // namespace

int RunMove(int argc, char** argv) {
    Position pos;
    const int used = ReadPositionArgument(argc, argv, 2, pos);
    int level = 0;
    const int first = 2 + used;
    if (used == 0 || first >= argc || !ReadInteger(argv[first], level) || level < 0 || level >= LevelCount) {
        std::fputs("usage: tavix-cli move POSITION LEVEL(0..9) [--seed N]\n", stderr);
        return 2;
    }
    SeedRandomFromTimeOfDay();
    for (int i = first + 1; i < argc; ++i) {
        int seed = 0;
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc && ReadInteger(argv[i + 1], seed)) {
            SeedRandom(static_cast<std::uint32_t>(seed));
            ++i;
            continue;
        }
        std::fprintf(stderr, "tavix-cli move: bad argument '%s'\n", argv[i]);
        return 2;
    }
    EngineState es;
    const ComputerMove m = ChooseComputerMove(es, pos, level, 0, false, {});
    // move, mode, depth (the ordering depth of a win-loss solve, the empties
    // of a perfect one), value for the side to move, weight set.
    std::printf("%s %s %d %d %c\n", m.move ? SquareCode(m.move).c_str() : "pass", SourceName(m.source), m.depth,
                m.value, m.weightSet >= 0 ? static_cast<char>('A' + m.weightSet) : '-');
    return 0;
}
