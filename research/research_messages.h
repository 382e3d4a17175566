// The research jobs' completion message. Windows code.
#pragma once

#include <windows.h>

// MsgResearchReady: wParam the kind (ResearchBookSearch, ResearchAnalysis),
// lParam the job's serial. A message of a job that was stopped (or of any
// job but the running research) is dropped.
void HandleResearchReady(HWND window, WPARAM kind, LPARAM serial);
