// The evaluation analysis as its two dialogs see it: what the parameter
// dialog shows on opening, how it keeps its value windows ordered and reads
// its controls back, and the texts and the line to play of the result
// dialog. The dialogs only show and forward what these return.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/board.h"
#include "engine/jobs.h"
#include "engine/midgame.h"

// Exact solving is offered only from this move number on (30 or fewer empty
// squares).
constexpr int FirstSolvingMoveNumber = 30;

// The ranges the four window fields offer; each leaves room for the other
// end of its window one step beyond it.
struct FieldRange {
    int lo;
    int hi;
};
constexpr FieldRange AlphaRange = {-999, 998};
constexpr FieldRange BetaRange = {-998, 999};
constexpr FieldRange SolveLoRange = {-64, 63};
constexpr FieldRange SolveHiRange = {-63, 64};

constexpr int AnalysisDepthCount = 20;

// The parameters as the dialog shows them when it opens in a position with
// this move number and legal-move count: the evaluation function where
// exact solving is not offered, and every move where the stored number of
// moves no longer fits. The stored parameters themselves change only on OK.
AnalysisParams ParamsShownOnOpening(const AnalysisParams& stored, int moveNumber, int legalMoveCount);

// The entries of the move-count list: "全て", then "1手" up to the legal-move
// count (Shift-JIS).
std::vector<std::string> TopNChoices(int legalMoveCount);

// The value of a field's text: a decimal number (spaces around it and a sign
// allowed) brought into range, or previous when the text is no number.
int ReadFieldValue(std::string_view text, FieldRange range, int previous);

// A value window after one of its ends was left: when the ends no longer
// stand in order, the other end moves one step beyond the one just left.
// True when the other end moved.
bool KeepOrderAfterLow(int low, int& high);
bool KeepOrderAfterHigh(int& low, int high);

// What the dialog's controls hold when OK is pressed.
struct AnalysisControls {
    bool evaluationOn;     // 2201 on
    int depthIndex;        // selected entry of the depth list
    int alpha, beta;       // the four window fields, already read and ordered
    int solveLo, solveHi;
    int weightButton;      // index of the weight button that is on, -1 none
    int topNIndex;         // selected entry of the move-count list
};

AnalysisParams ReadBackParams(const AnalysisControls& c);

// The result dialog: the suffix of its title (" - 3手先読み", " - 読み切り")
// and the line of one entry: rank, square, value.
std::string AnalysisTitleSuffix(const AnalysisParams& params);
std::string ResultLineText(int rank, const ResultEntry& entry);

// The moves the result dialog hands back: an entry's line, or only its first
// move, ended by 0.
struct LineToPlay {
    Square squares[MaxLineLength + 1];
};
LineToPlay MakeLineToPlay(const Square* line, bool wholeLine);

// The next move of a line being played in pos: a pass (0) while the side to
// move has no move, the line's next square otherwise (next then advances).
// False when the line is done, or the game is over before its end.
bool NextMoveOfLine(const Position& pos, const LineToPlay& line, int& next, Square& move);
