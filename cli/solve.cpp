// tavix-cli solve POSITION [--winloss | --window LO HI] [--slots N] [--literal] [--threads N]
// tavix-cli solve --obf FILE [--best] [--only N[-M]] [--literal] [--threads N]:
// solves every position of an Othello board file exactly (--only: those
// numbered N to M, by the number their name gives as "#N", else their place
// in the file) and checks the values against the scores it gives: every
// move's where the file scores every legal move (unless --best), else the
// best move's. Prints nodes and time per position.
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/engine_args.h"
#include "core/board.h"
#include "core/notation.h"
#include "core/position_text.h"
#include "engine/endgame.h"
#include "engine/jobs.h"

namespace {

int CountEmpties(const Position& pos) {
    int empties = 0;
    for (Square sq = 11; sq <= 88; ++sq) empties += pos.board[sq] == Empty;
    return empties;
}

// One line of a board file: the position, then fields "move:score" ended by
// ';'; a '%' starts a comment, which names the position.
struct BoardFileLine {
    Position pos;
    std::vector<std::pair<Square, int>> scores;
    std::string name;
};

bool ReadBoardFileLine(const std::string& text, BoardFileLine& line) {
    std::string body = text;
    line.name.clear();
    if (const auto percent = body.find('%'); percent != std::string::npos) {
        line.name = body.substr(percent + 1);
        body.resize(percent);
    }
    while (!line.name.empty() && (line.name.front() == ' ' || line.name.front() == '\t')) line.name.erase(0, 1);
    while (!line.name.empty() && (line.name.back() == ' ' || line.name.back() == '\r')) line.name.pop_back();
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = body.find(';', start);
        fields.push_back(body.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (!ParsePositionText(fields[0], line.pos)) return false;
    line.scores.clear();
    for (std::size_t i = 1; i < fields.size(); ++i) {
        std::string f;
        for (char c : fields[i])
            if (c != ' ' && c != '\t' && c != '\r') f += c;
        if (f.empty()) continue;
        const auto colon = f.find(':');
        if (colon != 2) return false;
        const char square[3] = {static_cast<char>(f[0] | 0x20), f[1], 0};
        const Square sq = ParseSquareCode(square);
        int score = 0;
        if (sq <= 0 || !ReadInteger(f.c_str() + 3 + (f[3] == '+'), score)) return false;
        line.scores.emplace_back(sq, score);
    }
    return !line.scores.empty();
}

// Every move's score when the line gives a score for every legal move (and
// best is false), else the best move's: the result is right when each value
// equals the score given for its move.
// "N" or "N-M": the numbers of the positions to solve.
bool ReadRange(const char* text, int& first, int& last) {
    const std::string t = text;
    const auto dash = t.find('-', 1);
    if (dash == std::string::npos) return ReadInteger(text, first) && ReadInteger(text, last);
    return ReadInteger(t.substr(0, dash).c_str(), first) && ReadInteger(t.substr(dash + 1).c_str(), last) &&
           first <= last;
}

// The number of a position: the one its name gives after '#', else place.
int NumberOf(const std::string& name, int place) {
    int n = 0;
    if (name.size() < 2 || name[0] != '#') return place;
    std::size_t k = 1;
    while (k < name.size() && name[k] >= '0' && name[k] <= '9') ++k;
    return k > 1 && ReadInteger(name.substr(1, k - 1).c_str(), n) ? n : place;
}

int SolveBoardFile(const char* path, bool best, int from, int to, const EngineChoice& choice) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "tavix-cli solve: cannot read '%s'\n", path);
        return 2;
    }
    static EngineState es;
    static ResultList results;
    static LineBuffer lines;
    const JobHooks hooks = ApplyEngineChoice(choice);
    std::printf("%-8s %7s %5s %4s %6s %14s %9s %9s  %s\n", "position", "empties", "moves", "best", "value", "nodes",
                "cpu-s", "wall-s", "result");
    std::string text;
    int number = 0, place = 0, wrong = 0;
    double totalWall = 0;
    std::uint64_t totalNodes = 0;
    for (int lineNumber = 1; std::getline(in, text); ++lineNumber) {
        std::size_t first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos || text[first] == '%') continue;
        BoardFileLine line;
        const int empties = ReadBoardFileLine(text, line) ? CountEmpties(line.pos) : -1;
        if (empties < 0) {
            std::fprintf(stderr, "tavix-cli solve: %s:%d: not a position and its scores\n", path, lineNumber);
            return 2;
        }
        ++place;
        if (const int n = NumberOf(line.name, place); n < from || n > to) continue;
        ++number;
        if (empties > MaxSolveEmpties) {
            std::printf("%-8s %7d  skipped: the solver goes to %d empty squares\n", line.name.c_str(), empties,
                        MaxSolveEmpties);
            --number;
            continue;
        }
        const bool everyMove = !best && static_cast<int>(line.scores.size()) == line.pos.legalMoveCount;
        AnalysisParams params;
        params.method = 0;
        params.depth = 0;
        params.topN = everyMove ? 0 : 1;
        const std::clock_t cpuStart = std::clock();
        const auto wallStart = std::chrono::steady_clock::now();
        RunAnalysis(es, line.pos, params, results, lines, hooks);
        const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        totalWall += wall;
        totalNodes += es.nodes;
        auto scoreOf = [&](Square sq, int& score) {
            for (const auto& [s, v] : line.scores)
                if (s == sq) {
                    score = v;
                    return true;
                }
            return false;
        };
        int highest = -1000;
        for (const auto& [sq, score] : line.scores) highest = score > highest ? score : highest;
        std::string mismatches;
        int found = 0;
        for (int i = 0; results.entries[i].line; ++i) {
            const Square sq = results.entries[i].line[0];
            int score = 0;
            const int value = results.entries[i].value;
            ++found;
            if (!scoreOf(sq, score) || score != value || (i == 0 && value != highest)) {
                char text[32];
                std::snprintf(text, sizeof text, " %s:%+d", SquareCode(sq).c_str(), value);
                mismatches += text;
            }
        }
        if (found != (everyMove ? line.pos.legalMoveCount : 1)) mismatches += " (moves missing)";
        const bool right = mismatches.empty();
        wrong += !right;
        const Square move = results.entries[0].line ? results.entries[0].line[0] : 0;
        if (line.name.empty()) std::printf("#%-7d", place);
        else std::printf("%-8s", line.name.c_str());
        std::printf(" %7d %5s %4s %+6d %14" PRIu64 " %9.3f %9.3f  %s%s\n", empties, everyMove ? "all" : "best",
                    SquareCode(move).c_str(), results.entries[0].value, es.nodes, cpu, wall,
                    right ? "ok" : "WRONG", mismatches.c_str());
        std::fflush(stdout);  // one line per position as it is done
    }
    std::printf("%d positions, %d wrong, %" PRIu64 " nodes, %.3f s\n", number, wrong, totalNodes, totalWall);
    return wrong == 0 ? 0 : 1;
}

}  // namespace

int RunSolve(int argc, char** argv) {
    EngineChoice choice;
    if (argc >= 4 && std::strcmp(argv[2], "--obf") == 0) {
        bool best = false;
        int first = 0, last = 1 << 30;
        for (int i = 4; i < argc; ++i) {
            if (std::strcmp(argv[i], "--best") == 0) best = true;
            else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc && ReadRange(argv[i + 1], first, last)) ++i;
            else if (!ReadEngineOption(argc, argv, i, choice)) {
                std::fprintf(stderr, "tavix-cli solve: bad argument '%s'\n", argv[i]);
                return 2;
            }
        }
        return SolveBoardFile(argv[3], best, first, last, choice);
    }
    Position pos;
    const int used = ReadPositionArgument(argc, argv, 2, pos);
    if (used == 0) {
        std::fputs("usage: tavix-cli solve POSITION [--winloss | --window LO HI] [--slots N] [--literal] [--threads N]\n"
                   "       tavix-cli solve --obf FILE [--best] [--only N[-M]] [--literal] [--threads N]\n",
                   stderr);
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
                   ReadWindowOption(argc, argv, i, params.solveLo, params.solveHi) ||
                   ReadEngineOption(argc, argv, i, choice)) {
        } else {
            std::fprintf(stderr, "tavix-cli solve: bad argument '%s'\n", a);
            return 2;
        }
    }
    if (CountEmpties(pos) > MaxSolveEmpties) {
        std::fprintf(stderr, "tavix-cli solve: %d empty squares; at most %d\n", CountEmpties(pos), MaxSolveEmpties);
        return 2;
    }
    PrintAnalysis(pos, params, choice);
    return 0;
}
