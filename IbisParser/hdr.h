// The file header section: [IBIS Ver], [File Name], [File Rev], [Date], [Source], [Notes],
// [Disclaimer] and [Copyright]. One HDR record per [IBIS Ver]; the header sets the IBIS version
// in force, which selects the keyword table, the line handler and the line-length limit.
#pragma once

#include <optional>
#include <string>

#include "IbisParser/linked.h"

// `next` is the header created before this one.
struct HDR : IBIS_Linked<HDR> {
    std::string IBIS_Version;  // at most 70 characters
    std::string File_name;     // at most 1,024 characters
    std::string File_Rev;      // at most 70 characters
    std::string Date;          // at most 40 characters
    // Text blocks: absent until their keyword is met; lines joined by line feeds.
    std::optional<std::string> Source;
    std::optional<std::string> Notes;
    std::optional<std::string> Disclaimer;
    std::optional<std::string> Copyright;
};

// [IBIS Ver] starts a keyword: a new header in front of the current file's header list.
void HDR_Begin();
// Every header keyword line and data line (line kind, keyword code, text as read).
void HDR_Line(int lineKind, int code, char* text);
// The keyword-change notice: closes the header, with its required-keyword checks, on a
// keyword outside the header.
void HDR_End(int nextCode);
// Forgets the open header (start of a file, release of a file record).
void HDR_Reset();

// 1 and the text when it is not empty, else 0.
int HDR_GetIbisVersion(const HDR* hdr, const char** text);
int HDR_GetFileName(const HDR* hdr, const char** text);
int HDR_GetFileRev(const HDR* hdr, const char** text);
int HDR_GetDate(const HDR* hdr, const char** text);
// 1 and the block when present, else 0.
int HDR_GetSource(const HDR* hdr, const std::string** block);
int HDR_GetNotes(const HDR* hdr, const std::string** block);
int HDR_GetDisclaimer(const HDR* hdr, const std::string** block);
int HDR_GetCopyright(const HDR* hdr, const std::string** block);

// The IBIS version in force: 0 at load, 1 to 5 once an [IBIS Ver] was accepted; not reset from
// file to file. The setter serves callers that read another file in the middle of one and
// restore the version afterwards.
int HDR_GetVersion();
void HDR_SetVersion(int version);

// Settings, all off by default.
void HDR_SetNoFileNameRules(bool on);
void HDR_SetAllowVersion1(bool on);
void HDR_SetForceVersion5(bool on);
bool HDR_GetNoFileNameRules();
bool HDR_GetAllowVersion1();
bool HDR_GetForceVersion5();
