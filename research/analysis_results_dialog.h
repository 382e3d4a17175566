// The result dialog of the evaluation analysis. Windows code.
#pragma once

#include <windows.h>

#include "engine/jobs.h"
#include "research/analysis_form.h"

// Lists the results (best first, the first selected) over window; selecting
// another entry shows its line and value in the thinking display. True with
// the line to play for 着手 or a double click (the first move) and 全手順 (the
// whole line); false for Cancel.
bool ChooseAnalysisLine(HWND window, const AnalysisParams& params, const ResultList& results, LineToPlay& line);
