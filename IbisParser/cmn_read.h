// Line input with the checker's character filter. A carriage return before a line feed and a
// Ctrl-Z just before the end of the file are dropped; every other carriage return or Ctrl-Z,
// each control code but tab, NUL and each byte of 128 or more is reported (error 1917, with the
// current line number) and stored as a blank, unless the keep-illegal-characters setting is on.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class CMN_LineReader;

// Reads one line into buffer, line feed included, storing at most size - 1 characters and
// dropping the rest of a longer line. Returns buffer, or nullptr at the end of the file.
// length, when given, receives the number of characters stored (a kept NUL makes it differ
// from strlen).
char* CMN_ReadLine(char* buffer, std::size_t size, CMN_LineReader& reader,
                   std::size_t* length = nullptr);

// Reads one line of any length into line (its storage is reused from call to call). Returns the
// length including the terminating zero, or 0 at the end of the file.
std::size_t CMN_ReadLongLine(std::string& line, CMN_LineReader& reader);

// A stream read in large blocks, so that the readers below find a line by scanning memory
// instead of taking one character at a time. The reader reads ahead: once it has taken from a
// stream, read that stream only through it. It does not close the stream.
class CMN_LineReader {
public:
    explicit CMN_LineReader(std::FILE* stream);
    CMN_LineReader(const CMN_LineReader&) = delete;
    CMN_LineReader& operator=(const CMN_LineReader&) = delete;

    // The characters read ahead and not yet taken, reading the next block when there are none;
    // empty at the end of the stream.
    std::string_view Available();
    // Takes count characters of those Available returned.
    void Skip(std::size_t count) { next_ += count; }
    // The next character without taking it, or EOF.
    int Peek();

    // Whether the last line read held only plain printable characters before its line feed:
    // no tab and nothing filtered, so that callers need not scan it for those.
    bool LastLinePlain() const { return lastLinePlain_; }

private:
    friend char* CMN_ReadLine(char*, std::size_t, CMN_LineReader&, std::size_t*);
    friend std::size_t CMN_ReadLongLine(std::string&, CMN_LineReader&);

    static constexpr std::size_t kBlockSize = 1 << 16;

    std::FILE* stream_;
    std::unique_ptr<char[]> block_;
    char fallback_[256];  // used only when the block cannot be allocated
    std::size_t capacity_;
    const char* next_;
    const char* end_;
    bool lastLinePlain_ = true;
};
