// Writing that is checked: standard output and the files the options name.
// A write that fails is reported in one line on standard error, naming what
// could not be written and why, and the caller ends with status 1 rather
// than report success.
#pragma once
#include <cstdio>

// "cryptwell: write error: WHAT: REASON" for the error number `error`.
void reportWriteError(const char* what, int error);
// Flushes the stream; false, reported, when anything written to it since
// it was opened did not reach its file.
bool flushChecked(std::FILE* stream, const char* what);
// Opens `path` for writing, created or emptied; null, reported, when it cannot be.
std::FILE* openForWriting(const char* path);
// Flushes and closes the stream; false, reported, when a write failed.
bool closeChecked(std::FILE* stream, const char* what);
