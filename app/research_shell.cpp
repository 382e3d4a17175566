// The shell's side of the research commands' interface: each step forwards
// to the shell's own procedure.
#include "research/research_shell.h"

#include "app/clipboard_commands.h"
#include "app/commands.h"
#include "app/history_commands.h"
#include "app/help.h"
#include "app/record_commands.h"
#include "app/toolbar.h"
#include "app/turn_loop.h"
#include "res/resource.h"

static_assert(AnalysisHelpContext == IDD_ANALYSIS_PARAMS, "a help context is its dialog's id");
static_assert(ReviewHelpContext == IDD_REVIEW_PARAMS, "a help context is its dialog's id");

void ShellBeginJob(HWND window, AppMode mode, UINT message) { BeginJob(window, mode, message); }
void ShellStartJob(HWND window, const ResearchJob& job) { StartJob(window, job); }
void ShellEndJob(HWND window) { EndJob(window); }
bool ShellPlayChosenMove(HWND window) { return PlayChosenMove(window); }
void ShellAnnounceResult(HWND window) { AnnounceResult(window); }
void ShellUpdateToolbar() { UpdateToolbar(); }
void ShellOpenHelp(HWND owner, int context) { OpenHelp(owner, HelpRequest::Context, context); }
std::wstring ShellCommandCaption(HWND window, int command) { return CommandCaption(window, command); }
bool ShellCommandGate(HWND window, int command) { return CommandGate(window, command); }
void ShellTakeRecordGame(HWND window, const RecordGame& game, bool takeKinds) {
    TakeRecordGame(window, game, takeKinds);
}
void ShellShowFileError(HWND owner, const std::wstring& caption, UINT id, const std::wstring& fileName) {
    ShowFileError(owner, caption, id, fileName);
}
void ShellSeekHistory(HWND window, int ply) { SeekHistoryCommand(window, ply); }
bool ShellPutOnClipboard(HWND window, const std::string& text) { return PutOnClipboard(window, text); }
