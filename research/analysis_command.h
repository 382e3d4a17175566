// The evaluation analysis: command 1401 and the step that shows its results
// and plays what the user chose. Windows code.
#pragma once

#include <windows.h>

// Command 1401 once the command gate let it through: the parameter dialog,
// then the analysis job on the search thread.
void StartEvaluationAnalysis(HWND window);

// The finished analysis job (MsgResearchReady, wParam 1): ends the job,
// shows the result dialog and plays the chosen move or line.
void ShowAnalysisResults(HWND window);
