#include "core/board.h"

void InitBoard(Position& pos) {
    for (auto& c : pos.board) c = Border;
    for (int row = 1; row <= 8; ++row)
        for (int col = 1; col <= 8; ++col) pos.board[row * 10 + col] = Empty;
    pos.board[44] = White;
    pos.board[45] = Black;
    pos.board[54] = Black;
    pos.board[55] = White;
    pos.discDifference = 0;
}

void SwapColours(Position& pos) {
    for (int sq = 11; sq <= 88; ++sq) {
        std::uint8_t& c = pos.board[sq];
        if (c == Black) c = White;
        else if (c == White) c = Black;
    }
    pos.discDifference = -pos.discDifference;
}

bool CanPlay(const Position& pos, Square sq, int colour) {
    return colour == Black ? CanPlayAs<Black>(pos, sq) : CanPlayAs<White>(pos, sq);
}

int CountFlips(const Position& pos, Square sq, int colour) {
    return colour == Black ? CountFlipsAs<Black>(pos, sq) : CountFlipsAs<White>(pos, sq);
}

int PlayMove(Position& pos, Square sq, int colour, FlipRecord& flips) {
    return colour == Black ? PlayMoveAs<Black>(pos, sq, flips) : PlayMoveAs<White>(pos, sq, flips);
}

void UndoMove(Position& pos, Square sq, int colour, const FlipRecord& flips) {
    if (colour == Black) UndoMoveAs<Black>(pos, sq, flips);
    else UndoMoveAs<White>(pos, sq, flips);
}

int CountLegalMoves(const Position& pos, int side, Square* last) {
    const int own = ColourOfSide(side);
    const int opp = Opponent(own);
    int ownCount = 0, oppCount = 0;
    Square found = 0;
    for (Square sq = 11; sq <= 88; ++sq) {
        if (pos.board[sq] != Empty) continue;
        if (CanPlay(pos, sq, own)) { ++ownCount; found = sq; }
        if (CanPlay(pos, sq, opp)) ++oppCount;
    }
    if (last) *last = found;
    if (ownCount > 0) return ownCount;
    return oppCount > 0 ? 0 : -1;
}

void RecountPosition(Position& pos, int& blackDiscs, int& whiteDiscs) {
    int black = 0, white = 0;
    for (Square sq = 11; sq <= 88; ++sq) {
        if (pos.board[sq] == Black) ++black;
        else if (pos.board[sq] == White) ++white;
    }
    blackDiscs = black;
    whiteDiscs = white;
    pos.moveNumber = black + white - 4;
    pos.legalMoveCount = CountLegalMoves(pos, pos.sideToMove);
    pos.discDifference = black - white;
}

Square SquareFromPoint(int x, int y, int u) {
    const int cell = 4 * u;
    const int left = 4 * u, top = 4 * u + 28;
    if (x <= left || x >= 36 * u || y <= top || y >= 36 * u + 28) return 0;
    if ((x - left) % cell == 0 || (y - top) % cell == 0) return 0;
    const int column = (x - left) / cell;
    const int row = (y - top) / cell;
    return row * 10 + column + 11;
}
