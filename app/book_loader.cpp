#include "app/book_loader.h"

#include <windows.h>

#include "book/book_file.h"
#include "book/book_tree.h"
#include "config/settings.h"
#include "core/wide_text.h"
#include "engine/search_thread.h"

namespace {

int ReadFromHandle(void* context, char* buffer, int capacity) {
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(context), buffer, static_cast<DWORD>(capacity), &got, nullptr)) return 0;
    return static_cast<int>(got);
}

std::string MessageFromStringTable(int id) { return LoadShiftJisString(static_cast<UINT>(id)); }

// Runs on the search thread. The settings dialog cannot be open while a
// computer thinks, so the settings read here stand still.
int ChooseFromTheBook(void*, Position& pos, int moveNumber, const ThinkingDisplay* display) {
    BookChoice choice;
    choice.standardType = currentSettings.StandardType;
    choice.threshold = StandardThreshold(currentSettings.StandardValue);
    choice.cap = StandardCap(currentSettings.StandardValue);
    choice.display = display;
    return ChooseBookMove(TheOpeningBook(), pos, moveNumber, choice);
}

// Runs on the search thread for the book-move search, with the same settings
// as above.
int ListFromTheBook(void*, Position& pos, int moveNumber, BookMoveList& list) {
    if (ListBookMoves(TheOpeningBook(), pos, moveNumber, currentSettings.StandardType, list) == 0) return 0;
    list.entries[0] = {nullptr, 0};
    return -1;
}

}  // namespace

void LoadOpeningBook(const wchar_t* caption, const wchar_t* path) {
    // Read only, shared with nobody, and only a file that is there.
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    OpeningBook& book = TheOpeningBook();
    BookLoadReport report;
    Position work;
    LoadBookFile({file, ReadFromHandle}, book, work, report);
    CloseHandle(file);
    if (BookNodeCount(book) > 0) SetBookLookup({nullptr, ChooseFromTheBook, ListFromTheBook});
    if (!ShouldReportBookErrors(report, book)) return;
    const std::string text = ComposeBookReport(report, MessageFromStringTable, BookTextEncoding::ShiftJis);
    MessageBoxW(nullptr, WideFromShiftJis(text).c_str(), caption, MB_OK | MB_ICONEXCLAMATION);
}

void ReleaseOpeningBook() {
    SetBookLookup({nullptr, nullptr, nullptr});
    ReleaseOpeningBook(TheOpeningBook());
}
