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

class CMN_FileText;

// The text being read, from its first character to its end: text in memory is taken as it
// stands; a regular file is read in large blocks, so that memory stays bounded whatever its
// size. The readers above then find a line by scanning memory instead of taking one character
// at a time.
class CMN_LineReader {
public:
    // Text in memory; it must outlive the reader.
    explicit CMN_LineReader(std::string_view text)
        : next_(text.data()), end_(next_ + text.size()) {}
    // A file's text from its start (the file's stream is rewound).
    explicit CMN_LineReader(CMN_FileText& text);
    CMN_LineReader(const CMN_LineReader&) = delete;
    CMN_LineReader& operator=(const CMN_LineReader&) = delete;

    // The characters not yet taken, reading the next block of a file when there are none; empty
    // at the end of the text.
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

    std::FILE* stream_ = nullptr;
    std::unique_ptr<char[]> block_;
    char fallback_[256];  // used only when the block cannot be allocated
    std::size_t capacity_ = 0;
    const char* next_;
    const char* end_;
    bool lastLinePlain_ = true;
};

// The text of one file, opened once. A regular file stays open and each reader reads it from
// its start, in blocks; anything else (a pipe, a terminal, a device) can be read only once, so
// it is read whole into memory. A text the caller already holds can stand in for a file.
class CMN_FileText {
public:
    CMN_FileText() = default;
    CMN_FileText(const CMN_FileText&) = delete;
    CMN_FileText& operator=(const CMN_FileText&) = delete;
    ~CMN_FileText();

    // Takes over stream (open for reading, at its start) and closes it when done. Anything but
    // a regular file is read to its end now; a read error ends the text where it happened, as
    // the end of the file would. False only when the text could not be held in memory.
    bool Load(std::FILE* stream);
    // Stands for text that the caller holds and keeps alive while this object is used.
    void Borrow(std::string_view text);

private:
    friend class CMN_LineReader;
    void Release();

    std::FILE* stream_ = nullptr;  // a regular file, read by each reader from its start
    std::unique_ptr<char[]> buffer_;
    std::string_view view_;  // the text, when it is in memory
};
