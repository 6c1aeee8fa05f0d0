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

// The text being read, from its first character to its end; the readers above take lines from
// it without copying it. The text is not owned: it must outlive the reader.
class CMN_LineReader {
public:
    explicit CMN_LineReader(std::string_view text)
        : next_(text.data()), end_(next_ + text.size()) {}
    CMN_LineReader(const CMN_LineReader&) = delete;
    CMN_LineReader& operator=(const CMN_LineReader&) = delete;

    // The characters not yet taken; empty at the end of the text.
    std::string_view Available() const { return {next_, static_cast<std::size_t>(end_ - next_)}; }
    // Takes count characters of those Available returned.
    void Skip(std::size_t count) { next_ += count; }
    // The next character without taking it, or EOF.
    int Peek() const { return next_ == end_ ? EOF : static_cast<unsigned char>(*next_); }

    // Whether the last line read held only plain printable characters before its line feed:
    // no tab and nothing filtered, so that callers need not scan it for those.
    bool LastLinePlain() const { return lastLinePlain_; }

private:
    friend char* CMN_ReadLine(char*, std::size_t, CMN_LineReader&, std::size_t*);
    friend std::size_t CMN_ReadLongLine(std::string&, CMN_LineReader&);

    const char* next_;
    const char* end_;
    bool lastLinePlain_ = true;
};

// The whole content of a file, read once: a regular file is mapped into memory (its pages are
// read as the checker reaches them and never copied), anything else (a pipe, a terminal, a
// device) is read into one buffer. A text the caller already holds can stand in for a file.
class CMN_FileText {
public:
    CMN_FileText() = default;
    CMN_FileText(const CMN_FileText&) = delete;
    CMN_FileText& operator=(const CMN_FileText&) = delete;
    ~CMN_FileText();

    // Takes in everything stream has left. A read error ends the text where it happened, as
    // the end of the file would. False only when the buffer could not be allocated.
    bool Load(std::FILE* stream);
    // Stands for text that the caller holds and keeps alive while this object is used.
    void Borrow(std::string_view text) {
        Release();
        view_ = text;
    }

    std::string_view View() const { return view_; }

private:
    void Release();

    void* mapping_ = nullptr;
    std::size_t mappingSize_ = 0;
    std::unique_ptr<char[]> buffer_;
    std::string_view view_;
};
