// Character-filtering line input. Both readers run the same loop; they differ only in where the
// characters go (a fixed buffer that drops overflow, or a growing string). Runs of plain
// printable characters are found a word at a time and copied whole; only line ends, tabs and
// illegal characters are handled one by one.
#include "IbisParser/cmn_read.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>

#include <sys/stat.h>

#include "IbisParser/cmn.h"

CMN_LineReader::CMN_LineReader(CMN_FileText& text)
    : stream_(text.stream_), next_(text.view_.data()), end_(next_ + text.view_.size()) {
    if (stream_ == nullptr) return;
    std::rewind(stream_);
    block_.reset(new (std::nothrow) char[kBlockSize]);
    capacity_ = block_ ? kBlockSize : sizeof fallback_;
    next_ = end_ = nullptr;
}

std::string_view CMN_LineReader::Available() {
    if (next_ == end_ && stream_ != nullptr) {
        char* block = block_ ? block_.get() : fallback_;
        std::size_t got = std::fread(block, 1, capacity_, stream_);
        next_ = block;
        end_ = block + got;
    }
    return {next_, static_cast<std::size_t>(end_ - next_)};
}

int CMN_LineReader::Peek() {
    std::string_view ahead = Available();
    return ahead.empty() ? EOF : static_cast<unsigned char>(ahead.front());
}

CMN_FileText::~CMN_FileText() { Release(); }

void CMN_FileText::Release() {
    if (stream_ != nullptr) std::fclose(stream_);
    stream_ = nullptr;
    buffer_.reset();
    view_ = {};
}

void CMN_FileText::Borrow(std::string_view text) {
    Release();
    view_ = text;
}

bool CMN_FileText::Load(std::FILE* stream) {
    CMN_ASSERT(stream != nullptr);
    Release();
    struct stat status {};
    if (::fstat(::fileno(stream), &status) == 0 && S_ISREG(status.st_mode)) {
        stream_ = stream;
        return true;
    }
    // Read to the end into a buffer that doubles as it fills (each character is moved at most
    // once on average).
    constexpr std::size_t kFirstBufferSize = 1 << 16;
    std::size_t capacity = kFirstBufferSize;
    std::size_t length = 0;
    bool loaded = true;
    for (;;) {
        if (!buffer_ || length == capacity) {
            int next = buffer_ ? std::fgetc(stream) : 0;
            if (next == EOF) break;
            std::size_t grown = buffer_ ? capacity * 2 : capacity;
            std::unique_ptr<char[]> larger(new (std::nothrow) char[grown]);
            if (!larger) {
                loaded = false;
                break;
            }
            if (length > 0) std::memcpy(larger.get(), buffer_.get(), length);
            if (buffer_) larger[length++] = static_cast<char>(next);
            buffer_ = std::move(larger);
            capacity = grown;
        }
        std::size_t wanted = capacity - length;
        std::size_t got = std::fread(buffer_.get() + length, 1, wanted, stream);
        length += got;
        if (got < wanted) break;
    }
    std::fclose(stream);
    if (!loaded) {
        buffer_.reset();
        return false;
    }
    view_ = {buffer_.get(), length};
    return true;
}

namespace {

constexpr int kCtrlZ = 26;

bool IsPlain(unsigned char c) { return c >= 32 && c < 128; }

// The length of the leading run of plain characters (32 to 127), eight at a time. Subtracting
// 32 from every byte of a word sets the high bit of the lowest byte below 32; a borrow out of it
// can only mark bytes above. So the lowest byte marked, by that or by its own high bit, is the
// first one that is not plain.
std::size_t PlainPrefix(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    std::size_t position = 0;
    for (; position + 8 <= text.size(); position += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + position, sizeof word);
        std::uint64_t marks = ((word - 32 * kOnes) | word) & kHighBits;
        if (marks == 0) continue;
        if constexpr (std::endian::native == std::endian::little) {
            return position + static_cast<std::size_t>(std::countr_zero(marks)) / 8;
        }
        break;
    }
    while (position < text.size() && IsPlain(static_cast<unsigned char>(text[position]))) {
        ++position;
    }
    return position;
}

// The class word of message 1917.
const char* IllegalClass(int c) {
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
    void Append(const char* text, std::size_t count) {
        std::size_t stored = std::min(count, limit - length);
        std::memcpy(buffer + length, text, stored);
        length += stored;
    }
};

struct StringSink {
    std::string& line;
    static bool HasRoom() { return true; }
    void Put(char c) { line.push_back(c); }
    void Append(const char* text, std::size_t count) { line.append(text, count); }
};

template <typename Sink>
void PutIllegal(Sink& sink, int c) {
    if (!CMN_GetKeepIllegalChars()) {
        CMN_ErrorLine(1917, IllegalClass(c), static_cast<unsigned>(c),
                      sink.HasRoom() ? "  Converting to space." : "");
    }
    sink.Put(CMN_GetKeepIllegalChars() ? static_cast<char>(c) : ' ');
}

// Returns false at the end of the file when nothing was taken for this line (a lone Ctrl-Z
// at the very end is no line). plain tells whether anything but plain characters came before
// the line feed.
template <typename Sink>
bool ReadFiltered(Sink& sink, CMN_LineReader& reader, bool& plain) {
    plain = true;
    bool taken = false;
    for (;; taken = true) {
        std::string_view ahead = reader.Available();
        if (ahead.empty()) return taken;
        std::size_t run = PlainPrefix(ahead);
        if (run > 0) {
            sink.Append(ahead.data(), run);
            reader.Skip(run);
            continue;
        }
        int c = static_cast<unsigned char>(ahead.front());
        reader.Skip(1);
        if (c == '\n') {
            sink.Put('\n');
            return true;
        }
        plain = false;
        if (c == '\r' || c == kCtrlZ) {
            int next = reader.Peek();
            if (c == '\r' && next == '\n') {
                reader.Skip(1);
                sink.Put('\n');
                return true;
            }
            if (c == kCtrlZ && next == EOF) return taken;
        }
        if (c == '\t') {
            sink.Put('\t');
        } else {
            PutIllegal(sink, c);
        }
    }
}

}  // namespace

char* CMN_ReadLine(char* buffer, std::size_t size, CMN_LineReader& reader, std::size_t* length) {
    CMN_ASSERT(buffer != nullptr && size > 0);
    FixedSink sink{buffer, size - 1};
    bool got = ReadFiltered(sink, reader, reader.lastLinePlain_);
    buffer[sink.length] = '\0';
    if (length != nullptr) *length = sink.length;
    return got ? buffer : nullptr;
}

std::size_t CMN_ReadLongLine(std::string& line, CMN_LineReader& reader) {
    line.clear();
    StringSink sink{line};
    if (!ReadFiltered(sink, reader, reader.lastLinePlain_)) return 0;
    return line.size() + 1;
}
