// Test support: sends the diagnostic stream to a temporary file with fresh counters and
// settings, and reads back what was printed.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "IbisParser/cmn.h"

class CmnCapture {
public:
    explicit CmnCapture(unsigned long line = 0) {
        currentLine = line;
        currentFile = "";
        stream_ = std::tmpfile();
        CMN_SetOutput(stream_);
        Reset();
        CMN_SetSourceHooks(&LineNumber, &FileName);
    }
    ~CmnCapture() {
        CMN_SetOutput(nullptr);
        CMN_SetSourceHooks(nullptr, nullptr);
        Reset();
        std::fclose(stream_);
    }
    CmnCapture(const CmnCapture&) = delete;
    CmnCapture& operator=(const CmnCapture&) = delete;

    // The bug, error and warning counters, in that order.
    static std::array<std::uint32_t, 3> Counts() {
        std::array<std::uint32_t, 3> counts{};
        CMN_GetCounts(&counts[0], &counts[1], &counts[2]);
        return counts;
    }

    void SetLine(unsigned long line) { currentLine = line; }
    void SetFile(const char* name) { currentFile = name; }

    // Everything printed since the last call.
    std::string Take() {
        std::fflush(stream_);
        long end = std::ftell(stream_);
        std::string text(static_cast<std::size_t>(end - taken_), '\0');
        std::fseek(stream_, taken_, SEEK_SET);
        std::size_t got = std::fread(text.data(), 1, text.size(), stream_);
        text.resize(got);
        std::fseek(stream_, 0, SEEK_END);
        taken_ = end;
        return text;
    }

private:
    static void Reset() {
        CMN_ResetCounts();
        CMN_SetQuietBugs(false);
        CMN_SetQuietErrors(false);
        CMN_SetQuietWarnings(false);
    }

    static inline unsigned long currentLine = 0;
    static inline const char* currentFile = "";
    static unsigned long LineNumber() { return currentLine; }
    static const char* FileName() { return currentFile; }

    std::FILE* stream_ = nullptr;
    long taken_ = 0;
};
