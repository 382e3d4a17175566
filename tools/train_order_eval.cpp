// Fits the weights of the solver's ordering guess (engine/order_eval.h) to
// exact solves of positions from generated games, and writes them as
// engine/order_weights.inc.
//
//   tavix-train-order generate --seed S --from G0 --to G1 > samples.txt
//   tavix-train-order fit --out engine/order_weights.inc samples.txt...
//
// generate plays games G0..G1-1, each from its own generator seeded by S and
// its number: a random opening of 6 to 15 moves, then moves chosen by the
// evaluation one move deep (a random weight set per game, a random move one
// time in eight). Every position of 12 to 18 empties on the way is solved
// exactly and printed as "own opp value" (the side to move's discs, the
// other side's, in hexadecimal, and the side to move's final disc
// difference). Several generate runs with disjoint game ranges may run side
// by side; their samples together are the same as one run's.
//
// fit minimises the squared error of the guess over the samples by
// stochastic gradient descent (a fixed seed and order), holding out every
// tenth sample to report the error on positions it was not fitted to.
//
// The shipped weights are made with generate --seed 20261210 over games
// 0..32000 (four runs of 8,000 games, two at a time: about 50 minutes on two
// cores), then fit of the four sample files (223,486 positions; 4 s).
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/bitboard.h"
#include "core/board.h"
#include "core/position_text.h"
#include "engine/engine_state.h"
#include "engine/evaluation.h"
#include "engine/midgame.h"
#include "engine/order_eval.h"
#include "engine/study_search.h"

namespace {

struct Sample {
    Bits own, opp;
    int value;
};

Bits Played(Bits own, Bits opp, int bit) { return own | FlipsOf(bit, own, opp) | BitAt(bit); }

// The exact final disc difference for the side to move.
int SolveExactly(EngineState& es, Bits own, Bits opp) {
    // The study search takes white to move: own plays white.
    std::string text(64, '-');
    for (int b = 0; b < 64; ++b) {
        if (own & BitAt(b)) text[b] = 'O';
        else if (opp & BitAt(b)) text[b] = 'X';
    }
    Position pos;
    if (!ParsePositionText(text + " O", pos)) {
        std::fprintf(stderr, "bad position\n");
        std::exit(1);
    }
    BuildEmptyList(es, pos);
    const int empties = 64 - CountBits(own | opp);
    // Black's value with white to move: the side to move's is its negation.
    return -StudyValueWhite(es, pos, true, empties, -64, 64);
}

int Generate(unsigned seed, int from, int to) {
    SetStudyThreads(1);
    EngineState es;
    for (int game = from; game < to; ++game) {
        std::mt19937 rng(seed * 1000003u + static_cast<unsigned>(game));
        SelectWeights(es, static_cast<int>(rng() % 3));
        Bits own = 0x0000000810000000ull, opp = 0x0000001008000000ull;  // black to move
        const int opening = 6 + static_cast<int>(rng() % 10);
        bool passed = false;
        for (int ply = 0;; ++ply) {
            const int empties = 64 - CountBits(own | opp);
            if (empties < 12) break;
            Bits legal = LegalMovesOf(own, opp);
            if (!legal) {
                if (passed) break;
                passed = true;
                std::swap(own, opp);
                continue;
            }
            passed = false;
            if (empties <= 18) {
                const int v = SolveExactly(es, own, opp);
                std::printf("%016llx %016llx %d\n", static_cast<unsigned long long>(own),
                            static_cast<unsigned long long>(opp), v);
            }
            int moves[MaxMoves], count = 0;
            for (; legal; legal &= legal - 1) moves[count++] = std::countr_zero(legal);
            int chosen = moves[rng() % count];
            if (ply >= opening && rng() % 8 != 0) {
                // The evaluation after each move, for the side that moved.
                int best = -(1 << 30);
                for (int k = 0; k < count; ++k) {
                    const Bits mine = Played(own, opp, moves[k]), theirs = opp & ~mine;
                    const Discs d = {mine, theirs};  // the mover as black, white to move
                    const int v = EvaluateDiscs(es, d, 1) + static_cast<int>(rng() % 16);
                    if (v > best) best = v, chosen = moves[k];
                }
            }
            const Bits mine = Played(own, opp, chosen);
            opp &= ~mine;
            own = opp;
            opp = mine;
        }
        if (game % 500 == 499) std::fprintf(stderr, "game %d\n", game + 1);
    }
    return 0;
}

std::vector<Sample> ReadSamples(const std::vector<std::string>& files) {
    std::vector<Sample> all;
    for (const std::string& f : files) {
        std::FILE* in = std::fopen(f.c_str(), "r");
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", f.c_str());
            std::exit(1);
        }
        char line[128];
        while (std::fgets(line, sizeof line, in)) {
            unsigned long long a, b;
            int v;
            // A line cut short (a run stopped while writing) is left out.
            if (std::sscanf(line, "%llx %llx %d", &a, &b, &v) == 3 && (a & b) == 0 && v >= -64 && v <= 64 &&
                std::strchr(line, '\n'))
                all.push_back({a, b, v});
        }
        std::fclose(in);
    }
    return all;
}

int Fit(const std::string& out, const std::vector<std::string>& files) {
    using namespace order_eval;
    const std::vector<Sample> samples = ReadSamples(files);
    std::fprintf(stderr, "%zu samples\n", samples.size());
    std::vector<std::uint32_t> features(samples.size() * FeatureCount);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::uint32_t f[FeatureCount];
        Features(samples[i].own, samples[i].opp, f);
        std::copy(f, f + FeatureCount, features.begin() + static_cast<std::ptrdiff_t>(i * FeatureCount));
    }
    std::vector<double> w(TableSize(), 0.0);
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (i % 10 != 0) order.push_back(i);
    std::mt19937 rng(1);
    auto guess = [&](std::size_t i) {
        double g = 0;
        for (int k = 0; k < FeatureCount; ++k) g += w[features[i * FeatureCount + k]];
        return g;
    };
    auto report = [&](int epoch) {
        double fitted = 0, held = 0;
        std::size_t nf = 0, nh = 0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const double e = guess(i) - samples[i].value;
            if (i % 10 == 0) held += e * e, ++nh;
            else fitted += e * e, ++nf;
        }
        std::fprintf(stderr, "epoch %d: rms error %.2f fitted, %.2f held out (discs)\n", epoch,
                     std::sqrt(fitted / static_cast<double>(nf)), std::sqrt(held / static_cast<double>(nh)));
    };
    report(0);
    // Longer runs, other rates and decays were tried: the held-out error
    // stays within 0.1 disc of what these give.
    const int epochs = 30;
    const double decay = 1e-3, rate0 = 0.002;
    for (int epoch = 1; epoch <= epochs; ++epoch) {
        std::shuffle(order.begin(), order.end(), rng);
        const double rate = rate0 * (1.0 - 0.8 * (epoch - 1) / epochs);
        for (const std::size_t i : order) {
            const double step = rate * (samples[i].value - guess(i));
            for (int k = 0; k < FeatureCount; ++k) {
                double& x = w[features[i * FeatureCount + k]];
                x += step - rate * decay * x;
            }
        }
        if (epoch % 5 == 0) report(epoch);
    }
    std::FILE* f = std::fopen(out.c_str(), "w");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        return 1;
    }
    std::fprintf(f, "// Made by tools/train_order_eval.cpp from %zu solved positions: do not edit.\n",
                 samples.size());
    std::fprintf(f, "constexpr std::int16_t Weights[%d] = {\n", TableSize());
    for (int i = 0; i < TableSize(); ++i) {
        // The guess adds up to four weights into one (engine/order_eval.cpp):
        // kept within a quarter of the 16-bit range.
        long v = std::lround(w[i] * WeightsPerDisc);
        if (v > 8000) v = 8000;
        if (v < -8000) v = -8000;
        std::fprintf(f, "%ld,%s", v, i % 24 == 23 ? "\n" : "");
    }
    std::fprintf(f, "\n};\n");
    std::fclose(f);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "generate") == 0) {
        unsigned seed = 20261210;
        int from = 0, to = 1000;
        for (int i = 2; i + 1 < argc; i += 2) {
            if (std::strcmp(argv[i], "--seed") == 0) seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
            else if (std::strcmp(argv[i], "--from") == 0) from = std::atoi(argv[i + 1]);
            else if (std::strcmp(argv[i], "--to") == 0) to = std::atoi(argv[i + 1]);
        }
        return Generate(seed, from, to);
    }
    if (argc >= 4 && std::strcmp(argv[1], "fit") == 0 && std::strcmp(argv[2], "--out") == 0)
        return Fit(argv[3], std::vector<std::string>(argv + 4, argv + argc));
    std::fprintf(stderr,
                 "usage: tavix-train-order generate --seed S --from G0 --to G1\n"
                 "       tavix-train-order fit --out FILE SAMPLES...\n");
    return 2;
}
