// The line reader: per-line checks, classification, comment handling, keyword lookup with its
// context rules, section dispatch by keyword code, [End], and the reading of .ami files.
#include "IbisParser/parse.h"

#include <cstring>
#include <new>
#include <string_view>

#include "IbisParser/cmn.h"
#include "IbisParser/cmn_read.h"
#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse_keywords.h"
#include "IbisParser/parse_sections.h"

namespace {

constexpr std::size_t kLongestKeyword = 117;
constexpr std::size_t kAmiDescriptionLimit = 120;

struct ParseState {
    int fileKind = FILE_KIND_IBS;
    unsigned long lineNumber = 0;
    int currentKeyword = NOT_KEY;
    char commentChar = '|';
    bool ibisVerSeen = false;
    bool endSeen = false;
    bool tabWarned = false;
    bool inSubmodel = false;
    std::string fileName;
    std::string amiLine;  // the .ami line being read; its storage serves every line of the file
    std::string amiText;
};

ParseState state;
bool unterminated = false;
bool longLines = false;
bool quiet = false;

// The one place where a file's reading state starts afresh (the unterminated flag and the
// IBIS version in force carry over from file to file).
void ResetFileState(int kind) {
    state = ParseState{};
    state.fileKind = kind;
    CMN_SetSourceHooks(&PARSE_GetLineNumber, &PARSE_FileName);
}

// The text of the file to read: the caller's (named by path, nothing is opened) or the file's
// own, read once. name receives the file name; false after reporting why there is no text.
bool LoadText(const char* path, int kind, const std::string_view* given, CMN_FileText& text,
              std::string& name) {
    if (given == nullptr) return CMN_LoadFile(path, kind, &text, &name);
    if (!CMN_NameFile(path, kind, &name)) return false;
    text.Borrow(*given);
    return true;
}

// Removes the final line feed and reports a line that is too long (905) and the first tab of
// the file (921); a line the reader found plain holds no tab. Returns the length left;
// hadLineFeed tells whether one was removed.
std::size_t CheckLine(char* line, std::size_t length, bool plain, bool* hadLineFeed) {
    *hadLineFeed = length > 0 && line[length - 1] == '\n';
    if (*hadLineFeed) line[--length] = '\0';
    std::size_t limit = HDR_GetVersion() < 4 ? 80 : 120;
    if (length > limit && !longLines) CMN_ErrorLine(905, static_cast<int>(limit));
    if (!state.tabWarned && !plain && std::memchr(line, '\t', length) != nullptr) {
        CMN_WarningLine(921);
        state.tabWarned = true;
    }
    return length;
}

bool InTextBlock(int keyword) { return keyword >= KW_SOURCE && keyword <= KW_COPYRIGHT; }

// Comment (empty or starting with the comment character), data, or keyword line; an indented
// "[" is text inside a header text block and a misplaced keyword elsewhere (906).
int LineType(const char* line, const char* firstNonBlank) {
    char first = *firstNonBlank;
    if (first == '\0' || first == state.commentChar) return LINE_COMMENT;
    if (first != '[') return LINE_DATA;
    if (firstNonBlank == line) return LINE_KEYWORD;
    if (InTextBlock(state.currentKeyword)) return LINE_DATA;
    CMN_ErrorLine(906);
    return LINE_KEYWORD;
}

bool IsCommentCharLine(const char* text) {
    return CMN_StrEqualNoCaseN(text, "[COMMENT_CHAR]", 14) ||
           CMN_StrEqualNoCaseN(text, "[COMMENT CHAR]", 14);
}

// The value after "[Comment Char]": a character followed by "_char".
void CommentChar(const char* text) {
    static constexpr std::string_view kForbidden =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ[]._/=+-";
    const char* position = CMN_SkipSpace(text);
    char candidate = *position;
    if (candidate == '\0' || std::strncmp(position + 1, "_char", 5) != 0) {
        CMN_ErrorLine(917);
        return;
    }
    if (kForbidden.find(candidate) != std::string_view::npos) {
        CMN_ErrorLine(918, candidate);
        return;
    }
    state.commentChar = candidate;
    position = CMN_SkipSpace(position + 6);
    if (*position != '\0' && *position != candidate) CMN_ErrorLine(919);
}

// Cuts the line at the comment character and removes trailing white space.
void StripComment(char* line, std::size_t length) {
    char* end = static_cast<char*>(std::memchr(line, state.commentChar, length));
    if (end != nullptr) *end = '\0';
    CMN_TrimRight(line);
}

// The text between the brackets, upper case with blanks as '_', as the tables spell names.
// Returns the code found (after the context rules) or NOT_KEY after reporting why.
int LookupKeyword(const char* text, int tableVersion) {
    const char* close = std::strchr(text, ']');
    if (close == nullptr) {
        CMN_ErrorLine(914);
        return NOT_KEY;
    }
    std::size_t length = static_cast<std::size_t>(close - text - 1);
    if (length < 1 || length > kLongestKeyword) {
        CMN_ErrorLine(915);
        return NOT_KEY;
    }
    char name[kLongestKeyword + 1];
    for (std::size_t i = 0; i < length; ++i) {
        char c = text[1 + i];
        name[i] = c == ' ' ? '_' : (c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    name[length] = '\0';
    int code = PARSE_FindKeyword(std::string_view(name, length), tableVersion);
    if (code == NOT_KEY) {
        CMN_ErrorLine(916, name);
        return NOT_KEY;
    }
    return PARSE_ApplyContextRules(code, state.currentKeyword, state.fileKind, state.inSubmodel,
                                   tableVersion);
}

void BeginKeyword(int code, int tableVersion) {
    if (code == KW_IBIS_VER) {
        if (state.ibisVerSeen) CMN_ErrorLine(910);
        state.ibisVerSeen = true;
    }
    PARSE_BeginSection(code, state.fileKind, tableVersion);
}

// [End]: nothing may follow the keyword on its line.
void EndLine(char* text) {
    const char* rest = text;
    CMN_SkipPastBracket(&rest);
    if (*rest != '\0') CMN_ErrorLine(920);
    state.endSeen = true;
}

// The line handler of a version: keyword lines change the current keyword (telling the section
// being left and beginning the new one); every line then goes to the current keyword's owner.
void HandleLine(int lineKind, char* text) {
    int tableVersion = PARSE_TableVersion(HDR_GetVersion());
    if (lineKind == LINE_KEYWORD) {
        if (tableVersion >= 3 && unterminated) {
            CMN_ErrorLine(909);
            unterminated = false;
        }
        int code = LookupKeyword(text, tableVersion);
        if (code == NOT_KEY) {
            state.currentKeyword = NOT_KEY;
            return;
        }
        PARSE_EndSection(state.currentKeyword, code, tableVersion);
        BeginKeyword(code, tableVersion);
        state.currentKeyword = code;
    }
    int current = state.currentKeyword;
    if (current == NOT_KEY) {
        CMN_ErrorLine(907, text);
        return;
    }
    if (tableVersion >= 3) {
        if (current == KW_SUBMODEL) state.inSubmodel = true;
        if (current == KW_MODEL) state.inSubmodel = false;
    }
    if (current == KW_END) {
        EndLine(text);
        return;
    }
    if (!PARSE_RouteLine(current, state.fileKind, tableVersion, lineKind, text)) {
        CMN_BugLine(908, "parse", __LINE__);
    }
}

void ProcessLine(char* line, std::size_t length, bool plain) {
    bool hadLineFeed = false;
    length = CheckLine(line, length, plain, &hadLineFeed);
    char* start = CMN_SkipSpace(line);
    int lineKind = LineType(line, start);
    if (state.endSeen && lineKind != LINE_COMMENT) {
        CMN_ErrorLine(902);
        return;
    }
    if (lineKind == LINE_KEYWORD && IsCommentCharLine(start)) {
        CommentChar(start + 14);
        return;
    }
    if (lineKind == LINE_COMMENT) return;
    StripComment(line, length);
    HandleLine(lineKind, lineKind == LINE_KEYWORD ? start : line);
}

bool PrintBanner(const char* path, int version) {
    static constexpr const char* kRevision[] = {nullptr, nullptr, "2.1", "3.2", "4.2", "5.0"};
    if (version < 2 || version > 5) {
        CMN_Error(900, path);
        return false;
    }
    if (!quiet)
        std::printf("\nChecking %s for IBIS %s Compatibility...\n\n", path, kRevision[version]);
    return true;
}

int ReadIbisFile(const char* path, int kind, const std::string_view* given) {
    ResetFileState(kind);
    CMN_FileText text;
    std::string name;
    // The version step filters its lines too; counting them in the line number makes its
    // character reports name their lines.
    int version = 0;
    if (LoadText(path, kind, given, text, name)) {
        version = CMN_DetectTextVersion(text, &state.lineNumber);
    }
    if (!PrintBanner(path, version)) return 0;
    state.lineNumber = 0;
    state.fileName = std::move(name);
    PARSE_ResetSections();
    CMN_LineReader reader(text);
    char line[PARSE_LINE_BUFFER_SIZE];
    for (;;) {
        ++state.lineNumber;
        std::size_t length = 0;
        if (CMN_ReadLine(line, sizeof line, reader, &length) == nullptr) break;
        // A kept NUL ends the line's text; otherwise every NUL became a blank.
        if (CMN_GetKeepIllegalChars()) length = std::strlen(line);
        ProcessLine(line, length, reader.LastLinePlain());
    }
    --state.lineNumber;
    if (!state.endSeen) {
        CMN_Error(903);
        char endLine[] = "[END]";
        HandleLine(LINE_KEYWORD, endLine);
    }
    return 1;
}

// A line of an .ami file: a "(Description" line and the lines that continue it may not exceed
// 120 characters, line feed included.
void CheckAmiDescription(const char* start, std::size_t length, bool hadLineFeed,
                         bool* inDescription) {
    if (*start == '(') {
        *inDescription = std::strncmp(CMN_SkipSpace(start + 1), "Description", 11) == 0;
    }
    if (*inDescription && length + (hadLineFeed ? 1 : 0) > kAmiDescriptionLimit) {
        CMN_ErrorLine(923, static_cast<int>(state.lineNumber),
                      static_cast<int>(kAmiDescriptionLimit));
    }
}

void ReadAmiLines(CMN_FileText& text) {
    std::string& line = state.amiLine;
    std::string& amiText = state.amiText;
    CMN_LineReader reader(text);
    bool inDescription = false;
    bool appendFailed = false;
    for (;;) {
        ++state.lineNumber;
        if (CMN_ReadLongLine(line, reader) == 0) break;
        bool hadLineFeed = false;
        std::size_t length =
            CheckLine(line.data(), line.size(), reader.LastLinePlain(), &hadLineFeed);
        const char* start = CMN_SkipSpace(line.c_str());
        if (*start == '\0' || *start == state.commentChar) continue;
        std::size_t offset = static_cast<std::size_t>(start - line.c_str());
        CheckAmiDescription(start, length - offset, hadLineFeed, &inDescription);
        StripComment(line.data(), length);
        if (appendFailed) continue;
        try {
            amiText.append(line.c_str() + offset);
        } catch (const std::bad_alloc&) {
            CMN_Error(922, "parse", __LINE__);
            amiText.clear();
            appendFailed = true;
        }
    }
    --state.lineNumber;
}

int ReadAmiFile(const char* path, const std::string_view* given) {
    if (!quiet) std::printf("\nChecking %s for IBIS 5.0 Compatibility...\n\n", path);
    ResetFileState(FILE_KIND_AMI);
    CMN_FileText text;
    if (!LoadText(path, FILE_KIND_AMI, given, text, state.fileName)) return 0;
    // Every line of a parameter file may be long.
    bool savedLongLines = longLines;
    longLines = true;
    ReadAmiLines(text);
    longLines = savedLongLines;
    return 1;
}

int ReadFile(const char* path, int kind, const std::string_view* given) {
    CMN_ASSERT(path != nullptr);
    CMN_ASSERT(kind >= FILE_KIND_IBS && kind <= FILE_KIND_AMI);
    if (kind == FILE_KIND_AMI) return ReadAmiFile(path, given);
    return ReadIbisFile(path, kind, given);
}

}  // namespace

int PARSE_File(const char* path, int kind) { return ReadFile(path, kind, nullptr); }

int PARSE_Text(const char* path, int kind, std::string_view text) {
    return ReadFile(path, kind, &text);
}

unsigned long PARSE_GetLineNumber() { return state.lineNumber; }

void PARSE_GetFileName(char* buffer, std::size_t size) {
    CMN_ASSERT(buffer != nullptr && size > 0);
    std::size_t length = std::min(size - 1, state.fileName.size());
    std::memcpy(buffer, state.fileName.data(), length);
    buffer[length] = '\0';
}

const char* PARSE_FileName() { return state.fileName.c_str(); }

void PARSE_SetLongLines(bool on) { longLines = on; }
bool PARSE_GetLongLines() { return longLines; }
void PARSE_SetQuiet(bool on) { quiet = on; }
bool PARSE_GetQuiet() { return quiet; }

int PARSE_GetCurrentKeyword() { return state.currentKeyword; }

void PARSE_SetUnterminated(bool on) { unterminated = on; }
bool PARSE_GetUnterminated() { return unterminated; }

const std::string& PARSE_GetAmiText() { return state.amiText; }

std::string PARSE_TakeAmiText() {
    std::string text = std::move(state.amiText);
    state.amiText.clear();
    return text;
}
