// The game review's parameter dialog (2600). Windows code.
#pragma once

#include <windows.h>

#include "config/review_settings.h"

// Shows the dialog starting from params; true on OK, with the accepted
// values (corrected into their ranges) in params.
bool AskReviewParams(HWND window, ReviewParams& params);
