#include "view/hint_layout.h"

#include <algorithm>

#include "core/notation.h"
#include "view/message_lines.h"

int HintMarks(const HintReport& report, int best, HintMark (&out)[MaxMoves]) {
    HintMove moves[MaxMoves];
    const int n = NarrowHints(report, best, moves);
    for (int i = 0; i < n; ++i) out[i] = {moves[i].square, ValueText(moves[i].value), moves[i].value == moves[0].value};
    return n;
}

LayoutRect HintArea(int u, Square sq) {
    const LayoutRect square = SquareRect(u, sq);
    return {square.left + 3, square.top + 3, square.right - 2, square.bottom - 1};
}

HintFontSize HintFontFor(int u, std::size_t textLength) {
    const int height = std::max(8, u + 4);
    const int room = HintArea(u, 11).Width() / static_cast<int>(std::max<std::size_t>(textLength, 1));
    return {height, std::max(3, std::min(height / 2, room))};
}

std::string HintDepthText(const HintStep& step, std::string_view depthForm, std::string_view exactForm) {
    std::string text;
    if (step.exact) {
        text = exactForm;
    } else {
        const std::size_t at = depthForm.find("%d");
        text = depthForm.substr(0, at);
        if (at != std::string_view::npos) text += std::to_string(step.depth) + std::string(depthForm.substr(at + 2));
    }
    MessageLines lines;
    ClearMessageLines(lines);
    LayOutStatusMessage(lines, text);
    return MessageLineText(lines, 0);
}
