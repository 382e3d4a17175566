#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "cli/cli.h"
#include "core/perft.h"
#include "core/position_text.h"

int RunPerft(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: tavix-cli perft DEPTH [POSITION]\n", stderr);
        return 2;
    }
    char* end = nullptr;
    const long depth = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || depth < 1 || depth > 20) {
        std::fputs("tavix-cli perft: DEPTH must be 1..20\n", stderr);
        return 2;
    }
    Position pos;
    SetInitialPosition(pos);
    if (argc > 3 && ReadPositionArgument(argc, argv, 3, pos) == 0) {
        std::fputs("tavix-cli perft: bad POSITION\n", stderr);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    for (int d = 1; d <= depth; ++d)
        std::printf("%d %" PRIu64 "\n", d, Perft(pos, d));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("time %.3f s\n", seconds);
    return 0;
}
