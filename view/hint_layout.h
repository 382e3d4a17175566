// How hints look on the board: which squares show which value, the block of
// a square the value is drawn in, the size of its font and its colours, and
// the depth line of the message box. The window draws what these return;
// the end-to-end driver draws the same to check the pixels.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/hints.h"
#include "view/layout.h"

struct HintMark {
    Square square;
    std::string text;  // the value for the side to move: "+12", "0", "-5"
    bool best;         // one of the best values
};

// The marks of a report: every valued move, or only the best `best` (0: all).
int HintMarks(const HintReport& report, int best, HintMark (&out)[MaxMoves]);

// The block of a square a disc picture covers (its grid lines left alone);
// the value is drawn centred in it and clipped to it.
LayoutRect HintArea(int u, Square sq);

struct HintFontSize {
    int height;  // cell height in pixels
    int width;   // average character width in pixels
};
// The value's font: small beside the display font, narrowed so that the
// longest value still fits the block.
HintFontSize HintFontFor(int u, std::size_t textLength);

// Ink of an estimate and of an exact value (which is also underlined); a best
// value stands on the mark colour instead of the board.
constexpr std::uint32_t HintEstimateInk = 0x000000;  // black
constexpr std::uint32_t HintExactInk = 0xA00000;     // blue, as a Windows colour value

// The message line that tells the depth reached (the fourth, free while a
// person is to move).
constexpr int HintDepthLine = 3;
// The depth line laid out as a message line (22 bytes, centred): the form for
// a depth with "%d" in it, or the exact form, both Shift-JIS.
std::string HintDepthText(const HintStep& step, std::string_view depthForm, std::string_view exactForm);
