#include "view/flip_animation.h"

#include "config/settings.h"
#include "session/game_session.h"
#include "view/board_painting.h"
#include "view/disc_shapes.h"
#include "view/disc_sound.h"
#include "view/drawing_resources.h"
#include "view/flip_sequence.h"
#include "view/panel_fields.h"
#include "view/status_panel.h"

namespace {

bool legalMovesShown = false;

bool SoundOn() { return currentSettings.EffectSound != 0; }

}  // namespace

void AnimateMove(HWND window, Square square, const FlipRecord& flips) {
    GameSession& s = Session();
    const int mover = s.position.sideToMove;
    const int opponent = mover ^ 1;
    const FlipTiming timing = FlipTimingFor(currentSettings.TurnSpeed);
    ++s.position.moveNumber;
    ++s.side[mover].discs;
    DrawSquareFromBoard(window, square);
    RedrawPanelFields(window, PanelMoveNumber | PanelLastMoves | PanelDiscs | PanelColumnOf(mover));
    if (SoundOn()) PlayDiscSound();
    Sleep(timing.placePause);
    if (SoundOn()) StopDiscSound();
    const FlipSequence order = FlipOrder(square, flips);
    for (int i = 0; i < order.count; ++i) {
        ++s.side[mover].discs;
        --s.side[opponent].discs;
        if (SoundOn()) PlayDiscSound();
        AnimateFlip(window, order.squares[i]);
        RedrawPanelFields(window, PanelDiscs | PanelBlackColumn | PanelWhiteColumn);
        Sleep(timing.afterPause);
        if (SoundOn()) StopDiscSound();
    }
}

void AnimateFlip(HWND window, Square square) {
    UpdateWindow(window);
    int cells[3];
    if (!FlipPictures(Session().position.board[square], cells)) return;
    const int edgePause = FlipTimingFor(currentSettings.TurnSpeed).edgePause;
    WindowDrawing drawing(window);
    DrawSquare(drawing.dc(), square, cells[0]);
    GdiFlush();
    Sleep(edgePause);
    DrawSquare(drawing.dc(), square, cells[1]);
    GdiFlush();
    Sleep(edgePause);
    DrawSquare(drawing.dc(), square, cells[2]);
}

void ShowPass(HWND window) {
    RedrawPanelFields(window, PanelLastMoves | PanelColumnOf(Session().position.sideToMove));
}

void ShowLegalMoves(HWND window, bool on) {
    if (on) {
        SetCapture(window);
        legalMovesShown = true;
    } else {
        if (!legalMovesShown) return;
        legalMovesShown = false;
        if (GetCapture() == window) ReleaseCapture();
    }
    UpdateWindow(window);
    const Position& pos = Session().position;
    const int colour = ColourOfSide(pos.sideToMove);
    WindowDrawing drawing(window);
    for (Square sq = 11; sq <= 88; ++sq) {
        if (pos.board[sq] == Empty && CanPlay(pos, sq, colour)) DrawSquare(drawing.dc(), sq, on ? MarkCell : EmptyCell);
    }
}
