// The file header: the eight header keywords, their value rules, the version in force and the
// required-keyword check when the header ends.
#include "IbisParser/hdr.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <string_view>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

constexpr unsigned kVersionLimit = 70;
constexpr unsigned kFileRevLimit = 70;
constexpr unsigned kDateLimit = 40;

HDR* openHeader = nullptr;
int currentHeaderKeyword = NOT_KEY;
bool seen[KW_COPYRIGHT + 1] = {};
int versionInForce = 0;
bool noFileNameRules = false;
bool allowVersion1 = false;
bool forceVersion5 = false;

void HDR_IbisVer(const char* value) {
    seen[KW_IBIS_VER] = true;
    if (!CMN_SetOnce(openHeader->IBIS_Version, value, kVersionLimit, "IBIS_Version")) return;
    const std::string& stored = openHeader->IBIS_Version;
    if (stored.empty()) return;
    if (forceVersion5) {
        versionInForce = 5;
        return;
    }
    static constexpr std::string_view kAccepted[] = {"2.0", "2.1", "3.0", "3.1", "3.2",
                                                     "4.0", "4.1", "4.2", "5.0"};
    bool accepted = allowVersion1 && stored.starts_with("1.");
    for (std::string_view version : kAccepted) accepted = accepted || stored == version;
    if (accepted) {
        versionInForce = stored[0] - '0';
    } else {
        CMN_ErrorLine(1008, stored.c_str());
    }
}

bool LegalForDos(unsigned char c) {
    return std::isalnum(c) || c == '.' || std::strchr("_^$~!#%&-{})(@'`", c) != nullptr;
}

// Letter case, characters legal for DOS, exactly one period, the same name as the file opened,
// and no reserved word.
void CheckFileNameRules(const std::string& name) {
    const char* value = name.c_str();
    bool periodSeen = false;
    for (char character : name) {
        unsigned char c = static_cast<unsigned char>(character);
        if (std::isupper(c)) {
            CMN_ErrorLine(1010, value, character);
        } else if (!LegalForDos(c)) {
            CMN_ErrorLine(1011, value, character);
        } else if (c == '.') {
            if (periodSeen) CMN_ErrorLine(1012, value);
            periodSeen = true;
        }
    }
    if (!periodSeen) CMN_ErrorLine(1013, value);
    if (!CMN_StrEqualNoCase(PARSE_FileName(), value)) {
        CMN_ErrorLine(1014, PARSE_FileName(), value);
    }
    CMN_CheckReserved(value);
}

void HDR_FileName(const char* value) {
    if (seen[KW_FILE_NAME]) {
        CMN_ErrorLine(1009);
        return;
    }
    seen[KW_FILE_NAME] = true;
    std::string& field = openHeader->File_name;
    int stored = 0;
    if (versionInForce == 3) {
        stored = CMN_SetOnceChecked(field, value, 24, "File_name");
    } else if (versionInForce >= 4) {
        stored = CMN_SetOnceChecked(field, value, 44, "File_name");
    } else {
        stored = CMN_SetOnce(field, value, 12, "File_name");
    }
    if (stored && !field.empty() && !noFileNameRules) CheckFileNameRules(field);
}

void ShortField(int code, const char* value) {
    bool isRev = code == KW_FILE_REV;
    if (seen[code]) {
        isRev ? CMN_ErrorLine(1015) : CMN_ErrorLine(1016);
        return;
    }
    seen[code] = true;
    std::string& field = isRev ? openHeader->File_Rev : openHeader->Date;
    CMN_SetOnce(field, value, isRev ? kFileRevLimit : kDateLimit, isRev ? "File_Rev" : "Date");
    CMN_CheckReserved(field.c_str());
}

std::optional<std::string>& BlockOf(int code) {
    switch (code) {
    case KW_SOURCE: return openHeader->Source;
    case KW_NOTES: return openHeader->Notes;
    case KW_DISCLAIMER: return openHeader->Disclaimer;
    default: return openHeader->Copyright;
    }
}

// Makes room for count more characters, growing eightfold rather than the usual twofold: a
// long block is then copied and its fresh memory touched about once instead of twice. Only
// the written part of the reserve is ever touched. When so large a reserve is refused, the
// append grows the block by its own rule.
void ReserveForAppend(std::string& block, std::size_t count) {
    constexpr std::size_t kGrowth = 8;
    if (block.capacity() - block.size() >= count) return;
    std::size_t wanted = std::max(block.size() + count, block.capacity() * kGrowth);
    if (wanted > block.max_size()) return;
    try {
        block.reserve(wanted);
    } catch (const std::bad_alloc&) {
    }
}

// Appends one line to a text block.
void HDR_AddText(std::optional<std::string>& block, const char* line) {
    try {
        if (block) {
            std::size_t length = std::strlen(line);
            ReserveForAppend(*block, length + 1);
            block->push_back('\n');
            block->append(line, length);
        } else {
            block.emplace(line);
        }
    } catch (const std::bad_alloc&) {
        CMN_ErrorLine(1020);
        block.reset();
    }
}

void TextBlockKeyword(int code, const char* value) {
    if (code != KW_DISCLAIMER && seen[code]) {
        int duplicate = code == KW_SOURCE ? 1017 : code == KW_NOTES ? 1018 : 1019;
        CMN_ErrorLine(CMN_RuntimeCode(duplicate));
        return;
    }
    seen[code] = true;
    HDR_AddText(BlockOf(code), value);
}

void KeywordLine(int code, const char* text) {
    currentHeaderKeyword = code;
    const char* value = text;
    CMN_SkipPastBracket(&value);
    switch (code) {
    case KW_IBIS_VER: HDR_IbisVer(value); break;
    case KW_FILE_NAME: HDR_FileName(value); break;
    case KW_FILE_REV:
    case KW_DATE: ShortField(code, value); break;
    case KW_SOURCE:
    case KW_NOTES:
    case KW_DISCLAIMER:
    case KW_COPYRIGHT: TextBlockKeyword(code, value); break;
    default: CMN_BugLine(1003); break;
    }
}

}  // namespace

void HDR_Begin() {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_Bug(1000);
        return;
    }
    std::unique_ptr<HDR> header(new (std::nothrow) HDR());
    if (!header) {
        CMN_Error(1006);
        return;
    }
    openHeader = header.get();
    IBIS_PushFront(ibis->headers, std::move(header));
    std::fill(std::begin(seen), std::end(seen), false);
}

void HDR_Line(int lineKind, int code, char* text) {
    if (lineKind != LINE_KEYWORD && lineKind != LINE_DATA) {
        CMN_BugLine(1004);
        return;
    }
    if (openHeader == nullptr) {
        lineKind == LINE_KEYWORD ? CMN_ErrorLine(1001) : CMN_ErrorLine(1002);
        return;
    }
    if (lineKind == LINE_KEYWORD) {
        KeywordLine(code, text);
    } else if (currentHeaderKeyword >= KW_SOURCE && currentHeaderKeyword <= KW_COPYRIGHT) {
        HDR_AddText(BlockOf(currentHeaderKeyword), text);
    } else {
        CMN_ErrorLine(1002);
    }
}

void HDR_End(int nextCode) {
    if (openHeader == nullptr) return;
    if (nextCode >= KW_FILE_NAME && nextCode <= KW_COPYRIGHT) return;
    if (nextCode == KW_IBIS_VER) {
        CMN_ErrorLine(1005);
        return;
    }
    CMN_CheckRequired("IBIS_Version", seen[KW_IBIS_VER]);
    CMN_CheckRequired("File_name", seen[KW_FILE_NAME]);
    CMN_CheckRequired("File_Rev", seen[KW_FILE_REV]);
    openHeader = nullptr;
}

void HDR_Reset() { openHeader = nullptr; }

namespace {

int TextOf(const HDR* hdr, std::string HDR::*field, const char** text) {
    if (hdr == nullptr || (hdr->*field).empty()) return 0;
    *text = (hdr->*field).c_str();
    return 1;
}

int BlockField(const HDR* hdr, std::optional<std::string> HDR::*field, const std::string** block) {
    if (hdr == nullptr || !(hdr->*field)) return 0;
    *block = &*(hdr->*field);
    return 1;
}

}  // namespace

int HDR_GetIbisVersion(const HDR* hdr, const char** text) {
    return TextOf(hdr, &HDR::IBIS_Version, text);
}
int HDR_GetFileName(const HDR* hdr, const char** text) {
    return TextOf(hdr, &HDR::File_name, text);
}
int HDR_GetFileRev(const HDR* hdr, const char** text) { return TextOf(hdr, &HDR::File_Rev, text); }
int HDR_GetDate(const HDR* hdr, const char** text) { return TextOf(hdr, &HDR::Date, text); }
int HDR_GetSource(const HDR* hdr, const std::string** block) {
    return BlockField(hdr, &HDR::Source, block);
}
int HDR_GetNotes(const HDR* hdr, const std::string** block) {
    return BlockField(hdr, &HDR::Notes, block);
}
int HDR_GetDisclaimer(const HDR* hdr, const std::string** block) {
    return BlockField(hdr, &HDR::Disclaimer, block);
}
int HDR_GetCopyright(const HDR* hdr, const std::string** block) {
    return BlockField(hdr, &HDR::Copyright, block);
}

int HDR_GetVersion() { return versionInForce; }
void HDR_SetVersion(int version) { versionInForce = version; }

void HDR_SetNoFileNameRules(bool on) { noFileNameRules = on; }
void HDR_SetAllowVersion1(bool on) { allowVersion1 = on; }
void HDR_SetForceVersion5(bool on) { forceVersion5 = on; }
bool HDR_GetNoFileNameRules() { return noFileNameRules; }
bool HDR_GetAllowVersion1() { return allowVersion1; }
bool HDR_GetForceVersion5() { return forceVersion5; }
