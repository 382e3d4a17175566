// tavix-cli bench [--levels]: fixed positions searched and solved, with nodes,
// time and nodes per second per group and in total. The total node count is
// the fingerprint of the search's behaviour: a change meant only to make the
// engine faster leaves it exactly as it was. The study-* groups then do the
// same work with the study search on one thread, beside it.
//
// --levels instead times the level-9 computer move on the midgame positions
// and on positions with 17, 18 and 19 empty squares (a perfect solve at 17,
// win or loss above).
#include <ctime>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "core/board.h"
#include "core/position_text.h"
#include "engine/jobs.h"
#include "engine/random.h"
#include "engine/study_search.h"

namespace {

// Reached by fixed pseudo-random legal games from the initial position; the
// side to move has at least two moves in each.
const char* const MidgamePositions[] = {
    "-----X-O----OOX---XXOXXX-OOOO-----OOO-------O-------O----------- X",
    "-X-OX----X-O-----XXOOXX---OOOX----OOX----XO--X------------------ O",
    "----------OO--X----OOX-----XXO-OXXXXXOO--X---X-------OOO-------- X",
    "----------O------XO--XXX-OXOOO----OXXXX----OXO-------OO------O-O O",
    "----------O-----OOOOX---OOXXXX--O-XXXOO---XXOOO----X------------ X",
    "---O----XX-OO---OXOX-O---OXOOO---XOXXX--OXO-XX------------------ O",
    "------------------X-O----OOOOO-O-XXXOOO-XOXOOO---X-OO---X--OX--- X",
    "----X--X---XX-X--O-XXXX--XXXOOO---XXXO---XX-OXX--X-O------------ O",
    "------O-----OO-----OOX----OOOOOO-OOXOXOX--X-OOO--X-OOOO--------- X",
    "----XO----XOOX-----XOXX--OOOXO---OOOOXX-XO--O-XXX----O--X------- O",
    "---OOOO----XOO--XXXXXO---XOXO-O---XOOX-O-XX-OX------OXO--------- X",
    "--OX----OO-O----OOOOOO--OOOXX-----XXX------XOXXX---O-XX--XXX-X-- O",
    "-------------------OXX-----OOXOX-OOOXOX---OXOXOO-OOOXOOX--O-OOOX X",
    "-O--X-----O-XXX---OOXX--XXXXXXO----XOXXO--XX-OXX-X---OO-----OX-O O",
    "O-------O---O---OX-O---OO-OXX-O-OOOXXXXX-OOXXXX---OO-O----OOOOX- X",
    "--OOOO----O-O---XXXXXXXXX--OX-O-XOOXOOO-XXX-OOO-O-XO---O-------- O",
    "--X---X-X--XO-XXXXOOXXX-XXOOOXXX--OOX----OOOXO------OOO-----XOO- X",
    "X--XXXO-XOOXXO--XOOXO-X-O-OOXX---XOXXXX-X--XOOX---XXO--X-------- O",
    "X--------X--------X-XO-XOOOXX-X--XXXXXOX-XXOXOO-OOOOOOO-XO-OXXX- X",
    "-O--X-OX-XOX--O---XO-XO-XXXXXOOOOOXXXXX---OXXXO----XXO------XOOO O",
};

const char* const Empties14[] = {
    "XXO------XXXX---OOOOOOOOOOOXXOXOOOOOXOXXOOOOXXX--OOOOXX-O-X-OOXO X",
    "XXXXXXXX-OOXOO--OOXXXXXXO--XOOXXOOOOOXXX-XOOOXXXOO--XO--OX--X-O- X",
    "--OX-OOOO-OOXOOOXXXOOOXX--XOOOXX-X-XOOO-X-OOX-XO--OOOXXXOOOOOOX- X",
    "O-X-OOOOOOOOOO-OXOOOOOXO-XOXOXOOXOXXXOOOXX-XXXOOX--X-XX------XXX X",
    "XO-XXXXXXOOXXXX-XOXOOXO-XOOOOOO-XOOOX-O-OOOXOXOX-O-X-OOOO--X---X X",
    "--X--XO---OOOOO-XXXOOOOO-XXOOXOOOOXXXOOO-OXXOOOX--XXXOOX--XXXXOX X",
    "OOO-XO--OOOOOOOOOOOOOXOOOXOOXOX-XXXXOXXXXXXOXOX-XXXXXX------X--- X",
    "-OOOXX--XOOOOXOO-O-XXXXXXOXOXOXX-OOXXOXO-OOOXOX--X-OOOX-X--OOO-X X",
    "--OOO-XOOOOOOXXO--OOOXX-OOOOXOOX--OXXXOO-OOXXXXX-XO-XXXXX-OOX--X X",
    "XOO------OOOX----OOXOXX-XOOXXXX-XOOOXXOXXOOXXXXOXOOXXXOOOOO-XOX- X",
    "OX--XO--OOXXO--XOOOOOOOOOOOXOX--O-XOXXXO-XXXXXXX-XXXXXXO--OOOXX- X",
    "----OX--O-OOOO--OOXOXX-OOOOXX-O-OOOXXOOXOOXOXXOX-OOXOOOOXOOO-OOX X",
    "O-XXXX---O-XXX-XXXOXOOXX-XXOXXOXOOOOOXOX-OOOOOXXX-OOO-OX---O-OOX X",
    "---X-O----O-XXO-X-OOXOOO-XOXOXOOXXOOOXOOXXOOOOOOX--OOXOOOOOOOOOO X",
    "---OOOO-XXOOOOO-OOXOOOOOOOXXOOO-O-XXXO-X-OXXOXOO-XOOXXX--XXXXX-- X",
    "OX--O---OOOO-O-X-OOOX-X-OOOOOXOO-XXOXX-O-XXOXXX-OXOOXOXXXXXXXXXX X",
    "OXXXO---OXXXO----XOXOO-OXXOXXO-OXOXOXOOOOOOXOO-OOOOOOOO-OOOOO--- X",
    "XO-XOX--XOO-OOOOXO-OOXOOXOOOOXXO-OOOOXXO--OXOXOO--OOXXXO-O-X-X-X X",
    "O--OXXXX-OOOOOOOOOXOOXO-OOXOXOX-OOXXOX-XOXX-X-X-X-OOOXXO--OOO-X- X",
    "-O--XO---OOXOOOX-OXOXOOO-OOXOXO--OXOXXOXOOOXOOOOXXXOOOO--XX-XOO- X",
};

const char* const Empties16[] = {
    "-XXX--O-XXXXOO-----OXOOO--OOOXOOX-OOOOX-OOOOOOX-OXXOO-OXXXXXO-XO X",
    "--OOOO---XXOX----XXXOXXO--OXOOX--OOXOOXOOXOOXOX-OOOOXXOX-OOOO-XO X",
    "O-XXX---OOOO-XO-OOO-OX--OOXOOO--OOOOOOOOOOOXOOO-OOXXXXOX---XO-XO X",
    "--XXO-----XXO---O-OXO-OX-OOOX-OXXXXXXXOXOOOOXOOO-OOOOXXXO-XXXXXX X",
    "X-O-X----X-XX---OOOOOOOO-XXXXXO--X-OXOXXO-OXOXXXOOXXXXXOOXXXXXX- X",
    "-XXXO---XXXOO-X-XXOOOXX-XXOXX-X-XOXXXXXXOXXXX---OXOOOX--XXXXX-X- X",
    "-OOOOOOXOOOO-O-XOXOOOXXXOOXOOXXXOXOXXOOOXO-XXXXX--XO--X-------X- X",
    "XO-XO-XO-OXOXOXXOXOXOXX-XXXXXXXOX-XXXOOO-XXXOOOO---O-OO---O-X-O- X",
    "-OXXXXXXOOXO-OXX--XOOXXX-XOXX----OXXOOX-OOXOOXX-OOOOXXX-X-OOX--- X",
    "-X--XXXXOOOOXXX--OXXXOX-XOOXOXXXOOOOXOX-OOXOO-O-OOXXXO---OX-O--- X",
    "XXXO--O-XXXXXO-XOXXXOOXOOXXOOOO--OXXXOO--XOXXOO--XXOOOO-X-X-O--- X",
    "---X-XO-XXXX-OO-XXXXOXOXXXXXX-O-OXOOXOO-O-XOXX--O-OOOOOO-O-OOOOO X",
    "OOX------OOOOO--XOOOOO--XOXOOO-XXOXOXOXO-XXOOOO-X-XXXOO-XXXXXO-O X",
    "O-OX-O-X-OXXO-X-OOOOOXOO-XOOOOO-XXXOOOO--XX-OOO--XXXXOOOX-XXX-O- X",
    "OOO---X--OXXX-X--XOXXXX--XOXXXX-XOXOOXXXOX-OOXXX-XOOXXXX-O-O-XXX X",
    "OOOO----OXOXO---OXOOOOX-O-OOOOXXOOOXOOX-O-OOXXOO-XOXXX--XOXXO-X- X",
    "XOO-XXOO-O-XXXOXXXXXXOOXOOOOOXO-OOXOXOX-OOOXXXOXOOX----OO------- X",
    "OOOXXOOO-OOXXOO--OXOXOO-OXOOOXOXXXXXXOO-X-O-XOOX-X-OXOO-X-----O- X",
    "-OOOOOOO-OOOXX--XOOXXX---OOXX-X-OOXXOOXXOOOOOO-XX-OOOOX---OOOX-- X",
    "XO-XXXOO-XXXXXOOOXXXXXXOX--OXXOX-XOOOXXX-OOOOO-X-OO-O-O---OOO--- X",
};

const char* const Empties18[] = {
    "OOOOO----OOOO-----OXOOXX-OOXOXXOXXOOXXX---OXXXXX--XOOXXX---OOOXX X",
    "-XOOXX--OXXXX--XOOXXXOXOOXOOOOO-OXXOXOOOXXOXOO--XXXX-OO--------- X",
    "XXXXX-O--OOOOO--OOXOX-O----XOOOOOOOOXOOO--XXOX-OXXXOO-XO--XXXX-- X",
    "----X-O-XXXXXOOO--XXOOO--XXOXXO--XOOXXOOOOOOX-XX-OXXOXXXO-X-XO-- X",
    "--XXXX-----OXXOX-XOOOXOOOO-OOXOOO--OXOXXOOOOOX-X-OOOOOXO-O---XO- X",
    "OOOXXX--OOOXXX--OOOXXXXXOOOXOX-OO-OXXOO-XXXXOO----OX-OX----X-OX- O",
    "-OXXXXXX--XOOOOO-OOOOXOO-OXXOO-OO-XXXXOO--OOXOOO---OOOOO--XO---- X",
    "XXXOOO---OXXOX---XXXOOOOXXOXXX--XXOXOX---XOXOOX-OOOOX-XX--OX--X- X",
    "OXXXO-X-OOXX-X--OOOXXOX-O-OXX--XOXXOOOOXOOOOOOOOO---OOO-O----OO- X",
    "---OXOOO-OXXXXXX--OXXOX----OXXX---OOXXXX-OOOOXXXXOOOXXXXOOOO---- X",
    "-XX------XXXX---XXOXX-X-XOXXXX--OOXOXXXXXOOOOOOOXOOOOX--X-OOOOO- X",
    "OOOO-XXO--OXXOO---XOOOOOOXXXXOO-XXXXXOOXXOO-OOOOOO--OXXO-------- X",
    "-XXXX---XX-XX-XXOOOOXXXOOOXOXOO-O--OXOOX--XOOXOX--XOOOOO-X---XO- X",
    "OOOOO--OOOXXX-O-OXOXXXXX-OXOX--XO-OXXXOX-OXXXO--O---OXXX--XXX--O X",
    "-X-O-X-OOXXXO-OX-XXX-OX--XXXXXX-XXXXXXX--XXXXXX--XXXO-O--XO-OOOO X",
    "---X-X--O-X-XOOOOXXXOXOOOXXOXOOO--XXOXOO-XXOXXXO-XO-XX-O-X-XXX-- X",
    "O-XXXXXXOO-X-X--OOOOXXOOXOOOXO--XXOOO---XOOOOOO-XOOOX---XOOO---- X",
    "X--XXXO-XOX-XOO-XXOXOXOX-XXOOXXX-XXOOXXOXOOXXXO-OO--XXO--------O X",
    "-O-O-OOO--OXOXXXOOXOOOXX--OOXXOXXOXOXXXXOXX-XOXXO-XX-X-X--X----- X",
    "--O-X------X-O--XOXXOOOXXOXOXOXOXXOXOXOOXXOXOOOO-XXXOOO-O-X-OO-- X",
};

const char* const Empties17[] = {
    "-XOXXXXX-XOXXXXX-XXXOXXXOXXOOOX--XXXOXOX-XXXO--O-XOOO----XO-O--- O",
    "O--XX-X-O-OOX-XXOOOOXOX---XXXXX--OXXXOXXOXXXXOX-X-OOXOXO---XXXX- O",
    "--XXXXXO---XOXXOOOOXXOX--OOXOXX--OOOOOXO-OOOOXX-O-XOXOXO---XOO-- O",
    "-XOXXX--XXOOXOXXXXOOO-X-XOXOOXOOXXOXX-O-XXXXO--O-XXOO---XXXX---- O",
    "-X--XXX-OXXXXXOOOOXXOXXXO-XXOXOX-XOOXOOXXXXXXXOX-XOO-O------O--- O",
    "--XXOOXX-XXOO-X-XXOXOXXO-X-OXXX-OXXXOXXO-O-XXXXX--OX-O-XXXXXO--- O",
    "-X--X-O-OXOXXO---XXXXO-O-XXXXXOX-X-OXOO--XXXXOOX-O-XXOOX-OOOOOOX O",
    "X--X---XXXX-OOX-XXXXOOOOXXOXXOOO-X-XOOOO--XOOOXX-XXXXXXX----XX-X O",
    "--OXXXXX---OXXXX--OXOOXXXXXOXOX-OXOXOXX-OOO-XOXXO---XOOX---OOOO- O",
    "----XXX-OOO-OXXX-OOOXOX--XOXOXXO-XOOXXX-XXOXOXX---XOOXXX-XXOOX-- O",
};
// Reached like the midgame positions, 19 empty squares left: level 9
// solves them for win or loss, as it does at 18.
const char* const Empties19[] = {
    "-O-X----XOO--O--XOXOO---XXOXO---XXXXOOOOOOXOOO-XOOXOOOOXOOX-OO-X O",
    "--XOX---O-OOXX--OOXXX-X-OXOOXX--OOXOXX--OXXOOX--OXXXXXX-OXXX-OO- O",
    "---XXO-X---XOOOX-X-OXOOX--XOOOOOX--XXOOO-XOXXOOO-OXOOOO-O--XOOX- O",
    "O-------XO-O-X---XO-OXO-OOXXXXXXXOXXOX-XXOOOOXXX-OO-XXOX-OOOOOO- O",
    "--OX------OX---X-OOXXXXX-OOOXXXOOOXXOXOOO-XXOOOOO--OOOOO---OOXXO O",
    "-XOOXXX-OOOOXX--XOOOOX--OOOOXXXXOOXOO-X---OXOX--XXXXX-----OOOX-- O",
    "--OOOX----XOO-X--XOXOX--XOXXXX--OXOOXOOO-XOXXOO-OXXXOOOOXXXO---- O",
    "-----OOOO-X-OXXO-OXXXXX--XXOXXX--XXOX-XXOXXOXXXO-XXOXXO----OOOO- O",
    "XOOOOX-X-OOOOO-X-OOOOXOX--OOXOXX--OOOOXX--OOXOXX--O--O-XXXX--O-- O",
    "X-XO----XXOO----XXXO--X-OXXXOXXOOXXOXOX-OXOXXXXXOOX-X-O-XXXX--O- O",
};
struct Group {
    const char* name;
    const char* const* positions;
    int count;
    int method;  // 1 midgame search, 0 solve
    int depth;
    int lo, hi;
    bool study = false;  // the study search instead of the fixed tree
};

struct Tally {
    int positions = 0;
    std::uint64_t nodes = 0;
    double seconds = 0;
};

void PrintRow(const char* name, const Tally& t) {
    const double nps = t.seconds > 0 ? static_cast<double>(t.nodes) / t.seconds : 0;
    std::printf("%-14s %4d %14" PRIu64 " %9.3f %12.0f\n", name, t.positions, t.nodes, t.seconds, nps);
}

// Processor time of this process: on a machine shared with other work it
// measures the engine, not the neighbours.
double SecondsSince(std::clock_t start) { return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

int RunSearchBench() {
    constexpr int N = 20;
    const Group groups[] = {
        {"midgame-6", MidgamePositions, N, 1, 6, -999, 999},
        {"midgame-9", MidgamePositions, N, 1, 9, -999, 999},
        {"perfect-14", Empties14, N, 0, 0, -64, 64},
        {"winloss-14", Empties14, N, 0, 0, -1, 1},
        {"perfect-16", Empties16, N, 0, 0, -64, 64},
        {"winloss-16", Empties16, N, 0, 0, -1, 1},
        {"perfect-18", Empties18, N, 0, 0, -64, 64},
        {"winloss-18", Empties18, N, 0, 0, -1, 1},
        // The same work by the study search, one thread, the table cold at
        // the start of each group.
        {"study-mid-6", MidgamePositions, N, 1, 6, -999, 999, true},
        {"study-mid-9", MidgamePositions, N, 1, 9, -999, 999, true},
        {"study-perf-14", Empties14, N, 0, 0, -64, 64, true},
        {"study-wl-14", Empties14, N, 0, 0, -1, 1, true},
        {"study-perf-16", Empties16, N, 0, 0, -64, 64, true},
        {"study-wl-16", Empties16, N, 0, 0, -1, 1, true},
        {"study-perf-18", Empties18, N, 0, 0, -64, 64, true},
        {"study-wl-18", Empties18, N, 0, 0, -1, 1, true},
    };
    static EngineState es;
    static ResultList results;
    static LineBuffer lines;
    Tally total, studyTotal;
    SetStudyThreads(1);
    std::printf("%-14s %4s %14s %9s %12s\n", "group", "pos", "nodes", "cpu-s", "nodes/s");
    for (const Group& g : groups) {
        if (g.study && studyTotal.positions == 0) PrintRow("total", total);
        if (g.study) ClearStudyTable();
        JobHooks hooks;
        hooks.fixedTree = !g.study;
        Tally t;
        for (int i = 0; i < g.count; ++i) {
            Position pos;
            if (!ParsePositionText(g.positions[i], pos)) return 1;
            // One best move, weight set A, the root ordered by the default rule.
            AnalysisParams params;
            params.method = g.method;
            params.depth = g.depth;
            params.topN = 1;
            if (g.method == 1) {
                params.alpha = g.lo;
                params.beta = g.hi;
            } else {
                params.solveLo = g.lo;
                params.solveHi = g.hi;
            }
            const std::clock_t start = std::clock();
            RunAnalysis(es, pos, params, results, lines, hooks);
            t.seconds += SecondsSince(start);
            t.nodes += es.nodes;
            ++t.positions;
        }
        PrintRow(g.name, t);
        Tally& sum = g.study ? studyTotal : total;
        sum.positions += t.positions;
        sum.nodes += t.nodes;
        sum.seconds += t.seconds;
    }
    PrintRow("study-total", studyTotal);
    return 0;
}

int RunLevelBench() {
    static EngineState es;
    SeedRandom(1);
    std::printf("%-6s %-8s %5s %12s %9s\n", "pos", "mode", "depth", "nodes", "cpu-s");
    auto timeMoves = [](const char* label, const char* const* positions, int count) {
        double sum = 0, worst = 0;
        for (int i = 0; i < count; ++i) {
            Position pos;
            ParsePositionText(positions[i], pos);
            const std::clock_t start = std::clock();
            const ComputerMove m = ChooseComputerMove(es, pos, 9, 0, false, {});
            const double s = SecondsSince(start);
            sum += s;
            if (s > worst) worst = s;
            const char* mode = m.source == MoveSource::Midgame ? "midgame"
                               : m.source == MoveSource::WinLoss ? "winloss"
                               : m.source == MoveSource::Perfect ? "perfect"
                                                                 : "forced";
            std::printf("%s-%-2d %-8s %5d %12" PRIu64 " %9.3f\n", label, i + 1, mode, m.depth, m.nodes, s);
        }
        std::printf("%s: mean %.3f s, longest %.3f s\n", label, sum / count, worst);
    };
    timeMoves("mid", MidgamePositions, 20);
    timeMoves("e17", Empties17, 10);
    timeMoves("e18", Empties18, 10);
    timeMoves("e19", Empties19, 10);
    return 0;
}

}  // namespace

int RunBench(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[2], "--levels") == 0) return RunLevelBench();
    if (argc != 2) {
        std::fputs("usage: tavix-cli bench [--levels]\n", stderr);
        return 2;
    }
    return RunSearchBench();
}
