// Character-filtering line input. Both readers run the same loop; they differ only in where the
// characters go (a fixed buffer that drops overflow, or a growing string).
#include "IbisParser/cmn_read.h"

#include "IbisParser/cmn.h"

namespace {

constexpr int kCtrlZ = 26;

// The class word of message 1917, or nullptr for a character that is kept as it is.
const char* IllegalClass(int c) {
    if (c >= 32 && c < 128) return nullptr;
    if (c == '\t') return nullptr;
    if (c == 0) return "NUL";
    if (c >= 128) return "non-7-bit ASCII";
    return "control";
}

// Stores into a fixed buffer; characters beyond size - 1 are dropped.
struct FixedSink {
    char* buffer;
    std::size_t limit;
    std::size_t length = 0;
    bool HasRoom() const { return length < limit; }
    void Put(char c) {
        if (length < limit) buffer[length++] = c;
    }
};

struct StringSink {
    std::string& line;
    static bool HasRoom() { return true; }
    void Put(char c) { line.push_back(c); }
};

template <typename Sink>
void PutIllegal(Sink& sink, int c, bool report) {
    const char* kind = IllegalClass(c);
    if (report && !CMN_GetKeepIllegalChars()) {
        CMN_ErrorLine(1917, kind, static_cast<unsigned>(c),
                      sink.HasRoom() ? "  Converting to space." : "");
    }
    sink.Put(CMN_GetKeepIllegalChars() ? static_cast<char>(c) : ' ');
}

// Returns false at the end of the file when nothing was taken for this line (a lone Ctrl-Z
// at the very end is no line).
template <typename Sink>
bool ReadFiltered(Sink& sink, std::FILE* stream, bool report) {
    int c = getc_unlocked(stream);
    if (c == EOF) return false;
    bool taken = false;
    for (; c != EOF; c = getc_unlocked(stream), taken = true) {
        if (c >= 32 && c < 128) {
            sink.Put(static_cast<char>(c));
            continue;
        }
        if (c == '\n') {
            sink.Put('\n');
            return true;
        }
        if (c == '\r' || c == kCtrlZ) {
            int next = getc_unlocked(stream);
            if (c == '\r' && next == '\n') {
                sink.Put('\n');
                return true;
            }
            if (c == kCtrlZ && next == EOF) return taken;
            if (next != EOF) ungetc(next, stream);
        }
        if (IllegalClass(c) == nullptr) {
            sink.Put(static_cast<char>(c));
        } else {
            PutIllegal(sink, c, report);
        }
    }
    return true;
}

}  // namespace

char* CMN_ReadLine(char* buffer, std::size_t size, std::FILE* stream, bool report,
                   std::size_t* length) {
    CMN_ASSERT(buffer != nullptr && size > 0 && stream != nullptr);
    FixedSink sink{buffer, size - 1};
    bool got = ReadFiltered(sink, stream, report);
    buffer[sink.length] = '\0';
    if (length != nullptr) *length = sink.length;
    return got ? buffer : nullptr;
}

std::size_t CMN_ReadLongLine(std::string& line, std::FILE* stream) {
    CMN_ASSERT(stream != nullptr);
    line.clear();
    StringSink sink{line};
    if (!ReadFiltered(sink, stream, true)) return 0;
    return line.size() + 1;
}
