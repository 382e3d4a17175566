// tavix-cli: the command-line tool over the engine, book and record code.
#pragma once

int RunPerft(int argc, char** argv);
int RunEval(int argc, char** argv);
int RunSearch(int argc, char** argv);
int RunSolve(int argc, char** argv);
int RunHints(int argc, char** argv);
int RunMove(int argc, char** argv);
int RunBench(int argc, char** argv);
int RunRecord(int argc, char** argv);
int RunBook(int argc, char** argv);
int RunDatabase(int argc, char** argv);
int RunReview(int argc, char** argv);

// The whole file; false when it cannot be opened.
#include <string>
bool ReadWholeFile(const char* name, std::string& bytes);

// Reads POSITION from argv[index] (and argv[index + 1] when the side to move
// stands in its own argument); returns the number of arguments used, 0 on error.
struct Position;
int ReadPositionArgument(int argc, char** argv, int index, Position& pos);

// POSITION, or a line of moves from the initial position ("f5d6", passes
// made where forced; "" or "start" for the initial position); used is the
// number of arguments taken.
bool ReadGamePosition(int argc, char** argv, int index, Position& pos, int& used);
// Loads the book file at path into book; false (with a message) when it
// cannot be opened.
struct OpeningBook;
struct BookLoadReport;
struct BookErrorSink;
bool LoadBook(const char* path, OpeningBook& book, BookLoadReport& report, const BookErrorSink* sink,
              double* seconds = nullptr);
