#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli.h"
#include "book/book_file.h"
#include "core/position_text.h"

namespace {

void PrintUsage() {
    std::fputs(
        "usage: tavix-cli COMMAND ...\n"
        "  perft DEPTH [POSITION]   move sequences per depth\n"
        "  eval POSITION [--set A|B|C]   static evaluation, black's point of view\n"
        "  search POSITION DEPTH [--set A|B|C] [--slots N] [--window LO HI] [--literal] [--threads N]\n"
        "  solve POSITION [--winloss | --window LO HI] [--slots N] [--literal] [--threads N]\n"
        "  solve --obf FILE [--best] [--only N[-M]] [--literal] [--threads N]   solves a board file's\n"
        "      positions (--only: those numbered #N to #M), checks every move's score it gives\n"
        "      (only the best with --best)\n"
        "  (search, solve: the study search on every core; --literal: the levels' fixed tree)\n"
        "  hints POSITION [--depth N] [--exact N] [--seconds S]   every move valued, deepening\n"
        "  move POSITION LEVEL [--seed N]   the computer's move: move mode depth value set\n"
        "  bench [--levels]   fixed positions: nodes, seconds, nodes per second\n"
        "  record show FILE   a record file's (.rgm or GGF) start, plies, transcript and final position\n"
        "  record new TRANSCRIPT|BOARDSTRING   a record of that game on standard output\n"
        "  record convert IN OUT   .rgm, .ggf or .txt (transcript) by OUT's extension\n"
        "  db stats FOLDER | db query FOLDER POSITION|MOVES [--player NAME] [--tournament NAME] [--years A-B]\n"
        "  db generate FOLDER GAMES [--seed N]   a tournament-archive folder of computer games\n"
        "  review FILE|TRANSCRIPT [--depth D] [--set A|B|C] [--exact N]   every move valued against the best\n"
        "  book check FILE | book moves POSITION|MOVES [--book FILE] [--minimax] | book stats FILE\n"
        "POSITION: 64 characters a1..h8 (X black, O white, - empty), a space, X or O\n",
        stderr);
}

}  // namespace

int ReadPositionArgument(int argc, char** argv, int index, Position& pos) {
    if (index >= argc) return 0;
    std::string text = argv[index];
    if (text.size() == 64 && index + 1 < argc) {
        text += ' ';
        text += argv[index + 1];
        return ParsePositionText(text, pos) ? 2 : 0;
    }
    return ParsePositionText(text, pos) ? 1 : 0;
}

// A position text, or a line of moves from the initial position ("f5d6",
// passes made where forced; "" or "start" for the initial position).
bool ReadGamePosition(int argc, char** argv, int index, Position& pos, int& used) {
    used = ReadPositionArgument(argc, argv, index, pos);
    if (used > 0) return true;
    if (index >= argc) return false;
    const std::string text = std::strcmp(argv[index], "start") == 0 ? "" : argv[index];
    BookMoves moves;
    if (ParseBookMoves(text.c_str(), pos, moves) != static_cast<int>(text.size())) return false;
    int black = 0, white = 0;
    RecountPosition(pos, black, white);
    used = 1;
    return true;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage();
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "perft") == 0) return RunPerft(argc, argv);
    if (std::strcmp(command, "eval") == 0) return RunEval(argc, argv);
    if (std::strcmp(command, "search") == 0) return RunSearch(argc, argv);
    if (std::strcmp(command, "solve") == 0) return RunSolve(argc, argv);
    if (std::strcmp(command, "hints") == 0) return RunHints(argc, argv);
    if (std::strcmp(command, "move") == 0) return RunMove(argc, argv);
    if (std::strcmp(command, "bench") == 0) return RunBench(argc, argv);
    if (std::strcmp(command, "record") == 0) return RunRecord(argc, argv);
    if (std::strcmp(command, "book") == 0) return RunBook(argc, argv);
    if (std::strcmp(command, "db") == 0) return RunDatabase(argc, argv);
    if (std::strcmp(command, "review") == 0) return RunReview(argc, argv);
    std::fprintf(stderr, "tavix-cli: unknown command '%s'\n", command);
    PrintUsage();
    return 2;
}
