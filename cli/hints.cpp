// tavix-cli hints POSITION [--depth N] [--exact N] [--seconds S]: the hint
// job as the board runs it, each finished step with the time since the start
// and every move's value, best first; --seconds stops it after S seconds.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "cli/cli.h"
#include "cli/engine_args.h"
#include "core/board.h"
#include "core/notation.h"
#include "engine/hints.h"
#include "engine/search_control.h"

namespace {

struct Clock {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

void PrintStep(void* context, const HintReport& r) {
    const Clock& clock = *static_cast<const Clock*>(context);
    std::printf("%s %d %.3fs", r.step.exact ? "exact" : "depth", r.step.depth, clock.Seconds());
    for (int i = 0; i < r.count; ++i)
        std::printf(" %s %s", SquareCode(r.moves[i].square).c_str(), ValueText(r.moves[i].value).c_str());
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int RunHints(int argc, char** argv) {
    Position pos;
    const int used = ReadPositionArgument(argc, argv, 2, pos);
    HintParams params;
    double seconds = 0;
    bool ok = used > 0;
    for (int i = 2 + used; ok && i < argc; ++i) {
        if (std::strcmp(argv[i], "--depth") == 0 && i + 1 < argc) ok = ReadInteger(argv[++i], params.deepestDepth);
        else if (std::strcmp(argv[i], "--exact") == 0 && i + 1 < argc) ok = ReadInteger(argv[++i], params.exactEmpties);
        else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) seconds = std::atof(argv[++i]);
        else ok = false;
    }
    if (!ok) {
        std::fputs("usage: tavix-cli hints POSITION [--depth N] [--exact N] [--seconds S]\n", stderr);
        return 2;
    }
    static EngineState es;
    SearchControl control;
    ResetControl(control);
    JobHooks hooks;
    hooks.control = &control;
    Clock clock;
    std::thread stopper;
    if (seconds > 0)
        stopper = std::thread([&] {
            if (!WaitUnlessStopped(control, static_cast<std::int64_t>(seconds * 1000))) RequestStop(control);
        });
    const bool whole = RunHints(es, pos, params, 1, hooks, PrintStep, &clock);
    std::printf("%s %.3fs\n", whole ? "done" : "stopped", clock.Seconds());
    MarkJobFinished(control);
    if (stopper.joinable()) {
        RequestStop(control);
        stopper.join();
    }
    return 0;
}
