#include "research/analysis_form.h"

#include <cstdio>

#include "core/notation.h"

namespace {

constexpr const char* AllMovesText = "\x91\x53" "\x82\xC4";                   // 全て
constexpr const char* MovesSuffix = "\x8E\xE8";                               // 手
constexpr const char* LookAheadSuffix = "\x8E\xE8\x90\xE6\x93\xC7\x82\xDD";   // 手先読み
constexpr const char* SolvingSuffix = "\x93\xC7\x82\xDD\x90\xD8\x82\xE8";     // 読み切り

int Clamp(long long v, FieldRange range) {
    return v < range.lo ? range.lo : v > range.hi ? range.hi : static_cast<int>(v);
}

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

}  // namespace

AnalysisParams ParamsShownOnOpening(const AnalysisParams& stored, int moveNumber, int legalMoveCount) {
    AnalysisParams shown = stored;
    if (moveNumber < FirstSolvingMoveNumber) shown.method = 1;
    if (shown.method != 0) shown.method = 1;
    if (shown.depth < 1 || shown.depth > AnalysisDepthCount) shown.depth = 1;
    if (shown.weightSet < 0 || shown.weightSet > 2) shown.weightSet = 0;
    if (shown.topN < 0 || legalMoveCount < shown.topN) shown.topN = 0;
    return shown;
}

std::vector<std::string> TopNChoices(int legalMoveCount) {
    std::vector<std::string> choices = {AllMovesText};
    for (int n = 1; n <= legalMoveCount; ++n) choices.push_back(std::to_string(n) + MovesSuffix);
    return choices;
}

int ReadFieldValue(std::string_view text, FieldRange range, int previous) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const size_t digits = i;
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (v < 1000000) v = v * 10 + (text[i] - '0');  // far beyond every range: clamped below
    if (i == digits) return previous;
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i != text.size()) return previous;
    return Clamp(negative ? -v : v, range);
}

bool KeepOrderAfterLow(int low, int& high) {
    if (low < high) return false;
    high = low + 1;
    return true;
}

bool KeepOrderAfterHigh(int& low, int high) {
    if (low < high) return false;
    low = high - 1;
    return true;
}

AnalysisParams ReadBackParams(const AnalysisControls& c) {
    AnalysisParams p;
    p.method = c.evaluationOn ? 1 : 0;
    p.depth = c.depthIndex + 1;
    p.alpha = c.alpha;
    p.beta = c.beta;
    p.weightSet = c.weightButton >= 0 && c.weightButton <= 2 ? c.weightButton : 0;
    p.solveLo = c.solveLo;
    p.solveHi = c.solveHi;
    p.topN = c.topNIndex > 0 ? c.topNIndex : 0;
    return p;
}

std::string AnalysisTitleSuffix(const AnalysisParams& params) {
    if (params.method == 0) return std::string(" - ") + SolvingSuffix;
    return " - " + std::to_string(params.depth) + LookAheadSuffix;
}

std::string ResultLineText(int rank, const ResultEntry& entry) {
    const std::string square = SquareText(entry.line ? entry.line[0] : 0);
    const std::string value = ValueText(entry.value);
    char text[64];
    std::snprintf(text, sizeof text, " %2d  %s  %6s", rank, square.c_str(), value.c_str());
    return text;
}

LineToPlay MakeLineToPlay(const Square* line, bool wholeLine) {
    LineToPlay out = {};
    const int limit = wholeLine ? MaxLineLength : 1;
    for (int i = 0; line && i < limit && line[i] != 0; ++i) out.squares[i] = line[i];
    return out;
}

bool NextMoveOfLine(const Position& pos, const LineToPlay& line, int& next, Square& move) {
    if (next < 0 || next >= MaxLineLength || line.squares[next] == 0 || pos.legalMoveCount < 0) return false;
    if (pos.legalMoveCount == 0) {
        move = 0;
        return true;
    }
    move = line.squares[next++];
    return true;
}
