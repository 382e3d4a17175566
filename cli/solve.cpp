// tavix-cli solve POSITION [--winloss | --window LO HI] [--slots N]
// tavix-cli solve --obf FILE: solves every position of an Othello board file
// exactly and checks the best move and value against the scores it gives.
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

int SolveBoardFile(const char* path) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "tavix-cli solve: cannot read '%s'\n", path);
        return 2;
    }
    static EngineState es;
    static ResultList results;
    static LineBuffer lines;
    std::printf("%-8s %7s %4s %6s %14s %9s %9s  %s\n", "position", "empties", "move", "value", "nodes", "cpu-s",
                "wall-s", "expected");
    std::string text;
    int number = 0, wrong = 0;
    for (int lineNumber = 1; std::getline(in, text); ++lineNumber) {
        std::size_t first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos || text[first] == '%') continue;
        BoardFileLine line;
        const int empties = ReadBoardFileLine(text, line) ? CountEmpties(line.pos) : -1;
        if (empties < 0 || empties > MaxSolveEmpties) {
            std::fprintf(stderr, "tavix-cli solve: %s:%d: not a position with at most %d empty squares and its scores\n",
                         path, lineNumber, MaxSolveEmpties);
            return 2;
        }
        ++number;
        AnalysisParams params;
        params.method = 0;
        params.depth = 0;
        params.topN = 1;
        const std::clock_t cpuStart = std::clock();
        const auto wallStart = std::chrono::steady_clock::now();
        RunAnalysis(es, line.pos, params, results, lines, {});
        const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        const Square move = results.entries[0].line ? results.entries[0].line[0] : 0;
        const int value = results.entries[0].value;
        // Right when the value is the best score given and the move one of
        // the moves given with it.
        int best = -1000;
        for (const auto& [sq, score] : line.scores) best = score > best ? score : best;
        bool right = value == best;
        bool listed = false;
        for (const auto& [sq, score] : line.scores) listed = listed || (sq == move && score == best);
        right = right && listed;
        wrong += !right;
        if (line.name.empty()) std::printf("#%-7d", number);
        else std::printf("%-8s", line.name.c_str());
        std::printf(" %7d %4s %+6d %14" PRIu64 " %9.3f %9.3f  ", empties, SquareCode(move).c_str(), value, es.nodes,
                    cpu, wall);
        for (const auto& [sq, score] : line.scores) std::printf("%s:%+d ", SquareCode(sq).c_str(), score);
        std::printf("%s\n", right ? "ok" : "WRONG");
    }
    std::printf("%d positions, %d wrong\n", number, wrong);
    return wrong == 0 ? 0 : 1;
}

}  // namespace

int RunSolve(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[2], "--obf") == 0) return SolveBoardFile(argv[3]);
    Position pos;
    const int used = ReadPositionArgument(argc, argv, 2, pos);
    if (used == 0) {
        std::fputs("usage: tavix-cli solve POSITION [--winloss | --window LO HI] [--slots N]\n"
                   "       tavix-cli solve --obf FILE\n",
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
                   ReadWindowOption(argc, argv, i, params.solveLo, params.solveHi)) {
        } else {
            std::fprintf(stderr, "tavix-cli solve: bad argument '%s'\n", a);
            return 2;
        }
    }
    if (CountEmpties(pos) > MaxSolveEmpties) {
        std::fprintf(stderr, "tavix-cli solve: %d empty squares; at most %d\n", CountEmpties(pos), MaxSolveEmpties);
        return 2;
    }
    PrintAnalysis(pos, params);
    return 0;
}
