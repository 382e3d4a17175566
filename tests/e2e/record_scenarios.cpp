// End-to-end scenarios of game records: saving through the save dialog and
// loading again from the command line, hand-written files dropped on the
// window, the error boxes, the recent-file list in the registry, the
// clipboard, and the record reader against the platform's own.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/board.h"
#include "core/notation.h"
#include "core/position_text.h"
#include "record/profile_text.h"
#include "res/resource.h"
#include "tests/e2e/driver.h"
#include "view/layout.h"

namespace {

const std::wstring LoadCaption = L"棋譜の復元";
const std::wstring SaveCaption = L"棋譜の保存";
const std::wstring RecentKey = L"Recent File List";

// Two people, quick animation, no sound, no automatic moves.
void StorePeopleSettings() {
    for (const auto& [name, value] :
         {std::pair{L"ThoughtTime", 0}, std::pair{L"TurnSpeed", 100}, std::pair{L"EffectSound", 0},
          std::pair{L"AutoMove", 0}})
        StoreTavixDword(L"Configuration", name, static_cast<DWORD>(value));
    StoreTavixDword(L"Player", L"Black", static_cast<DWORD>(Person));
    StoreTavixDword(L"Player", L"White", static_cast<DWORD>(Person));
}

// Tavix started with two people and a game begun, ready for clicks.
Program StartPeopleGame() {
    StorePeopleSettings();
    Program tavix = StartTavix();
    Activate(tavix.window);
    PostCommand(tavix.window, IDM_GAME_START);
    Pause(300);
    return tavix;
}

// A hand-written file the scenario cannot do without.
void PutFile(const std::wstring& path, const std::string& bytes) {
    Check(WriteFileBytes(path, bytes), "cannot write " + Narrow(path));
}

// A folder whose name has a blank and Japanese in it.
std::wstring RecordFolder() {
    const std::wstring folder = L"C:\\tavix 棋譜";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

// The board as ReadBoard gives it after a transcript from the standard start.
std::string BoardAfter(const std::string& transcript, Position* out = nullptr) {
    Position pos;
    SetInitialPosition(pos);
    for (size_t i = 0; i + 1 < transcript.size(); i += 2) {
        const Square sq = transcript.compare(i, 2, "PA") == 0 ? 0 : ParseSquareCode(transcript.c_str() + i);
        if (sq > 0) {
            FlipRecord flips;
            Check(PlayMove(pos, sq, ColourOfSide(pos.sideToMove), flips) > 0, "the expected game is not legal");
        }
        pos.sideToMove ^= 1;
    }
    if (out) *out = pos;
    return PositionText(pos).substr(0, 64);
}

void WaitForRecordBoard(HWND window, const std::string& board, const std::string& what) {
    std::string seen;
    if (!WaitUntil([&] { return (seen = ReadBoard(window)) == board; }, 5000))
        Fail("the board is not " + what + ": " + seen + " instead of " + board);
}

std::wstring FileErrorText(UINT id, const std::wstring& path) {
    const wchar_t* texts[] = {L"\nこのﾌｧｲﾙが見つかりません。\n\nﾊﾟｽとﾌｧｲﾙ名を確認して下さい。",
                              L"\nこのﾌｧｲﾙを作れません。\n\nﾃﾞｨｽｸの空き容量またはﾌｧｲﾙの属性を確認して下さい。",
                              L"\nﾃﾞｨｽｸがいっぱいです。\n\nﾃﾞｨｽｸの空き容量を確認して下さい。",
                              L"\nこのﾌｧｲﾙは棋譜ﾌｧｲﾙではありません。\n\nﾌｧｲﾙの内容を確認して下さい。"};
    return path + texts[id - IDS_FILE_NOT_FOUND];
}

void ExpectFileError(const Program& tavix, const std::wstring& caption, UINT id, const std::wstring& path) {
    const std::wstring text = TakeMessageBox(tavix, caption);
    Check(text == FileErrorText(id, path), "the box reads \"" + Narrow(text) + "\"");
}

// The game's transcript as the program copies it (Ctrl+C through the menu
// command), once it is the expected one or the tries are over. Wine passes
// the clipboard through the X server, so an older text may show for a
// moment, and under load the emptying of the clipboard can even land after
// the program's copy: the copy is asked for again until it shows.
std::string CopiedGame(HWND window, const std::string& expected) {
    std::string text;
    for (int attempt = 0; attempt < 4; ++attempt) {
        WriteClipboardText(L"");
        PostCommand(window, IDM_RECORD_COPY_GAME);
        if (WaitUntil([&] { return (text = Narrow(ReadClipboardText())) == expected; }, 2000)) break;
    }
    return text;
}

std::vector<std::wstring> StoredRecentFiles() {
    std::vector<std::wstring> files;
    for (int i = 1; i <= 9; ++i) {
        std::wstring value;
        if (!ReadTavixRegistryString(RecentKey, L"File" + std::to_wstring(i), value)) value = L"(missing)";
        files.push_back(value);
    }
    return files;
}

std::string Joined(const std::vector<std::wstring>& items) {
    std::string text;
    for (const std::wstring& i : items) text += " [" + Narrow(i) + "]";
    return text;
}

// Boxes 1 and 2 of the panel (move number, side to move, and per colour the
// player, last move, discs and clock) and the board, as pixels.
std::vector<DWORD> CaptureBoardAndPanel(HWND window) {
    const int u = DisplayUnit(window);
    std::vector<DWORD> all;
    for (int box : {1, 2}) {
        const LayoutRect r = PanelBoxInsideRect(u, box);
        const std::vector<DWORD> part = CaptureClientPixels(window, r.left, r.top, r.right, r.bottom);
        all.insert(all.end(), part.begin(), part.end());
    }
    const std::string board = ReadBoard(window);
    all.insert(all.end(), board.begin(), board.end());
    return all;
}

// Home, then PgDn to the end: the board and panel at every ply of the
// transcript, each read once it shows that ply and has stopped changing.
std::vector<std::vector<DWORD>> WalkThePlies(HWND window, const std::string& transcript) {
    std::vector<std::vector<DWORD>> seen;
    PostCommand(window, IDM_RECORD_TO_START);
    const int plies = static_cast<int>(transcript.size() / 2);
    for (int i = 0; i <= plies; ++i) {
        WaitForRecordBoard(window, BoardAfter(transcript.substr(0, 2 * i)), Format("ply %d", i));
        std::vector<DWORD> now = CaptureBoardAndPanel(window), last;
        for (int tries = 0; tries < 20 && now != last; ++tries) {
            Pause(100);
            last = now;
            now = CaptureBoardAndPanel(window);
        }
        seen.push_back(now);
        if (i < plies) PostCommand(window, IDM_RECORD_FORWARD);
    }
    return seen;
}

// The save dialog's question whether to replace a file.
HWND WaitForOverwriteQuestion(const Program& tavix) {
    HWND question = nullptr;
    WaitUntil(
        [&] {
            question = WaitForDialog(tavix.process.dwProcessId, 100);
            return question && GetDlgItem(question, IDYES);
        },
        5000);
    Check(question && GetDlgItem(question, IDYES) && WindowText(question) == L"棋譜の保存", "no overwrite question");
    return question;
}


// Black passes at ply 13, White's h2 ends the game.
const char* const RecordPassGame[] = {"e6", "f4", "e3", "d2", "g3", "e7", "d6", "g5", "d3", "d7", "c7", "b8", "**", "h2"};

}  // namespace

// A two-person game with a pass, saved through the save dialog: the file
// holds exactly the record's lines; started again with the file's quoted
// name on the command line, the board, the panel and every ply are as they
// were, and the file heads the recent list. A file that is no record on the
// command line is refused with the version text as caption.
SCENARIO(record_saved_game_reloads_from_the_command_line) {
    Program tavix = StartPeopleGame();
    std::string transcript;
    for (const char* ply : RecordPassGame) {
        const Square sq = ParseSquareCode(ply);
        if (sq > 0) ClickSquare(tavix.window, sq / 10, sq % 10);
        else ClickSquare(tavix.window, 8, 8);  // any click passes
        transcript += sq > 0 ? ply : "PA";
        if (ply == RecordPassGame[std::size(RecordPassGame) - 1]) break;  // the result box may cover the board
        WaitForRecordBoard(tavix.window, BoardAfter(transcript), std::string("the one after ") + ply);
        Pause(200);
    }
    Check(TakeMessageBox(tavix, L"終局") == L"白の１７石勝ちです。", "the game did not end as scripted");
    const std::vector<std::vector<DWORD>> before = WalkThePlies(tavix.window, transcript);

    const std::wstring path = RecordFolder() + L"対局 1.rgm";
    PostCommand(tavix.window, IDM_RECORD_SAVE);
    ChooseFileInDialog(tavix, SaveCaption, RecordFolder() + L"対局 1");  // the dialog adds .rgm
    std::string bytes;
    Check(WaitUntil([&] { return ReadFileBytes(path, bytes) && !bytes.empty(); }, 5000), "the record was not saved");
    CloseTavix(tavix);

    // Every line, each ending with CR LF.
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(bytes.substr(at, end - at));
    Check(at == bytes.size(), "the file does not end with CR LF");
    Check(bytes.find('\n') == bytes.find("\r\n") + 1, "a line ends without CR");
    Check(lines.size() == 6 + 14, Format("the file has %d lines", static_cast<int>(lines.size())));
    Check(lines[0] == "[Record of Games]" && lines[1] == "Application=Tavix", "the header is " + lines[0] + lines[1]);
    auto digits = [](const std::string& s, size_t from, char sep) {
        return s.size() == from + 8 && s[from + 2] == sep && s[from + 5] == sep &&
               s.find_first_not_of(std::string("0123456789") + sep, from) == std::string::npos;
    };
    Check(lines[2].rfind("Date=", 0) == 0 && digits(lines[2], 5, '/'), "the date line is " + lines[2]);
    Check(lines[3].rfind("Time=", 0) == 0 && digits(lines[3], 5, ':'), "the time line is " + lines[3]);
    Check(lines[4] == "Black=*" && lines[5] == "White=*", "the players are " + lines[4] + " " + lines[5]);
    for (int n = 1; n <= 14; ++n) {
        const std::string& line = lines[5 + n];
        Check(line.rfind(Format("%02d=%s ", n, RecordPassGame[n - 1]), 0) == 0 && digits(line, 6, ':'),
              Format("ply %d reads ", n) + line);
    }

    Program again = StartTavix(L"\"" + path + L"\"");
    WaitForRecordBoard(again.window, BoardAfter(transcript), "the final one after the reload");
    std::wstring first;
    Check(ReadTavixRegistryString(RecentKey, L"File1", first) && first == path,
          "File1 is \"" + Narrow(first) + "\", not the saved record");
    const std::vector<std::vector<DWORD>> after = WalkThePlies(again.window, transcript);
    for (size_t i = 0; i < before.size(); ++i)
        Check(after[i] == before[i], Format("board or panel differ at ply %d", static_cast<int>(i)));
    CloseTavix(again);

    // The command-line tool reads the same final position from the file.
    Position final;
    BoardAfter(transcript, &final);
    const std::string shown = RunBesideDriver(L"tavix-cli.exe", L"record show \"" + path + L"\"");
    Check(shown.find("\nfinal " + PositionText(final) + "\r\n") != std::string::npos ||
              shown.find("\nfinal " + PositionText(final) + "\n") != std::string::npos,
          "tavix-cli record show prints: " + shown);

    const std::wstring junk = RecordFolder() + L"メモ.txt";
    PutFile(junk, "[Other]\r\nApplication=Tavix\r\n");
    Program refused = LaunchTavix(L"\"" + junk + L"\"");
    ExpectFileError(refused, L"" TAVIX_VERSION_TEXT, IDS_NOT_A_RECORD, junk);
    WaitForMainWindow(refused);
    WaitForRecordBoard(refused.window, BoardAfter(""), "the initial one after a refused command-line file");
    CloseTavix(refused);
}

// Hand-written files dropped on the window one by one: what the loader
// makes of each, and what it refuses without changing the game. A computer
// player is saved as its digit, an unusable kind as a person.
SCENARIO(record_hand_written_files_by_drop) {
    StorePeopleSettings();
    Program tavix = StartTavix();
    const std::string standard = "0000000000000000000000000002100000012000000000000000000000000000";
    const std::string head = "[Record of Games]\r\nApplication=Tavix\r\n";
    struct Case {
        const char* name;
        std::string text;
        const char* transcript;  // the game then shown; nullptr: refused with 3103, nothing changed
    } cases[] = {
        {"three", head + "01=f5\r\n02=d6\r\n03=c3\r\n", "f5d6c3"},
        {"case", "[Record of Games]\r\nApplication=TAVIX\r\n01=f5\r\n", nullptr},
        {"nosection", "Application=Tavix\r\n01=f5\r\n", nullptr},
        {"board63", head + "Board=" + standard.substr(1) + "\r\n01=f5\r\n", "f5"},
        {"board65", head + "Board=" + standard + "0\r\n01=d3\r\n", "d3"},
        {"board3", head + "Board=3" + standard.substr(1) + "\r\n01=c4\r\n", "c4"},
        {"turnwhite", head + "Board=" + standard + "\r\nTurn=white\r\n01=e6\r\n", "e6"},
        {"gap", head + "01=f5 00:00:01\r\n02=d6 00:00:02\r\n04=c4 00:00:04\r\n", "f5d6"},
        {"pass", head + "01=f5\r\n02=**\r\n03=f6\r\n", "f5"},
        {"clocks", head + "01=f5\r\n02=d6 1:00:00\r\n", "f5d6"},
        {"kinds", head + "Black=10\r\nWhite=3\r\n01=f5\r\n02=f6\r\n", "f5f6"},
    };
    std::string shown = "";
    for (const Case& c : cases) {
        const std::wstring path = RecordFolder() + Widen(c.name) + L".rgm";
        PutFile(path, c.text);
        DropFiles(tavix, {path});
        if (!c.transcript) {
            ExpectFileError(tavix, LoadCaption, IDS_NOT_A_RECORD, path);
        } else {
            shown = c.transcript;
        }
        WaitForRecordBoard(tavix.window, BoardAfter(shown), std::string("the game of ") + c.name);
        const std::string copied = CopiedGame(tavix.window, shown);
        Check(copied == shown, std::string("the plies of ") + c.name + " are \"" + copied + "\", not " + shown);
    }
    // The last file had Black=10 and White=3: saved as a person and level 3.
    const std::wstring saved = RecordFolder() + L"resaved.rgm";
    PostCommand(tavix.window, IDM_RECORD_SAVE);
    ChooseFileInDialog(tavix, SaveCaption, saved);
    std::string bytes;
    Check(WaitUntil([&] { return ReadFileBytes(saved, bytes) && !bytes.empty(); }, 5000), "nothing was saved");
    Check(bytes.find("\r\nBlack=*\r\nWhite=3\r\n01=f5 00:00:00\r\n02=f6 00:00:00\r\n") != std::string::npos,
          "the saved players or plies are wrong: " + bytes);

    // Saved at ply 3 of 20: all 20 plies are written and the window stays
    // at ply 3; loading the file shows ply 20.
    const std::string twenty = "f5d6c3d3c4f4f6f3e6e7d7c5b6d8c6c7c2c1b1a1";
    std::string plies;
    for (int n = 1; n <= 20; ++n) plies += Format("%02d=", n) + twenty.substr(2 * n - 2, 2) + " 00:00:00\r\n";
    const std::wstring long20 = RecordFolder() + L"twenty.rgm", at3 = RecordFolder() + L"at ply 3.rgm";
    PutFile(long20, head + plies);
    DropFiles(tavix, {long20});
    WaitForRecordBoard(tavix.window, BoardAfter(twenty), "the twentieth ply");
    PostCommand(tavix.window, IDM_RECORD_TO_START);
    for (int i = 0; i < 3; ++i) PostCommand(tavix.window, IDM_RECORD_FORWARD);
    WaitForRecordBoard(tavix.window, BoardAfter(twenty.substr(0, 6)), "ply 3");
    PostCommand(tavix.window, IDM_RECORD_SAVE);
    ChooseFileInDialog(tavix, SaveCaption, at3);
    Check(WaitUntil([&] { return ReadFileBytes(at3, bytes) && !bytes.empty(); }, 5000), "nothing was saved at ply 3");
    Check(bytes.size() > plies.size() && bytes.compare(bytes.size() - plies.size(), plies.size(), plies) == 0,
          "the record saved at ply 3 is " + bytes);
    Pause(300);
    Check(ReadBoard(tavix.window) == BoardAfter(twenty.substr(0, 6)), "saving moved the window from ply 3");
    DropFiles(tavix, {at3});
    WaitForRecordBoard(tavix.window, BoardAfter(twenty), "ply 20 of the record saved at ply 3");
    CloseTavix(tavix);
}

// The error boxes of loading and saving, and the recent-file list: the
// stored list closes its gaps, a file loaded again moves up whatever its
// letter case, a drop of three files loads each in turn, ten files keep
// the nine newest, a deleted entry is refused and stays, a read-only file
// or a missing folder cannot be saved to and the old file stays as it was.
SCENARIO(record_errors_and_recent_files) {
    StorePeopleSettings();
    const std::wstring folder = RecordFolder();
    std::vector<std::wstring> files;
    for (int i = 0; i < 10; ++i) {
        files.push_back(folder + L"game" + std::to_wstring(i) + L".rgm");
        PutFile(files.back(), "[Record of Games]\r\nApplication=Tavix\r\n01=f5\r\n02=" +
                                         std::string(i % 2 ? "d6" : "f6") + "\r\n");
    }
    StoreTavixString(RecentKey, L"File1", files[0]);
    StoreTavixString(RecentKey, L"File3", files[1]);
    Program tavix = StartTavix();

    // The gap closes: slot 2 (menu item 2) is the third value.
    PostCommand(tavix.window, IDM_RECORD_RECENT_FIRST + 1);
    WaitForRecordBoard(tavix.window, BoardAfter("f5d6"), "the game of the second entry");
    std::vector<std::wstring> want = {files[1], files[0], L"", L"", L"", L"", L"", L"", L""};
    Check(StoredRecentFiles() == want, "the list reads" + Joined(StoredRecentFiles()));

    // The same file in capitals moves up without a second entry.
    std::wstring upper = files[0];
    CharUpperW(upper.data());
    DropFiles(tavix, {upper});
    WaitForRecordBoard(tavix.window, BoardAfter("f5f6"), "the game of the upper-case path");
    want[0] = upper;
    want[1] = files[1];
    Check(StoredRecentFiles() == want, "after the upper-case load the list reads" + Joined(StoredRecentFiles()));

    // Three dropped at once, the middle one no record.
    const std::wstring junk = folder + L"junk.rgm";
    PutFile(junk, "f5d6c3\r\n");
    DropFiles(tavix, {files[2], junk, files[3]});
    ExpectFileError(tavix, LoadCaption, IDS_NOT_A_RECORD, junk);
    WaitForRecordBoard(tavix.window, BoardAfter("f5d6"), "the last good file of the drop");
    want = {files[3], files[2], upper, files[1], L"", L"", L"", L"", L""};
    Check(StoredRecentFiles() == want, "after the drop the list reads" + Joined(StoredRecentFiles()));

    // Ten files: the newest nine stay.
    DropFiles(tavix, {files[4], files[5], files[6], files[7], files[8], files[9], files[0]});
    WaitFor([&] { return StoredRecentFiles()[0] == files[0]; }, 10000, "the drop of seven files to load");
    want = {files[0], files[9], files[8], files[7], files[6], files[5], files[4], files[3], files[2]};
    Check(StoredRecentFiles() == want, "after ten files the list reads" + Joined(StoredRecentFiles()));

    // A deleted entry: 3100, the list unchanged.
    Check(DeleteFileW(files[9].c_str()) != 0, "cannot delete a record");
    PostCommand(tavix.window, IDM_RECORD_RECENT_FIRST + 1);
    ExpectFileError(tavix, LoadCaption, IDS_FILE_NOT_FOUND, files[9]);
    Check(StoredRecentFiles() == want, "after the refused entry the list reads" + Joined(StoredRecentFiles()));
    WaitForRecordBoard(tavix.window, BoardAfter("f5f6"), "the game as it was");

    // A read-only record: 3101, the file as it was.
    const std::wstring locked = folder + L"locked.rgm";
    const std::string lockedBytes = "[Record of Games]\r\nApplication=Tavix\r\n01=c4\r\n";
    PutFile(locked, lockedBytes);
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    PostCommand(tavix.window, IDM_RECORD_SAVE);
    ChooseFileInDialog(tavix, SaveCaption, locked);
    PressButton(WaitForOverwriteQuestion(tavix), IDYES);
    ExpectFileError(tavix, SaveCaption, IDS_FILE_CANNOT_CREATE, locked);
    std::string now;
    Check(ReadFileBytes(locked, now) && now == lockedBytes, "the read-only record changed");

    // A folder that does not exist. The dialog itself refuses to choose one,
    // so the folder goes while the dialog asks whether to overwrite.
    const std::wstring gone = L"C:\\gone", nowhere = gone + L"\\x.rgm";
    CreateDirectoryW(gone.c_str(), nullptr);
    PutFile(nowhere, lockedBytes);
    PostCommand(tavix.window, IDM_RECORD_SAVE);
    ChooseFileInDialog(tavix, SaveCaption, nowhere);
    HWND question = WaitForOverwriteQuestion(tavix);
    Check(DeleteFileW(nowhere.c_str()) && RemoveDirectoryW(gone.c_str()), "cannot remove the folder");
    PressButton(question, IDYES);
    ExpectFileError(tavix, SaveCaption, IDS_FILE_CANNOT_CREATE, nowhere);
    Check(GetFileAttributesW(gone.c_str()) == INVALID_FILE_ATTRIBUTES, "the missing folder appeared");
    Check(StoredRecentFiles() == want, "a failed save changed the list");
    CloseTavix(tavix);
}

// The clipboard: a game played copies as its transcript and the position
// as its board string; pasted transcripts and a board string give the game
// or position they describe; garbage changes nothing and warns.
SCENARIO(record_clipboard_copy_and_paste) {
    Program tavix = StartPeopleGame();
    std::string played;
    for (const char* move : {"f5", "d6", "c3", "d3"}) {
        const Square sq = ParseSquareCode(move);
        ClickSquare(tavix.window, sq / 10, sq % 10);
        played += move;
        WaitForRecordBoard(tavix.window, BoardAfter(played), std::string("the one after ") + move);
        Pause(200);
    }
    SendKey('C', true);
    WaitFor([] { return ReadClipboardText() == L"f5d6c3d3"; }, 3000, "the transcript on the clipboard (Ctrl+C)");
    Position pos;
    BoardAfter(played, &pos);
    SendKey('C', true, true);
    WaitFor([&] { return Narrow(ReadClipboardText()) == PositionText(pos); }, 3000,
            "the board string on the clipboard (Ctrl+Shift+C)");

    const std::string setupBoard = std::string(24, '-') + "---OX------XO---" + std::string(16, '-') + "X------O";
    struct Case {
        std::wstring text;
        std::string board;
        bool historyBack;
    } cases[] = {
        {L"F5 d6 2. C3 d3", BoardAfter("f5d6c3d3"), true},
        {L"e6f4e3d2g3e7d6g5d3d7c7b8 PA h2", BoardAfter("e6f4e3d2g3e7d6g5d3d7c7b8PAh2"), true},
        {L"--------\r\n--------\r\n--------\r\n---ox---\r\n---xo---\r\n--------\r\n--------\r\nb......w o",
         setupBoard, false},
    };
    for (const Case& c : cases) {
        WriteClipboardText(c.text);
        SendKey('V', true);
        WaitForRecordBoard(tavix.window, c.board, "the pasted " + Narrow(c.text));
        Check(IsToolbarCommandEnabled(tavix.window, IDM_RECORD_TO_START) == c.historyBack,
              "Home's button after pasting " + Narrow(c.text));
    }
    // The pasted board string is the start of a game with White to move.
    SendKey('C', true);
    WaitFor([&] { return Narrow(ReadClipboardText()) == setupBoard + " O\r\n"; }, 3000,
            "the set-up game's copy (its board string and no moves)");

    const std::string before = ReadBoard(tavix.window);
    WriteClipboardText(L"hello, world");
    PostCommand(tavix.window, IDM_RECORD_PASTE);
    const std::wstring warning = TakeMessageBox(tavix, L"貼り付け");
    Check(warning == L"ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容は棋譜でも盤面でもありません。\n\n内容を確認して下さい。",
          "the warning reads " + Narrow(warning));
    Check(ReadBoard(tavix.window) == before, "garbage changed the board");

    WriteClipboardText(L"f5 d6 c3 a1 d3");
    PostCommand(tavix.window, IDM_RECORD_PASTE);
    const std::wstring partly = TakeMessageBox(tavix, L"貼り付け");
    Check(partly == L"ｸﾘｯﾌﾟﾎﾞｰﾄﾞの棋譜の4手目 a1 は打てません。\n\n3手目までを読み込みました。",
          "the partial paste reads " + Narrow(partly));
    WaitForRecordBoard(tavix.window, BoardAfter("f5d6c3"), "the three moves taken");

    // In board set-up, paste, a drop and loading each first ask whether to
    // end it, with the load command's caption; No keeps set-up and its board.
    HWND w = tavix.window;
    PostCommand(w, IDM_SETUP_BEGIN);
    ClickSquare(w, 1, 1);  // a1 Black
    std::string setBoard = BoardAfter("f5d6c3");
    setBoard[0] = 'X';
    WaitForRecordBoard(w, setBoard, "the set-up board with a1");
    const std::wstring dropped = RecordFolder() + L"set-up drop.rgm";
    PutFile(dropped, "[Record of Games]\r\nApplication=Tavix\r\n01=f5\r\n");
    WriteClipboardText(L"f5d6");
    const std::pair<const char*, std::function<void()>> gated[] = {
        {"paste", [] { SendKey('V', true); }},
        {"a drop", [&] { DropFiles(tavix, {dropped}); }},
        {"loading", [&] { PostCommand(w, IDM_RECORD_LOAD); }},
    };
    for (const auto& [what, command] : gated) {
        command();
        Answer(WaitForSetupQuestion(tavix, LoadCaption), IDNO);
        Pause(300);
        Check(ReadBoard(w) == setBoard, std::string("set-up changed after No to ") + what);
    }
    // Accepted, White plays d3 from it, saved through the dialog: the file
    // holds the set-up board and the side to move.
    SendKey(VK_F2);
    Answer(WaitForSetupQuestion(tavix, L"対局開始"), IDYES);
    ClickSquare(w, 3, 4);  // d3
    Position afterD3;
    BoardAfter("f5d6c3d3", &afterD3);
    afterD3.board[11] = Black;
    WaitForRecordBoard(w, PositionText(afterD3).substr(0, 64), "d3 played from the set-up position");
    const std::wstring saved = RecordFolder() + L"set-up game.rgm";
    PostCommand(w, IDM_RECORD_SAVE);
    ChooseFileInDialog(tavix, SaveCaption, saved);
    std::string bytes;
    Check(WaitUntil([&] { return ReadFileBytes(saved, bytes) && !bytes.empty(); }, 5000), "the set-up game was not saved");
    std::string boardLine = "Board=";
    for (char c : setBoard) boardLine += c == 'X' ? '1' : c == 'O' ? '2' : '0';
    const std::string lines = boardLine + "\r\nTurn=White\r\nBlack=*\r\nWhite=*\r\n01=d3 ";
    const size_t board = bytes.find("\r\nBoard=");
    Check(board != std::string::npos && bytes.compare(board + 2, lines.size(), lines) == 0,
          "the set-up game's record reads " + bytes);
    // Yes ends set-up and the paste goes ahead.
    PostCommand(w, IDM_SETUP_BEGIN);
    SendKey('V', true);
    Answer(WaitForSetupQuestion(tavix, LoadCaption), IDYES);
    WaitForRecordBoard(w, BoardAfter("f5d6"), "the paste after ending set-up");
    CloseTavix(tavix);
}

// The record reader reads odd files as the platform's private-profile
// reader does: every value of a set of sections and keys compared.
SCENARIO(record_reader_agrees_with_the_platform) {
    const std::string files[] = {
        "[Record of Games]\r\nApplication=Tavix\r\n01=f5\r\n",
        "  [ record of games ]  \r\n  application  =   Tavix   \r\n\r\n01 = f5 00:00:01 \r\n",
        "[Record of Games]\nApplication=Tavix\n01=f5\n[Record of Games]\n02=d6\nApplication=Other\n",
        "[Record of Games]\r\n01=a\r\n01=b\r\nAPPLICATION=\"Tavix\"\r\n02='d6'\r\n03=\"c3\r\n04=\"\"\r\n",
        "[Record of Games]\r\nApplication=" + std::string(300, 'x') + "\r\n01=\r\n02\r\n=03\r\n",
        "\xEF\xBB\xBF[Record of Games]\r\nApplication=Tavix\r\n",
        "[Other]\r\nApplication=Tavix\r\n[Record of Games] trailing\r\nApplication=Tavix 2\r\n",
        "[Record of Games]\rApplication=Tavix\r01=f5\r\n",
        "; comment\r\n[Record of Games]\r\n;01=f5\r\n\tApplication\t=\tTavix\t\r\n01==f5\r\n",
        "[Record of Games\r\nApplication=Tavix\r\n[]\r\n01=f5\r\n",
    };
    const char* sections[] = {"Record of Games", "record of games", "Other"};
    const char* keys[] = {"Application", "01", "02", "03", "04", "Board"};
    const std::wstring folder = RecordFolder();
    int compared = 0;
    for (size_t f = 0; f < std::size(files); ++f) {
        const std::wstring path = folder + L"profile" + std::to_wstring(f) + L".ini";
        PutFile(path, files[f]);
        for (const char* section : sections) {
            const ProfileSection ours = ReadProfileSection(files[f], section);
            for (const char* key : keys) {
                wchar_t platform[256] = {};
                GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", platform, 256, path.c_str());
                const std::string mine = ProfileValue(ours, key);
                Check(Narrow(platform) == mine, Format("file %d [%s] %s: the platform reads \"%s\", ours \"%s\"",
                                                       static_cast<int>(f), section, key, Narrow(platform).c_str(),
                                                       mine.c_str()));
                ++compared;
            }
        }
    }
    Note(Format("%d values agree", compared));
}

namespace {

// The names in a folder (a path ending in a backslash) that match a pattern.
std::vector<std::wstring> FilesMatching(const std::wstring& folder, const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((L"\\\\?\\" + folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// Saves the game through the dialog over an existing file (answering the
// overwrite question) or as a new one.
void SaveThroughDialog(const Program& tavix, const std::wstring& path, bool exists) {
    PostCommand(tavix.window, IDM_RECORD_SAVE);
    ChooseFileInDialog(tavix, SaveCaption, path);
    if (exists) PressButton(WaitForOverwriteQuestion(tavix), IDYES);
}

}  // namespace

// Saving over records that exist and into a deep folder: a normal and a
// hidden record take the new game and keep their attributes, a read-only one
// is refused with its bytes as they were; a folder path of over 250
// characters takes a new record and then its replacement, and loads it back.
// No file of the saving is left behind in any folder, and a leftover of a
// crashed save (a ~Tavix*.tmp) stays where it is, untouched and unlisted.
SCENARIO(record_replace_keeps_attributes) {
    Program tavix = StartPeopleGame();
    ClickSquare(tavix.window, 5, 6);  // f5
    WaitForRecordBoard(tavix.window, BoardAfter("f5"), "the one after f5");
    const std::string old = "[Record of Games]\r\nApplication=Tavix\r\n01=c4\r\n";
    const std::string saved = "01=f5 ";
    const std::wstring folder = RecordFolder();
    const std::wstring leftover = folder + L"~Tavix0000ABCD.tmp";
    PutFile(leftover, old);

    struct Case {
        const wchar_t* name;
        DWORD attributes;
        bool refused;
    } cases[] = {
        {L"normal.rgm", FILE_ATTRIBUTE_ARCHIVE, false},
        {L"hidden.rgm", FILE_ATTRIBUTE_HIDDEN, false},
        {L"readonly.rgm", FILE_ATTRIBUTE_READONLY, true},
    };
    for (const Case& c : cases) {
        const std::wstring path = folder + c.name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        PutFile(path, old);
        SetFileAttributesW(path.c_str(), c.attributes);
        const DWORD before = GetFileAttributesW(path.c_str());
        SaveThroughDialog(tavix, path, true);
        if (c.refused) ExpectFileError(tavix, SaveCaption, IDS_FILE_CANNOT_CREATE, path);
        else Pause(500);
        std::string bytes;
        Check(ReadFileBytes(path, bytes), "cannot read " + Narrow(path));
        if (c.refused) Check(bytes == old, Narrow(c.name) + " changed");
        else Check(bytes.find(saved) != std::string::npos && bytes.find("01=c4") == std::string::npos,
                   Narrow(c.name) + " does not hold the new game: " + bytes);
        const DWORD after = GetFileAttributesW(path.c_str());
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
        Check((after & kept) == (before & kept), Format("%s: attributes %#lx before, %#lx after",
                                                        Narrow(c.name).c_str(), before, after));
        Note(Format("%s (attributes %#lx): %s, attributes %#lx after", Narrow(c.name).c_str(), before,
                    c.refused ? "refused with 3101, bytes unchanged" : "replaced", after));
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    // A folder path of over 250 characters, made of two long names.
    std::wstring deep = L"C:\\" + std::wstring(120, L'd');
    CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    deep += L"\\" + std::wstring(127, L'e');
    CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    deep += L"\\";
    Check(deep.size() > 250, "the deep folder is not deep");
    const std::wstring deepFile = deep + L"g.rgm";
    SaveThroughDialog(tavix, deepFile, false);
    std::string bytes;
    Check(WaitUntil([&] { return ReadFileBytes(L"\\\\?\\" + deepFile, bytes); }, 5000) &&
              bytes.find(saved) != std::string::npos,
          Format("no record saved in a folder of %d characters", static_cast<int>(deep.size())));
    PostCommand(tavix.window, IDM_GAME_START);  // the save ended the turn: play on
    Pause(300);
    ClickSquare(tavix.window, 6, 4);  // d6
    WaitForRecordBoard(tavix.window, BoardAfter("f5d6"), "the one after d6");
    SaveThroughDialog(tavix, deepFile, true);
    Check(WaitUntil([&] { return ReadFileBytes(L"\\\\?\\" + deepFile, bytes) && bytes.find("02=d6") != std::string::npos; },
                    5000),
          "the record in the deep folder was not replaced: " + bytes);
    PostCommand(tavix.window, IDM_GAME_START);
    Pause(300);
    DropFiles(tavix, {deepFile});
    WaitForRecordBoard(tavix.window, BoardAfter("f5d6"), "the record loaded from the deep folder");

    for (const std::wstring& where : {folder, deep}) {
        const std::vector<std::wstring> left = FilesMatching(where, L"~Tavix*");
        const bool onlyLeftover = where == folder ? left == std::vector<std::wstring>{L"~Tavix0000ABCD.tmp"} : left.empty();
        Check(onlyLeftover, "saving left files behind in " + Narrow(where));
    }
    Check(ReadFileBytes(leftover, bytes) && bytes == old, "the leftover file was touched");
    CloseTavix(tavix);
}
