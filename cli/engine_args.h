// Argument reading and result printing shared by the engine commands of
// tavix-cli.
#pragma once

#include "engine/midgame.h"

struct Position;

// A whole decimal integer; false on anything else.
bool ReadInteger(const char* text, int& value);
// "A", "B" or "C" (either case) to 0..2; false otherwise.
bool ReadWeightSet(const char* text, int& set);
// "--slots N" (1..40) or "--window LO HI" (LO < HI) at argv[i]: advances i
// past its values and returns true when it is that option and well formed.
bool ReadSlotsOption(int argc, char** argv, int& i, int& slots);
bool ReadWindowOption(int argc, char** argv, int& i, int& lo, int& hi);

// "--literal" (the levels' fixed tree instead of the study search) or
// "--threads N" (1..8, the study search's threads) at argv[i]; advances i
// past its value and returns true when it is that option and well formed.
struct EngineChoice {
    bool fixedTree = false;
    int threads = 0;  // 0: every core
};
bool ReadEngineOption(int argc, char** argv, int& i, EngineChoice& choice);
// Installs the choice for the analyses that follow; the hooks that say it.
struct JobHooks;
JobHooks ApplyEngineChoice(const EngineChoice& choice);

// Runs the analysis of pos and prints one line per entry: rank, move, value,
// line, values for the side to move.
struct AnalysisParams;
void PrintAnalysis(Position& pos, const AnalysisParams& params, const EngineChoice& choice);
