// Line input with the checker's character filter. A carriage return before a line feed and a
// Ctrl-Z just before the end of the file are dropped; every other carriage return or Ctrl-Z,
// each control code but tab, NUL and each byte of 128 or more is reported (error 1917, with the
// current line number) and stored as a blank, unless the keep-illegal-characters setting is on.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// Reads one line into buffer, line feed included, storing at most size - 1 characters and
// dropping the rest of a longer line. Returns buffer, or nullptr at the end of the file.
// With report false, illegal characters are filtered without messages. length, when given,
// receives the number of characters stored (a kept NUL makes it differ from strlen).
char* CMN_ReadLine(char* buffer, std::size_t size, std::FILE* stream, bool report = true,
                   std::size_t* length = nullptr);

// Reads one line of any length into line (its storage is reused from call to call). Returns the
// length including the terminating zero, or 0 at the end of the file.
std::size_t CMN_ReadLongLine(std::string& line, std::FILE* stream);
