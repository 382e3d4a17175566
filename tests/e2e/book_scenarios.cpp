// The opening book as a user meets it: the report on a book file with bad
// lines at start-up, the book-move search and the computer's book moves.
#include "tests/e2e/driver.h"
#include "res/resource.h"

namespace {

std::wstring BookPath() { return DriverFolder() + L"\\Tavix.STD"; }

void WriteBook(const std::string& bytes) { Check(WriteFileBytes(BookPath(), bytes), "cannot write Tavix.STD"); }

}  // namespace

// Good and bad lines: one box before the window, with no owner, the
// version text as caption and every bad line with its number and message.
SCENARIO(book_report_box) {
    WriteBook("; a book with faults\r\n"
              "f5d6c3d3c4 +2\r\n"
              "f5d6+3\r\n"
              "f5d6c3d3c4 -1\r\n"
              "f5f4e3=f5f6\r\n"
              "f5f6 -1\r\n"
              "f5d6c3");
    Program tavix = LaunchTavix();
    HWND box = WaitForDialog(tavix.process.dwProcessId, 20000);
    Check(box != nullptr, "no report box");
    Check(FindProcessWindows(tavix.process.dwProcessId, L"Tavix").empty(), "the main window came before the report");
    Check(GetWindow(box, GW_OWNER) == nullptr, "the report box has an owner");
    Check(WindowText(box) == L"" TAVIX_VERSION_TEXT, "caption: " + Narrow(WindowText(box)));
    const std::wstring expected = Widen(
        "定石ﾌｧｲﾙ\n\n"
        "3行目: この行の内容に誤りがあります。\n"
        "4行目: この手順と全く同一の手順が既に読み込まれています。\n"
        "5行目: 元になる手順が読み込まれていません。\n"
        "7行目: この手順を完全に含む手順が既に読み込まれています。\n"
        "\nｴﾗｰのある行が全部で4行見つかりました。");
    Check(MessageBoxText(box) == expected, "report text: " + Narrow(MessageBoxText(box)));
    PressButton(box, IDOK);
    WaitForMainWindow(tavix);
    PostCommand(tavix.window, IDM_GAME_EXIT);
    Check(WaitForExit(tavix) == 0, "non-zero exit code");
}
