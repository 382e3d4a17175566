#include "app/turn_rules.h"

bool AcceptClick(const Position& pos, int x, int y, int u, Square& chosen) {
    if (pos.legalMoveCount <= 0) {
        chosen = 0;
        return true;
    }
    const Square sq = SquareFromPoint(x, y, u);
    if (sq == 0 || pos.board[sq] != Empty || !CanPlay(pos, sq, ColourOfSide(pos.sideToMove))) return false;
    chosen = sq;
    return true;
}

bool ChooseAutomaticMove(const Position& pos, Square& chosen) {
    if (pos.legalMoveCount < 0 || pos.legalMoveCount > 1) return false;
    Square last = 0;
    CountLegalMoves(pos, pos.sideToMove, &last);
    chosen = last;
    return true;
}

bool IsLegalChoice(const Position& pos, Square move) {
    if (move == 0) return pos.legalMoveCount == 0;
    return IsPlayable(move) && pos.board[move] == Empty && CanPlay(pos, move, ColourOfSide(pos.sideToMove));
}
