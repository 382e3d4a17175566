// The opening book at start-up and shutdown: the file beside the executable
// read into the book, the report of its bad lines, and the computer's book
// moves. Windows code.
#pragma once

// Reads the book file at path (a file that cannot be opened leaves the book
// empty, silently), shows the report of bad lines in a box with caption and
// no owner when the book is not empty, and lets the computer players take
// their moves from the book.
void LoadOpeningBook(const wchar_t* caption, const wchar_t* path);
// Releases the book; the computer players then always search.
void ReleaseOpeningBook();
