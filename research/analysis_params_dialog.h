// The parameter dialog of the evaluation analysis. Windows code.
#pragma once

#include <windows.h>

#include "engine/jobs.h"

// Shows the dialog over window for the live position, starting from params;
// on OK params takes what it shows and true is returned. Cancel changes
// nothing.
bool AskAnalysisParams(HWND window, AnalysisParams& params);
