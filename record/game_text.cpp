#include "record/game_text.h"

#include "core/notation.h"
#include "core/position_text.h"
#include "record/record_file.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsBlackDisc(char c) { return c == 'X' || c == 'x' || c == '*' || c == 'B' || c == 'b'; }
bool IsWhiteDisc(char c) { return c == 'O' || c == 'o' || c == 'W' || c == 'w'; }
bool IsEmptyCell(char c) { return c == '-' || c == '.'; }
bool IsRowDigit(char c) { return c >= '1' && c <= '8'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Reads 64 cells (blanks skipped) into pos; at is left after the last.
bool ReadBoardString(std::string_view text, std::size_t& at, Position& pos) {
    InitBoard(pos);
    for (int k = 0; k < 64; ++at) {
        if (at >= text.size()) return false;
        const char c = text[at];
        if (IsBlank(c)) continue;
        const Square sq = (k / 8 + 1) * 10 + (k % 8 + 1);
        if (IsBlackDisc(c)) pos.board[sq] = Black;
        else if (IsWhiteDisc(c)) pos.board[sq] = White;
        else if (IsEmptyCell(c)) pos.board[sq] = Empty;
        else return false;
        ++k;
    }
    return true;
}

// An optional side to move after the board. "b" followed by a row digit is
// the move b1..b8, not Black.
int ReadSideToMove(std::string_view text, std::size_t& at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at >= text.size()) return 0;
    const char c = text[at];
    const bool moveAhead = at + 1 < text.size() && IsRowDigit(text[at + 1]);
    if (IsWhiteDisc(c)) { ++at; return 1; }
    if (IsBlackDisc(c) && !(Lower(c) == 'b' && moveAhead)) { ++at; return 0; }
    return 0;
}

bool ReadTranscript(std::string_view text, std::size_t at, PastedText& out) {
    while (at < text.size()) {
        const char c = text[at];
        if (IsBlank(c) || c == '.' || (c >= '0' && c <= '9')) {
            ++at;  // blanks, dots and move numbers
            continue;
        }
        const char next = at + 1 < text.size() ? text[at + 1] : '\0';
        Square ply;
        if (Lower(c) >= 'a' && Lower(c) <= 'h' && IsRowDigit(next)) ply = (next - '0') * 10 + (Lower(c) - 'a' + 1);
        else if ((Lower(c) == 'p' && Lower(next) == 'a') || (c == '-' && next == '-')) ply = Pass;
        else return false;
        at += 2;
        if (out.moveCount < PastedMoveRoom) out.moves[out.moveCount] = ply;
        ++out.moveCount;
    }
    return true;
}

}  // namespace

std::string GameTranscriptText(const Position& current, const GameRecord& history) {
    Position start;
    GameStart(current, history, start);
    std::string text;
    if (!IsStandardStart(start)) text = PositionText(start) + "\r\n";
    GameRecord rec = history;
    SeekHistory(rec, 0);
    std::string moves, passes;
    for (Square sq; StepForward(rec, &sq);) {
        if (sq > 0) moves += SquareCode(sq);
        else passes += "PA";
    }
    // Pasting makes every pass that is due around the moves; only a pass
    // with no move after the start has to be written to come back.
    return text + (moves.empty() ? passes : moves);
}

PastedText ParsePastedText(std::string_view text) {
    PastedText out;
    std::size_t at = 0;
    out.hasBoard = ReadBoardString(text, at, out.start);
    if (out.hasBoard) {
        out.start.sideToMove = ReadSideToMove(text, at);
    } else {
        at = 0;
        SetInitialPosition(out.start);
    }
    if (!ReadTranscript(text, at, out) || (!out.hasBoard && out.moveCount == 0)) return PastedText{};
    out.kind = out.hasBoard ? PastedKind::BoardString : PastedKind::Transcript;
    return out;
}

PasteOutcome PasteGame(std::string_view text, Position& pos, GameRecord& rec) {
    const PastedText pasted = ParsePastedText(text);
    PasteOutcome outcome;
    outcome.kind = pasted.kind;
    if (pasted.kind == PastedKind::Neither) return outcome;
    Position game = pasted.start;
    GameRecord history;
    ResetHistory(history);
    // No game has as many plies as the room, so a longer text is refused at
    // a move within it.
    const int written = pasted.moveCount < PastedMoveRoom ? pasted.moveCount : PastedMoveRoom;
    int played = 0;
    for (; played < written; ++played) {
        const Square ply = pasted.moves[played];
        const FlipRecord none{};
        // A pass left out of the transcript is made where it is due.
        if (ply > 0 && CountLegalMoves(game, game.sideToMove) == 0) {
            if (!AppendPly(history, Pass, none, 0)) break;
            game.sideToMove ^= 1;
        }
        FlipRecord flips{};
        const int colour = ColourOfSide(game.sideToMove);
        bool legal;
        if (ply > 0) legal = game.board[ply] == Empty && PlayMove(game, ply, colour, flips) > 0;
        else legal = CountLegalMoves(game, game.sideToMove) == 0;
        if (legal && !AppendPly(history, ply, flips, 0)) {
            if (ply > 0) UndoMove(game, ply, colour, flips);
            legal = false;
        }
        if (!legal) break;
        game.sideToMove ^= 1;
        if (ply > 0) ++outcome.movesTaken;
    }
    if (played < pasted.moveCount) outcome.refused = played < written ? pasted.moves[played] : -1;
    // A pass due after the last move is made as well, so that a game copied
    // without its passes pastes back with the same side to move.
    if (played == pasted.moveCount && played > 0 && CountLegalMoves(game, game.sideToMove) == 0 &&
        AppendPly(history, Pass, FlipRecord{}, 0))
        game.sideToMove ^= 1;
    // Nothing of a text whose first move cannot be played is taken.
    if (pasted.moveCount > 0 && played == 0) return outcome;
    outcome.accepted = true;
    int black, white;
    RecountPosition(game, black, white);
    pos = game;
    rec = history;
    return outcome;
}
