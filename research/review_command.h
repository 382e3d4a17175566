// The game review command (1403): its parameters, the job on the search
// thread and its progress, and the results it leaves with the game.
// Windows code.
#pragma once

#include <windows.h>

#include "research/game_review.h"

// Command 1403 after the command gate.
void StartGameReview(HWND window);
// MsgResearchReady with the review's kind: the job is done.
void ShowReviewResults(HWND window);
// MsgReviewProgress: the ply being valued and the moves left.
void ShowReviewProgress(HWND window, int ply, int left);

// The last finished review while the game's moves are those it valued,
// else null (a changed history drops it).
const ReviewResult* KeptReview(const ReviewGame& game);
const OpeningInfo& KeptOpening();
