#include "core/position_text.h"

void SetInitialPosition(Position& pos) {
    InitBoard(pos);
    pos.moveNumber = 0;
    pos.sideToMove = 0;
    pos.legalMoveCount = CountLegalMoves(pos, 0);
}

bool ParsePositionText(const std::string& text, Position& pos) {
    std::string cells;
    std::size_t i = 0;
    for (; i < text.size() && cells.size() < 64; ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        cells += c;
    }
    if (cells.size() != 64) return false;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= text.size()) return false;
    int side;
    switch (text[i]) {
        case 'X': case 'x': case '*': case 'B': case 'b': side = 0; break;
        case 'O': case 'o': case 'W': case 'w': side = 1; break;
        default: return false;
    }
    InitBoard(pos);
    for (int k = 0; k < 64; ++k) {
        const Square sq = (k / 8 + 1) * 10 + (k % 8 + 1);
        switch (cells[k]) {
            case 'X': case 'x': case '*': pos.board[sq] = Black; break;
            case 'O': case 'o': pos.board[sq] = White; break;
            case '-': case '.': pos.board[sq] = Empty; break;
            default: return false;
        }
    }
    pos.sideToMove = side;
    int black, white;
    RecountPosition(pos, black, white);
    return true;
}

std::string PositionText(const Position& pos) {
    std::string t;
    for (int k = 0; k < 64; ++k) {
        const Square sq = (k / 8 + 1) * 10 + (k % 8 + 1);
        const std::uint8_t c = pos.board[sq];
        t += c == Black ? 'X' : c == White ? 'O' : '-';
    }
    t += pos.sideToMove == 0 ? " X" : " O";
    return t;
}
