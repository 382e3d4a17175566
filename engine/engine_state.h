// The state of the one search thread: the weights in force, the evaluation's
// scratch arrays, the empty-square list of the job, the node count, and the
// hooks through which the window controls the search and watches it think.
#pragma once

#include <cstdint>

#include "core/board.h"
#include "engine/search_control.h"

// The thinking display, installed by the window; the search only calls it.
// A null hook or a null entry shows nothing.
struct ThinkingDisplay {
    void* context;
    // The root move being searched, or 0 to clear the mark.
    void (*showSearchMark)(void* context, Square square);
    // The best line so far (ended by 0) and its value for the side to move;
    // the line lives in the search's buffers, so copy it before returning.
    void (*showBestLine)(void* context, const Square* line, int value);
};

constexpr int WeightCount = 12;

struct EngineState {
    std::int32_t evalWeights[WeightCount] = {};
    // Scratch of one evaluation: per cell, capture directions per colour and
    // the disc flags of the line scan.
    std::uint8_t blackCaptures[100] = {};
    std::uint8_t whiteCaptures[100] = {};
    std::uint8_t discFlags[100] = {};
    int leafSide = 0;
    // Empty squares at the start of the job in square order, ended by 0,
    // and the same squares as bit numbers of the fast board.
    Square emptyList[65] = {};
    std::uint8_t emptyBits[64] = {};
    int emptyCount = 0;
    // The squares of emptyList still empty when the solver last went below
    // nine empties, in the same order: the small solver walks only these.
    std::uint8_t smallBits[64] = {};
    int smallCount = 0;
    std::uint8_t smallRank[64] = {};  // place of a square in smallBits

    // Search nodes visited (root, interior, solver and leaf calls).
    std::uint64_t nodes = 0;
    SearchControl* control = nullptr;
    const ThinkingDisplay* display = nullptr;
    // Set once a stop was seen; every node then returns at once.
    bool stopped = false;
};

// Counts the node and reads the control word; true when the search must
// unwind (parks here while a pause is requested).
inline bool NodeMustStop(EngineState& es) {
    ++es.nodes;
    if (es.control && es.control->request.load(std::memory_order_relaxed) != ControlRun &&
        CheckControl(*es.control))
        es.stopped = true;
    return es.stopped;
}

inline void ShowSearchMark(const EngineState& es, Square square) {
    if (es.display && es.display->showSearchMark) es.display->showSearchMark(es.display->context, square);
}

inline void ShowBestLine(const EngineState& es, const Square* line, int value) {
    if (es.display && es.display->showBestLine) es.display->showBestLine(es.display->context, line, value);
}
