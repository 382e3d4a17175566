// The storm: a seeded random run of what a user does, at random intervals of
// 0 to 300 ms, against one running Tavix: clicks on legal and illegal squares
// and beside the board, the accelerators, the toolbar, the history keys,
// menus opened and closed or used, the players, set-up, analysis, book,
// clipboard, record and settings commands, with computer players of every
// level and people mixed. After every action the window must answer (within
// 100 ms, or the flip animation's own length more), any box that shows must
// be one the program is expected to show (answered and logged), and at every
// idle check the board drawn must be the game's position from its saved
// record, whose plies must all be legal; the copied transcript must be the
// record's. The program's handles, GDI objects and private memory stay flat
// over the run, its thread count does not grow.
//
// Environment: TAVIX_STORM_SECONDS (default 90), TAVIX_STORM_SEED (default:
// the kept seeds of faults found, in turn). A failure reports the seed and
// the last actions.
// Adding an action is one row of the Actions table.

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/notation.h"
#include "record/record_file.h"
#include "res/resource.h"
#include "tests/e2e/driver.h"
#include "view/layout.h"

namespace {

const std::wstring SaveCaption = L"棋譜の保存";
const std::wstring LoadCaption = L"棋譜の復元";
const std::wstring SetupQuestion = L"盤面設定を終了します。\n\nよろしいですか？";
constexpr int TurnSpeed = 100;
constexpr int CheckEvery = 25;  // actions between idle checks

// What the program holds of the machine at one moment.
struct Figures {
    DWORD handles = 0, gdi = 0, user = 0, threads = 0;
    SIZE_T privateBytes = 0;
    DWORD fileDialogs = 0;  // open and save dialogs shown so far
    std::string threadStarts;  // the modules the threads started in
};

// The handles a process holds, from the system's handle list (where the
// process's own count is not kept, as under Wine).
DWORD HandlesFromSystemList(DWORD processId) {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<std::uint8_t> buffer(1 << 20);
    ULONG needed = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const LONG status = query(16 /* SystemHandleInformation */, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) break;
        if (attempt == 4) return 0;
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const Entry* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    DWORD mine = 0;
    for (ULONG i = 0; i < count && (i + 1) * sizeof(Entry) + sizeof(ULONG_PTR) <= buffer.size(); ++i)
        mine += entries[i].ownerPid == processId;
    return mine;
}

// Where each thread of the process started ("Tavix.exe 2, ntdll.dll 1"): a
// thread of the program's own or one the system started for it.
std::string ThreadStarts(HANDLE process, const std::vector<DWORD>& threads) {
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!query || !EnumProcessModulesEx(process, modules, sizeof modules, &bytes, LIST_MODULES_ALL)) return "";
    const DWORD moduleCount = std::min<DWORD>(bytes / sizeof(HMODULE), std::size(modules));
    std::vector<std::pair<std::string, int>> counts;
    for (DWORD id : threads) {
        std::string where = "?";
        if (HANDLE t = OpenThread(THREAD_QUERY_INFORMATION, FALSE, id)) {
            ULONG_PTR start = 0;
            if (query(t, 9 /* ThreadQuerySetWin32StartAddress */, &start, sizeof start, nullptr) == 0) {
                where = Format("%p", reinterpret_cast<void*>(start));
                for (DWORD m = 0; m < moduleCount; ++m) {
                    MODULEINFO info = {};
                    wchar_t name[MAX_PATH] = {};
                    const ULONG_PTR base = reinterpret_cast<ULONG_PTR>(modules[m]);
                    if (GetModuleInformation(process, modules[m], &info, sizeof info) && start >= base &&
                        start < base + info.SizeOfImage && GetModuleBaseNameW(process, modules[m], name, MAX_PATH))
                        where = Narrow(name);
                }
            }
            CloseHandle(t);
        }
        auto known = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == where; });
        if (known == counts.end()) counts.emplace_back(where, 1);
        else ++known->second;
    }
    std::string text;
    for (const auto& [where, n] : counts) text += (text.empty() ? "" : ", ") + where + Format(" %d", n);
    return text;
}

Figures Measure(const Program& p) {
    Figures f;
    HANDLE process = p.process.hProcess;
    static bool told = false;
    if (!GetProcessHandleCount(process, &f.handles) || f.handles == 0) f.handles = HandlesFromSystemList(p.process.dwProcessId);
    f.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    if (!f.gdi && !told) Note(Format("GetGuiResources: error %lu", GetLastError()));
    f.user = GetGuiResources(process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        f.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    else if (!told)
        Note(Format("GetProcessMemoryInfo: error %lu", GetLastError()));
    if (!told) Note(Format("memory: working set %lu KiB, page file %lu KiB, private %lu KiB",
                           static_cast<unsigned long>(memory.WorkingSetSize / 1024),
                           static_cast<unsigned long>(memory.PagefileUsage / 1024),
                           static_cast<unsigned long>(memory.PrivateUsage / 1024)));
    told = true;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread = {};
    thread.dwSize = sizeof thread;
    std::vector<DWORD> ids;
    if (snapshot != INVALID_HANDLE_VALUE && Thread32First(snapshot, &thread)) {
        do
            if (thread.th32OwnerProcessID == p.process.dwProcessId) ids.push_back(thread.th32ThreadID);
        while (Thread32Next(snapshot, &thread));
    }
    if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
    f.threads = static_cast<DWORD>(ids.size());
    f.threadStarts = ThreadStarts(process, ids);
    return f;
}

// GDI and USER counts read 0 where the system does not keep them (Wine).
std::string Describe(const Figures& f) {
    const std::string gui = f.gdi || f.user ? Format("GDI %lu, USER %lu", f.gdi, f.user) : "GDI/USER not kept here";
    return Format("handles %lu, %s, threads %lu (%s), private %lu KiB", f.handles, gui.c_str(), f.threads,
                  f.threadStarts.c_str(), static_cast<unsigned long>(f.privateBytes / 1024));
}

struct Storm {
    Program tavix;
    HWND w = nullptr;
    std::uint64_t state = 0;
    std::vector<std::string> log;
    std::wstring scratch;
    int actions = 0, boxes = 0, checks = 0, saved = 0, probes = 0, late = 0;
    DWORD fileDialogs = 0;
    // Any answer; an answer with no disc changing meanwhile (less the idle
    // thread's); the idle thread's.
    DWORD worstAnswer = 0, worstStill = 0, worstReference = 0;
    std::string worstWhat;
    bool checking = false;  // an idle check answers the set-up question with Yes
    std::vector<Figures> figures;

    // xorshift64*: the same sequence from the same seed everywhere.
    unsigned Next(unsigned n) {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return n ? static_cast<unsigned>((state * 2685821657736338717ULL) >> 33) % n : 0;
    }
    bool Chance(unsigned percent) { return Next(100) < percent; }
    void Log(const std::string& line) {
        log.push_back(Format("%5d ", actions) + line);
        if (log.size() > 60) log.erase(log.begin());
    }
};

// ---------------------------------------------------------------------------
// Boxes and dialogs

std::vector<HWND> OpenDialogs(const Storm& s) {
    std::vector<HWND> open;
    for (HWND d : FindProcessWindows(s.tavix.process.dwProcessId, L"#32770"))
        if (IsWindowVisible(d) && IsWindowEnabled(d)) open.push_back(d);
    return open;
}

bool IsFileDialog(HWND d) { return GetDlgItem(d, 0x47C) || GetDlgItem(d, 0x480); }
bool IsPlayersDialog(HWND d) { return GetDlgItem(d, IDC_PLAYERS_BLACK) != nullptr; }
bool IsSettingsDialog(HWND d) { return FindDialogItem(d, IDC_SETTINGS_TABS) != nullptr; }
bool IsParamsDialog(HWND d) { return GetDlgItem(d, IDC_ANALYSIS_DEPTH) != nullptr; }
bool IsReviewParams(HWND d) { return GetDlgItem(d, IDC_REVIEW_DEPTH) != nullptr; }

void Press(HWND d, int button) {
    PressButton(d, button);
    WaitUntil([&] { return !IsWindow(d) || !IsWindowVisible(d); }, 5000);
}

// Answers one box the program may show by itself or after an action:
// false when the dialog is none of them.
bool AnswerBox(Storm& s, HWND d) {
    const std::wstring caption = WindowText(d);
    std::string answer;
    // The dialogs of commands, also from the toolbar and the menus.
    if (IsPlayersDialog(d) || IsParamsDialog(d) || IsReviewParams(d)) {
        const bool ok = s.Chance(50);
        answer = Narrow(caption) + (ok ? ": OK" : ": cancel");
        Press(d, ok ? IDOK : IDCANCEL);
    } else if (IsSettingsDialog(d) || IsFileDialog(d)) {
        s.fileDialogs += IsFileDialog(d) ? 1 : 0;
        answer = Narrow(caption) + ": cancel";
        Press(d, IDCANCEL);
    } else if (GetDlgItem(d, IDC_RESULTS_LIST)) {
        const bool play = s.Chance(50);
        answer = play ? "analysis results: play the move" : "analysis results: cancel";
        Press(d, play ? IDOK : IDCANCEL);
    } else if (GetDlgItem(d, IDC_BOOK_MOVE_LIST)) {
        const bool play = s.Chance(50);
        answer = play ? "book moves: play the move" : "book moves: cancel";
        Press(d, play ? IDOK : IDCANCEL);
    } else {
        const std::wstring text = MessageBoxText(d);
        if (caption == L"終局" && GetDlgItem(d, IDOK)) {
            answer = "result: " + Narrow(text);
            Press(d, IDOK);
        } else if (text == SetupQuestion) {
            const bool yes = s.checking || s.Chance(60);
            answer = std::string("end set-up? ") + (yes ? "yes" : "no");
            Press(d, yes ? IDYES : IDNO);
        } else if (caption == L"貼り付け" && GetDlgItem(d, IDOK)) {
            answer = "paste refused: " + Narrow(text);
            Press(d, IDOK);
        } else if (caption == L"定石手探索" && GetDlgItem(d, IDOK)) {
            answer = "no book move: " + Narrow(text);
            Press(d, IDOK);
        } else if (caption == SaveCaption && GetDlgItem(d, IDYES)) {
            answer = "overwrite: yes";
            Press(d, IDYES);
        } else {
            return false;
        }
    }
    ++s.boxes;
    s.Log("  box " + answer);
    return true;
}

// Answers every box that is open; fails on any dialog that is not expected
// (a dialog an action closed is given a moment to go).
void SettleBoxes(Storm& s) {
    for (int round = 0; round < 40; ++round) {
        const std::vector<HWND> open = OpenDialogs(s);
        if (open.empty()) return;
        HWND d = open.back();
        if (!AnswerBox(s, d) && !WaitUntil([&] { return !IsWindow(d) || !IsWindowVisible(d); }, 2000))
            Fail("an unexpected dialog \"" + Narrow(WindowText(d)) + "\": " + Narrow(MessageBoxText(d)));
        Pause(50);
    }
    Fail("boxes keep coming");
}

// Wine's 32-bit open and save dialogs have taken more than 8 s to show on
// a crowded machine (created, not yet visible, the main window disabled):
// slow, not stuck. A command not offered still ends the wait after 3 s.
constexpr DWORD FileDialogWait = 30000;

// Waits for the dialog an action asked for, answering expected boxes that
// come first; nullptr when it does not come (the command was not offered:
// the main window stays enabled for 3 s).
HWND AwaitDialog(Storm& s, bool (*wanted)(HWND), DWORD timeoutMs) {
    const ULONGLONG start = GetTickCount64(), until = start + timeoutMs;
    ULONGLONG enabledSince = start;
    while (GetTickCount64() < until) {
        if (!IsWindowEnabled(s.w)) enabledSince = GetTickCount64();
        else if (GetTickCount64() - enabledSince > 3000) break;
        for (HWND d : OpenDialogs(s)) {
            if (wanted(d)) {
                const DWORD took = static_cast<DWORD>(GetTickCount64() - start);
                if (took > 8000) Note(Format("storm: action %d: a dialog took %lu ms to show", s.actions, took));
                return d;
            }
            if (!IsFileDialog(d) && !AnswerBox(s, d) &&
                !WaitUntil([&] { return !IsWindow(d) || !IsWindowVisible(d); }, 2000))
                Fail("an unexpected dialog \"" + Narrow(WindowText(d)) + "\"");
        }
        Pause(30);
    }
    std::string seen;
    for (HWND d : FindProcessWindows(s.tavix.process.dwProcessId, L"#32770"))
        seen += Format(" [%s visible %d enabled %d]", Narrow(WindowText(d)).c_str(), IsWindowVisible(d), IsWindowEnabled(d));
    s.Log(Format("   no dialog after %lu ms; main window enabled %d;", static_cast<DWORD>(GetTickCount64() - start),
                 IsWindowEnabled(s.w)) + seen);
    return nullptr;
}

// ---------------------------------------------------------------------------
// The board

Position PositionOf(const std::string& board) {
    Position pos;
    InitBoard(pos);
    for (int i = 0; i < 64; ++i)
        pos.board[(i / 8 + 1) * 10 + i % 8 + 1] = board[i] == 'X' ? Black : board[i] == 'O' ? White : Empty;
    return pos;
}

std::vector<Square> LegalSquares(const std::string& board) {
    const Position pos = PositionOf(board);
    std::vector<Square> legal;
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 8; ++column) {
            const Square sq = row * 10 + column;
            if (pos.board[sq] == Empty && (CanPlay(pos, sq, Black) || CanPlay(pos, sq, White))) legal.push_back(sq);
        }
    return legal;
}

int Differences(const std::string& a, const std::string& b) {
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
}

DWORD AnswerTime(HWND window, DWORD limitMs, bool& answered) {
    const ULONGLONG start = GetTickCount64();
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, limitMs, &result) != 0;
    return static_cast<DWORD>(GetTickCount64() - start);
}

// A window of an idle thread of the driver: how long the machine itself
// takes to hand a message to a waiting thread and the answer back, which on
// a crowded machine can be more than the program's whole allowance.
HWND referenceWindow = nullptr;

DWORD WINAPI RunReferenceWindow(void* ready) {
    referenceWindow = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetEvent(ready);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

HWND ReferenceWindow() {
    if (referenceWindow) return referenceWindow;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(CreateThread(nullptr, 0, RunReferenceWindow, ready, 0, nullptr));
    WaitForSingleObject(ready, 5000);
    CloseHandle(ready);
    return referenceWindow;
}

// The driver's heartbeat: a thread that waits 5 ms at a time through the
// system (under Wine every wait passes its server) and keeps the gaps of
// more than 100 ms it saw, so that a probe tells the program's silence from
// the whole machine (the driver, Wine, the scheduler) standing still.
struct Gap {
    ULONGLONG from, to;
};
SRWLOCK gapsLock = SRWLOCK_INIT;
std::vector<Gap> gaps;

DWORD WINAPI RunHeartbeat(void* event) {
    ULONGLONG last = GetTickCount64();
    for (;;) {
        WaitForSingleObject(event, 5);
        const ULONGLONG now = GetTickCount64();
        if (now - last > 100) {
            AcquireSRWLockExclusive(&gapsLock);
            if (gaps.size() >= 64) gaps.erase(gaps.begin());
            gaps.push_back({last, now});
            ReleaseSRWLockExclusive(&gapsLock);
        }
        last = now;
    }
}

void StartHeartbeat() {
    static bool started = false;
    if (started) return;
    started = true;
    CloseHandle(CreateThread(nullptr, 0, RunHeartbeat, CreateEventW(nullptr, TRUE, FALSE, nullptr), 0, nullptr));
}

// How long within [from, to] the heartbeat stood still.
DWORD StillDuring(ULONGLONG from, ULONGLONG to) {
    ULONGLONG still = 0;
    AcquireSRWLockShared(&gapsLock);
    for (const Gap& g : gaps)
        if (g.to > from && g.from < to) still += std::min(g.to, to) - std::max(g.from, from);
    ReleaseSRWLockShared(&gapsLock);
    return static_cast<DWORD>(still);
}

// The program's answer time less the machine's own at that moment: an idle
// thread's answer just after, or the time the driver itself stood still.
struct Answer {
    DWORD took, reference, still;
    long ran = -1;  // the window thread's processor time meanwhile, ms (-1: not known)
    bool answered;
    DWORD Own() const {
        const DWORD machine = std::max(reference, still);
        return took > machine ? took - machine : 0;
    }
};

// The processor time a thread has had, in 100-ns units; -1 when the
// system does not tell.
long long ThreadTime(HANDLE thread) {
    FILETIME created, ended, kernel, user;
    if (!thread || !GetThreadTimes(thread, &created, &ended, &kernel, &user)) return -1;
    auto units = [](FILETIME t) { return static_cast<long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime; };
    return units(kernel) + units(user);
}

Answer Ask(HWND window, DWORD limitMs) {
    StartHeartbeat();
    Answer a;
    // A late answer with the window thread busy is the program's work; with
    // it idle, it waited (for its search thread, or for the processor).
    HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, GetWindowThreadProcessId(window, nullptr));
    const long long before = ThreadTime(thread);
    const ULONGLONG start = GetTickCount64();
    a.took = AnswerTime(window, limitMs, a.answered);
    a.still = StillDuring(start, GetTickCount64());
    const long long after = ThreadTime(thread);
    if (before >= 0 && after >= before) a.ran = static_cast<long>((after - before) / 10000);
    if (thread) CloseHandle(thread);
    bool ignored = false;
    a.reference = AnswerTime(ReferenceWindow(), 1000, ignored);
    return a;
}

// The window's answer to a message: within 100 ms, or, when discs changed
// meanwhile (a move was being shown), within the rest of that animation,
// (1 + changed squares) x TurnSpeed, and 100 ms more; both beyond what an
// idle thread of the driver takes at the same moment. A late answer fails the
// run when the window does not answer at all (2.2 s), or when it stays late,
// asked again three times 100 ms apart; otherwise it is counted and reported.
void ProbeWindow(Storm& s, const char* when) {
    const std::string before = ReadBoard(s.w);
    const Answer first = Ask(s.w, 100 + 21 * TurnSpeed);
    const int changed = Differences(before, ReadBoard(s.w));
    const DWORD allowed = 100 + (changed ? (1 + changed) * TurnSpeed : 0);
    ++s.probes;
    if (first.took > s.worstAnswer) {
        s.worstAnswer = first.took;
        s.worstWhat = Format("%s, %d squares changed meanwhile, an idle thread took %lu ms, the driver stood still %lu ms",
                             when, changed, first.reference, first.still);
    }
    if (!changed) s.worstStill = std::max(s.worstStill, first.Own());
    s.worstReference = std::max(s.worstReference, first.reference);
    if (first.answered && first.took <= allowed) return;
    std::string retries;
    bool quick = first.answered && first.Own() <= allowed;
    // Unanswered while the driver itself stood still is asked again too.
    const bool stood = first.still + allowed >= first.took;
    for (int attempt = 0; attempt < 3 && (first.answered || stood) && !quick; ++attempt) {
        Pause(100);
        const Answer again = Ask(s.w, 1000);
        retries += Format(" %lu (idle thread %lu, ran %ld)", again.took, again.reference, again.ran);
        quick = again.answered && again.Own() <= 100;
    }
    if (!quick)
        Fail(Format("the window answered after %lu ms %s (allowed %lu ms, %d squares changed meanwhile, an idle "
                    "thread took %lu ms, the driver stood still %lu ms, the window thread ran %ld ms; asked again:%s)",
                    first.took, when, allowed, changed, first.reference, first.still, first.ran, retries.c_str()));
    ++s.late;
    s.Log(Format("   late answer: %lu ms (allowed %lu, idle thread %lu ms, the driver stood still %lu ms, the window "
                 "thread ran %ld ms)%s",
                 first.took, allowed, first.reference, first.still, first.ran,
                 retries.empty() ? "" : (", again" + retries).c_str()));
}

// ---------------------------------------------------------------------------
// Input as a user gives it

bool MainWindowFree(Storm& s) {
    SettleBoxes(s);
    if (!IsWindowEnabled(s.w)) return false;
    Activate(s.w);
    return true;
}

void Key(Storm& s, UINT key, bool control = false, bool shift = false) {
    if (MainWindowFree(s)) SendKey(key, control, shift);
}

bool MenuOpen(Storm& s) {
    for (HWND m : FindProcessWindows(s.tavix.process.dwProcessId, L"#32768"))
        if (IsWindowVisible(m)) return true;
    return false;
}

void CloseMenus(Storm& s) {
    for (int i = 0; i < 3 && MenuOpen(s); ++i) {
        SendKey(VK_ESCAPE);
        Pause(50);
    }
}

// A main-menu command by its access keys, as typed: Alt and the menu's
// letter, then the item's. A grey item leaves the menu open; it is closed.
void MenuCommand(Storm& s, char menu, char item) {
    if (!MainWindowFree(s)) return;
    SendKey(menu, false, false, true);
    if (!WaitUntil([&] { return MenuOpen(s); }, 2000)) {
        s.Log("   the menu did not open");
        return;
    }
    Pause(s.Next(200));
    SendKey(item);
    Pause(100);
    CloseMenus(s);
}

// ---------------------------------------------------------------------------
// The actions

void ClickLegal(Storm& s) {
    const std::vector<Square> legal = LegalSquares(ReadBoard(s.w));
    if (legal.empty()) return;
    const Square sq = legal[s.Next(legal.size())];
    s.Log("   on " + SquareCode(sq));
    ClickSquare(s.w, sq / 10, sq % 10);
}

void ClickIllegal(Storm& s) {
    const std::vector<Square> legal = LegalSquares(ReadBoard(s.w));
    Square sq;
    do sq = (1 + s.Next(8)) * 10 + 1 + s.Next(8);
    while (std::find(legal.begin(), legal.end(), sq) != legal.end());
    s.Log("   on " + SquareCode(sq));
    ClickSquare(s.w, sq / 10, sq % 10);
}

void ClickOutside(Storm& s) {
    const SIZE size = ClientSize(s.w);
    const int u = DisplayUnit(s.w);
    // Beside the board: the labels' band or the status panel.
    const int x = s.Chance(50) ? static_cast<int>(s.Next(3 * u)) : 40 * u + static_cast<int>(s.Next(26 * u));
    const int y = 28 + static_cast<int>(s.Next(static_cast<unsigned>(size.cy - 28)));
    ClickClient(s.w, x, y);
}

void RightClickMenu(Storm& s) {
    if (!MainWindowFree(s)) return;
    const SIZE size = ClientSize(s.w);
    ClickClient(s.w, static_cast<int>(s.Next(size.cx)), 28 + static_cast<int>(s.Next(size.cy - 28)), true);
    Pause(s.Next(300));
    CloseMenus(s);
}

void ToolbarClick(Storm& s) {
    if (!MainWindowFree(s)) return;
    HWND toolbar = MainToolbar(s.w);
    const int count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    if (count <= 0) return;
    const int i = static_cast<int>(s.Next(count));
    const RECT r = ControlItemRect(s.tavix, toolbar, TB_GETITEMRECT, i);
    s.Log(Format("   button %d", i));
    ClickClient(toolbar, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void HistoryKey(Storm& s) {
    const UINT keys[] = {VK_HOME, VK_PRIOR, VK_NEXT, VK_END};
    Key(s, keys[s.Next(4)]);
}

void OpenAndCloseMenu(Storm& s) {
    if (!MainWindowFree(s)) return;
    const char menus[] = "PRBSOH";
    SendKey(menus[s.Next(6)], false, false, true);
    Pause(s.Next(300));
    CloseMenus(s);
}

void PickListEntry(Storm& s, HWND dialog, int id) {
    HWND list = GetDlgItem(dialog, id);
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    if (count <= 0) return;
    SendMessageW(list, LB_SETCURSEL, s.Next(count), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void PlayersDialog(Storm& s) {
    MenuCommand(s, 'P', 'P');
    HWND d = AwaitDialog(s, IsPlayersDialog, 8000);
    if (!d) return;
    Pause(s.Next(300));
    PickListEntry(s, d, IDC_PLAYERS_BLACK);
    PickListEntry(s, d, IDC_PLAYERS_WHITE);
    const bool ok = s.Chance(60);
    s.Log(Format("   black %d, white %d, %s",
                 static_cast<int>(SendDlgItemMessageW(d, IDC_PLAYERS_BLACK, LB_GETCURSEL, 0, 0)),
                 static_cast<int>(SendDlgItemMessageW(d, IDC_PLAYERS_WHITE, LB_GETCURSEL, 0, 0)), ok ? "OK" : "cancel"));
    Press(d, ok ? IDOK : IDCANCEL);
}

void BoardSetup(Storm& s) {
    MenuCommand(s, 'B', 'S');
    for (unsigned i = 0, n = s.Next(5); i < n; ++i) {
        Pause(s.Next(300));
        const Square sq = (1 + s.Next(8)) * 10 + 1 + s.Next(8);
        s.Log("   set-up click on " + SquareCode(sq));
        if (MainWindowFree(s)) ClickSquare(s.w, sq / 10, sq % 10);
    }
    if (s.Chance(20)) MenuCommand(s, 'B', s.Chance(50) ? 'R' : 'T');
    Pause(s.Next(300));
    const bool accept = s.Chance(60);
    s.Log(accept ? "   end set-up" : "   cancel set-up");
    MenuCommand(s, 'B', accept ? 'E' : 'C');
}

void StartAnalysis(Storm& s) {
    MenuCommand(s, 'S', 'V');
    HWND d = AwaitDialog(s, IsParamsDialog, 8000);
    if (!d) return;
    // The shallow depths: the storm wants many analyses, not deep ones.
    HWND depth = GetDlgItem(d, IDC_ANALYSIS_DEPTH);
    SendMessageW(depth, CB_SETCURSEL, s.Next(3), 0);
    SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_ANALYSIS_DEPTH, CBN_SELCHANGE), reinterpret_cast<LPARAM>(depth));
    Pause(s.Next(300));
    const bool ok = s.Chance(80);
    s.Log(ok ? "   start" : "   cancel");
    Press(d, ok ? IDOK : IDCANCEL);
}

void CloseReviewWindow(Storm& s, HWND review) {
    s.Log("   review window closed");
    PostMessageW(review, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(review); }, 3000);
}

// A shallow review (the storm wants its stop and its window, not its values);
// the review window, once it shows, is closed at once or by the next idle
// check, so that it never stands over the board that check reads.
void GameReview(Storm& s) {
    if (!MainWindowFree(s)) return;
    Key(s, 'G', true);
    HWND d = AwaitDialog(s, IsReviewParams, 8000);
    if (!d) return;
    HWND depth = GetDlgItem(d, IDC_REVIEW_DEPTH);
    SendMessageW(depth, CB_SETCURSEL, s.Next(3), 0);
    SetDlgItemInt(d, IDC_REVIEW_EXACT, 6 + s.Next(4), FALSE);
    const bool ok = s.Chance(80);
    s.Log(ok ? "   review" : "   cancel");
    Press(d, ok ? IDOK : IDCANCEL);
    if (!ok) return;
    HWND review = nullptr;
    WaitUntil([&] {
        const std::vector<HWND> found = FindProcessWindows(s.tavix.process.dwProcessId, L"TavixReview");
        review = found.empty() ? nullptr : found.front();
        return review != nullptr && IsWindowVisible(review);
    }, static_cast<DWORD>(s.Next(3000)));
    if (review && IsWindowVisible(review) && s.Chance(70)) CloseReviewWindow(s, review);
}

// The command stores the setting at once (the menu's check mark is only set
// when the menu opens).
bool HintsOn() {
    DWORD on = 0;
    return ReadTavixRegistryDword(L"Configuration", L"Hints", on) && on != 0;
}

void ValidPaste(Storm& s) {
    Position pos;
    InitBoard(pos);
    int side = 0;
    std::string text;
    for (unsigned i = 0, n = 1 + s.Next(20); i < n; ++i) {
        std::vector<Square> legal;
        for (Square sq = 11; sq <= 88; ++sq)
            if (pos.board[sq] == Empty && CanPlay(pos, sq, ColourOfSide(side))) legal.push_back(sq);
        if (legal.empty()) break;
        const Square sq = legal[s.Next(legal.size())];
        FlipRecord flips;
        PlayMove(pos, sq, ColourOfSide(side), flips);
        text += SquareCode(sq);
        side ^= 1;
    }
    s.Log("   " + text);
    WriteClipboardText(Widen(text));
    Key(s, 'V', true);
}

void GarbagePaste(Storm& s) {
    std::wstring text;
    for (unsigned i = 0, n = 1 + s.Next(30); i < n; ++i) text += static_cast<wchar_t>(L' ' + s.Next(95));
    s.Log("   " + Narrow(text));
    WriteClipboardText(text);
    Key(s, 'V', true);
}

std::wstring ScratchFile(Storm& s) { return s.scratch + Widen(Format("game%u.rgm", s.Next(3))); }

// Saves through the dialog under a name; true when the dialog came.
bool SaveAs(Storm& s, const std::wstring& path) {
    const bool exists = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    Key(s, 'S', true);
    if (!AwaitDialog(s, IsFileDialog, FileDialogWait)) return false;
    ++s.fileDialogs;
    ChooseFileInDialog(s.tavix, SaveCaption, path);
    if (exists) {
        HWND q = AwaitDialog(s, [](HWND d) { return GetDlgItem(d, IDYES) != nullptr && !IsFileDialog(d); }, 5000);
        Check(q && WindowText(q) == SaveCaption, "no overwrite question");
        Press(q, IDYES);
    }
    WaitUntil([&] { return IsWindowEnabled(s.w) && OpenDialogs(s).empty(); }, 5000);
    ++s.saved;
    return true;
}

void Save(Storm& s) {
    const std::wstring path = ScratchFile(s);
    s.Log("   as " + Narrow(path));
    SaveAs(s, path);
}

void Load(Storm& s) {
    const std::wstring path = ScratchFile(s);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    s.Log("   " + Narrow(path));
    Key(s, 'L', true);
    if (!AwaitDialog(s, IsFileDialog, FileDialogWait)) return;
    ++s.fileDialogs;
    ChooseFileInDialog(s.tavix, LoadCaption, path);
    WaitUntil([&] { return IsWindowEnabled(s.w) && OpenDialogs(s).empty(); }, 5000);
}

void SettingsCancel(Storm& s) {
    MenuCommand(s, 'O', 'C');
    HWND d = AwaitDialog(s, IsSettingsDialog, 8000);
    if (!d) return;
    HWND tabs = FindDialogItem(d, IDC_SETTINGS_TABS);
    for (unsigned i = 0, n = s.Next(3); i < n; ++i) {
        Pause(s.Next(300));
        const int page = static_cast<int>(s.Next(4));
        SendMessageW(tabs, TCM_SETCURFOCUS, page, 0);
    }
    Pause(s.Next(300));
    Press(d, IDCANCEL);
}

void Wait(Storm& s) { Pause(s.Next(1500)); }

struct StormAction {
    const char* name;
    int weight;
    void (*run)(Storm&);
};

const StormAction Actions[] = {
    {"click a legal square", 14, ClickLegal},
    {"click an illegal square", 4, ClickIllegal},
    {"click beside the board", 3, ClickOutside},
    {"right-click menu", 2, RightClickMenu},
    {"F2", 3, [](Storm& s) { Key(s, VK_F2); }},
    {"F3", 3, [](Storm& s) { Key(s, VK_F3); }},
    {"toolbar button", 4, ToolbarClick},
    {"history key", 6, HistoryKey},
    {"menu opened and closed", 3, OpenAndCloseMenu},
    {"players dialog", 2, PlayersDialog},
    {"new board", 1, [](Storm& s) { MenuCommand(s, 'P', 'N'); }},
    {"board set-up", 2, BoardSetup},
    {"analysis", 2, StartAnalysis},
    {"research stop", 2, [](Storm& s) { MenuCommand(s, 'S', 'B'); }},
    {"book search", 2, [](Storm& s) { MenuCommand(s, 'S', 'S'); }},
    {"paste a game", 2, ValidPaste},
    {"paste garbage", 1, GarbagePaste},
    {"copy the game", 1, [](Storm& s) { Key(s, 'C', true); }},
    {"copy the position", 1, [](Storm& s) { Key(s, 'C', true, true); }},
    {"save", 1, Save},
    {"load", 1, Load},
    {"settings cancelled", 1, SettingsCancel},
    {"game review", 1, GameReview},
    {"hints on or off", 2, [](Storm& s) { Key(s, 'H', true); }},
    {"wait", 3, Wait},
};

const StormAction& ChooseAction(Storm& s) {
    int total = 0;
    for (const StormAction& a : Actions) total += a.weight;
    int pick = static_cast<int>(s.Next(total));
    for (const StormAction& a : Actions) {
        if (pick < a.weight) return a;
        pick -= a.weight;
    }
    return Actions[0];
}

// ---------------------------------------------------------------------------
// The idle check

int RecordedPlies(const std::string& bytes) {
    int plies = 0;
    for (size_t at = 0; (at = bytes.find("\n", at)) != std::string::npos; ++at)
        if (at + 3 < bytes.size() && isdigit(static_cast<unsigned char>(bytes[at + 1])) &&
            isdigit(static_cast<unsigned char>(bytes[at + 2])) && bytes[at + 3] == '=')
            ++plies;
    return plies;
}

std::string StableBoard(Storm& s) {
    std::string last = ReadBoard(s.w), now;
    WaitUntil(
        [&] {
            Pause(150);
            now = ReadBoard(s.w);
            const bool same = now == last && now.find('?') == std::string::npos;
            last = now;
            return same;
        },
        5000);
    return last;
}

// Stops the game (F3: the turn or the computer's thinking ends, a set-up is
// ended), goes to the end of the history, saves the record and compares.
void IdleCheck(Storm& s) {
    s.checking = true;
    ++s.checks;
    s.Log("idle check");
    for (int i = 0; i < 3; ++i) {
        Key(s, VK_F3);
        MenuCommand(s, 'S', 'B');
        SettleBoxes(s);
        Pause(200);
    }
    // The board is read from the screen: no review window over it, no
    // values in its squares.
    for (HWND review : FindProcessWindows(s.tavix.process.dwProcessId, L"TavixReview")) CloseReviewWindow(s, review);
    if (HintsOn()) {
        s.Log("   hints off");
        Key(s, 'H', true);
        WaitUntil([&] { return !HintsOn(); }, 3000);
    }
    Key(s, VK_END);
    const std::wstring path = s.scratch + L"check.rgm";
    std::string bytes;
    DeleteFileW(path.c_str());
    if (!SaveAs(s, path)) Fail("the save dialog did not come for the idle check");
    Check(WaitUntil([&] { return ReadFileBytes(path, bytes) && !bytes.empty(); }, 5000), "the check record was not saved");
    RecordGame game;
    Check(ReadRecordText(bytes, game), "the saved record does not read back: " + bytes);
    const int plies = RecordedPlies(bytes);
    Check(plies == game.record.endIndex,
          Format("the saved history is not a legal game: %d plies written, %d legal", plies, game.record.endIndex));
    const std::string expected = BoardText(game.position);
    const std::string seen = StableBoard(s);
    if (seen != expected) {
        // Whether the program holds another position or only drew it wrong:
        // the whole window painted again.
        RedrawWindow(s.w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const std::string repainted = StableBoard(s);
        Fail("the board drawn is not the saved game's: " + seen + " instead of " + expected +
             (repainted == expected ? " (drawn right once the window was painted again)"
                                    : ", and painted again " + repainted));
    }
    // The transcript copied is the record's plies.
    Position start;
    GameStart(game.position, game.record, start);
    if (IsStandardStart(start) && game.record.endIndex > 0) {
        std::string copied;
        for (int attempt = 0; attempt < 3 && copied.empty(); ++attempt) {
            WriteClipboardText(L"");
            Key(s, 'C', true);
            WaitUntil([&] { return !(copied = Narrow(ReadClipboardText())).empty(); }, 2000);
        }
        // Passes are left out of a transcript: a side without a move passes.
        Position replayed;
        InitBoard(replayed);
        int side = 0;
        for (size_t i = 0; i + 1 < copied.size(); i += 2) {
            if (copied.compare(i, 2, "PA") == 0) continue;
            const Square sq = ParseSquareCode(copied.c_str() + i);
            FlipRecord flips;
            if (sq > 0 && !CanPlay(replayed, sq, ColourOfSide(side))) side ^= 1;
            Check(sq > 0 && PlayMove(replayed, sq, ColourOfSide(side), flips) > 0,
                  "the copied transcript is not legal: " + copied);
            side ^= 1;
        }
        Check(BoardText(replayed) == expected,
              "the copied transcript \"" + copied + "\" does not give the saved game's board " + expected);
    }
    Figures f = Measure(s.tavix);
    // A thread started for a moment (the save dialog's just now, or a job
    // still ending) is not one kept: above the fewest seen so far, the count
    // is read again until it settles, for at most 5 s.
    DWORD fewest = f.threads;
    for (const Figures& earlier : s.figures) fewest = std::min(fewest, earlier.threads);
    for (int wait = 0; wait < 50 && f.threads > fewest; ++wait) {
        if (wait == 0) {
            s.Log(Format("   threads %lu (%s) for now", f.threads, f.threadStarts.c_str()));
            Note(Format("storm: action %d: threads %lu (%s) for a moment", s.actions, f.threads, f.threadStarts.c_str()));
        }
        Pause(100);
        const Figures again = Measure(s.tavix);
        f.threads = again.threads;
        f.threadStarts = again.threadStarts;
    }
    s.figures.push_back(f);
    s.figures.back().fileDialogs = s.fileDialogs;
    s.Log("  " + Describe(s.figures.back()));
    s.checking = false;
}

void StormRun(Storm& s, DWORD seconds) {
    const ULONGLONG until = GetTickCount64() + seconds * 1000ULL;
    while (GetTickCount64() < until) {
        const StormAction& a = ChooseAction(s);
        ++s.actions;
        s.Log(a.name);
        a.run(s);
        Pause(s.Next(301));
        ProbeWindow(s, (std::string("after ") + a.name).c_str());
        SettleBoxes(s);
        Check(WaitForSingleObject(s.tavix.process.hProcess, 0) == WAIT_TIMEOUT, "the program ended");
        if (s.actions % CheckEvery == 0) IdleCheck(s);
    }
    IdleCheck(s);
}

DWORD EnvironmentNumber(const wchar_t* name, DWORD fallback) {
    wchar_t value[32];
    const DWORD n = GetEnvironmentVariableW(name, value, 32);
    return n > 0 && n < 32 ? static_cast<DWORD>(wcstoul(value, nullptr, 10)) : fallback;
}

void RunStorm(std::uint64_t seed, DWORD seconds) {
    Storm s;
    s.state = seed * 0x9E3779B97F4A7C15ULL + 1;
    s.scratch = L"C:\\storm\\";
    CreateDirectoryW(s.scratch.c_str(), nullptr);
    const int kinds[] = {Person, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const int black = kinds[s.Next(11)], white = kinds[s.Next(11)];
    StoreGameSettings(black, white);
    StoreTavixRegistryDword(L"Configuration", L"TurnSpeed", TurnSpeed);
    Note(Format("storm: seed %llu, %lu s, black %d, white %d (-1 a person)", static_cast<unsigned long long>(seed),
                seconds, black, white));
    try {
        s.tavix = StartTavix();
        s.w = s.tavix.window;
        Activate(s.w);
        StormRun(s, seconds);
        // Closing: the program ends by itself with code 0.
        PostMessageW(s.w, WM_CLOSE, 0, 0);
        Check(WaitUntil(
                  [&] {
                      for (HWND d : OpenDialogs(s)) AnswerBox(s, d);
                      return WaitForSingleObject(s.tavix.process.hProcess, 0) == WAIT_OBJECT_0;
                  },
                  15000),
              "the program did not end when closed");
        DWORD code = 1;
        GetExitCodeProcess(s.tavix.process.hProcess, &code);
        Check(code == 0, Format("exit code %lu", code));
    } catch (const ScenarioFailure& f) {
        for (const std::string& line : s.log) Note(line);
        Fail(Format("seed %llu, action %d: ", static_cast<unsigned long long>(seed), s.actions) + f.message);
    }
    const Figures& first = s.figures.front();
    const Figures& middle = s.figures[s.figures.size() / 2];
    const Figures& last = s.figures.back();
    Note(Format("storm: %d actions, %d boxes answered, %d idle checks, %d saves; %d answers timed, worst %lu ms (%s), "
                "worst with no disc changing %lu ms beyond an idle thread's, an idle thread's worst %lu ms; %d late "
                "but in time when asked again",
                s.actions, s.boxes, s.checks, s.saved, s.probes, s.worstAnswer, s.worstWhat.c_str(), s.worstStill,
                s.worstReference, s.late));
    if (HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, s.tavix.process.dwThreadId)) {
        Note(Format("storm: the window thread's processor time %lld ms", ThreadTime(thread) / 10000));
        CloseHandle(thread);
    }
    Note("storm: first  " + Describe(first));
    Note("storm: middle " + Describe(middle));
    Note("storm: last   " + Describe(last));
    // Flat: after the first checks nothing piles up. Wine's open and save
    // dialogs each leave one registry key open (ComDlg32\LastVisitedMRU; a
    // bare GetOpenFileNameW does the same), so each may add one handle.
    const DWORD fileDialogHandles = last.fileDialogs - middle.fileDialogs;
    Note(Format("storm: %lu file dialogs from the middle to the end", fileDialogHandles));
    Check(last.handles <= middle.handles + 25 + fileDialogHandles && last.gdi <= middle.gdi + 25 && last.user <= middle.user + 25 &&
              last.privateBytes <= middle.privateBytes + 8 * 1024 * 1024,
          Format("seed %llu: the program's holdings grew from the middle to the end",
                 static_cast<unsigned long long>(seed)));
    DWORD most = 0;
    for (size_t i = s.figures.size() / 2; i < s.figures.size(); ++i) most = std::max(most, s.figures[i].threads);
    if (most > middle.threads)
        for (size_t i = 0; i < s.figures.size(); ++i) Note(Format("storm: check %d: ", static_cast<int>(i) + 1) + Describe(s.figures[i]));
    Check(most <= middle.threads, Format("seed %llu: the thread count grew from %lu to %lu",
                                         static_cast<unsigned long long>(seed), middle.threads, most));
}

}  // namespace

// Seeds whose storms found a fault, kept as the runs CI repeats (sharing its
// time by their weights): 20261208 found the window unanswering while a
// computer thought with the thinking display on (the window drew the
// search's updates until none waited); 20261209 found it waiting on a search
// thread run below its own priority for a menu's pause, and at its action 100
// (about 50 s in) a board left drawn as it was under a review window that
// closed.
struct KeptSeed {
    DWORD seed;
    DWORD weight;
};
constexpr KeptSeed KeptSeeds[] = {{20261208, 1}, {20261209, 2}};

SCENARIO(storm) {
    const DWORD seconds = EnvironmentNumber(L"TAVIX_STORM_SECONDS", 90);
    const DWORD seed = EnvironmentNumber(L"TAVIX_STORM_SEED", 0);
    if (seed) {
        RunStorm(seed, seconds);
        return;
    }
    DWORD weights = 0;
    for (const KeptSeed& kept : KeptSeeds) weights += kept.weight;
    for (const KeptSeed& kept : KeptSeeds) RunStorm(kept.seed, seconds * kept.weight / weights);
}
