// The file driver of the IBIS checker: one IBIS record per file being checked (a stack whose
// top is the current file), opening a file by kind with the extension and letter-case rules,
// finding its IBIS version, and the whole-file checks after the last line.
//
// Checking a file, as a caller does it: set any settings, IBIS_New, PARSE_File (parse.h), and
// when that returned 1, IBIS_Check; then IBIS_Finish, which prints the summary.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "IbisParser/linked.h"

class CMN_FileText;

struct HDR;
struct CMPNT;
struct MDL;
struct CIRCUIT;
struct SUBMDL;
struct PKGMDL;
struct EBDMDL;
struct MSEL;
struct TESTDATA;
struct TESTLOAD;

// One file being checked. Every list is owned, singly linked through the records' own `next`
// and empty until its section's begin operation adds to it.
struct IBIS {
    std::unique_ptr<IBIS> next;    // the record that was current before this one
    std::unique_ptr<HDR> headers;  // newest first
    std::unique_ptr<CMPNT> components;
    std::unique_ptr<MDL> models;
    std::unique_ptr<CIRCUIT> circuits;
    std::unique_ptr<SUBMDL> submodels;
    std::unique_ptr<PKGMDL> packageModels;
    std::unique_ptr<EBDMDL> boardDescriptions;
    std::unique_ptr<MSEL> modelSelectors;
    std::unique_ptr<TESTDATA> testData;
    std::unique_ptr<TESTLOAD> testLoads;

    IBIS();
    ~IBIS();
    IBIS(const IBIS&) = delete;
    IBIS& operator=(const IBIS&) = delete;
};

// Pushes a new empty record. 1, or 0 after "Unable to create IBIS.".
int IBIS_New();
// 1 and the top record, or 0 (and nullptr) when there is none.
int IBIS_GetCurrent(IBIS** record);
// Unlinks the record wherever it stands in the stack and releases it with all it owns.
void IBIS_Free(IBIS* record);
// The whole-file checks of the current record for the file kind; flag goes to the board
// description checks.
void IBIS_Check(int kind, int flag = 0);
// Releases the current record, if any, and prints the summary.
void IBIS_Finish();

// Get: 1 and the head of the list, or 0 (and nullptr) when it is empty.
// Set: links the new record in front of the list.
int IBIS_GetHdr(const IBIS* ibis, HDR** head);
void IBIS_SetHdr(IBIS* ibis, std::unique_ptr<HDR> record);
int IBIS_GetCmpnt(const IBIS* ibis, CMPNT** head);
void IBIS_SetCmpnt(IBIS* ibis, std::unique_ptr<CMPNT> record);
int IBIS_GetMdl(const IBIS* ibis, MDL** head);
void IBIS_SetMdl(IBIS* ibis, std::unique_ptr<MDL> record);
int IBIS_GetCircuit(const IBIS* ibis, CIRCUIT** head);
void IBIS_SetCircuit(IBIS* ibis, std::unique_ptr<CIRCUIT> record);
int IBIS_GetSubmdl(const IBIS* ibis, SUBMDL** head);
void IBIS_SetSubmdl(IBIS* ibis, std::unique_ptr<SUBMDL> record);
int IBIS_GetPkgmdl(const IBIS* ibis, PKGMDL** head);
void IBIS_SetPkgmdl(IBIS* ibis, std::unique_ptr<PKGMDL> record);
int IBIS_GetEbdmdl(const IBIS* ibis, EBDMDL** head);
void IBIS_SetEbdmdl(IBIS* ibis, std::unique_ptr<EBDMDL> record);
int IBIS_GetMsel(const IBIS* ibis, MSEL** head);
void IBIS_SetMsel(IBIS* ibis, std::unique_ptr<MSEL> record);
int IBIS_GetTestdata(const IBIS* ibis, TESTDATA** head);
void IBIS_SetTestdata(IBIS* ibis, std::unique_ptr<TESTDATA> record);
int IBIS_GetTestload(const IBIS* ibis, TESTLOAD** head);
void IBIS_SetTestload(IBIS* ibis, std::unique_ptr<TESTLOAD> record);

// The longest path part (directory or name) that file opening accepts.
inline constexpr std::size_t CMN_PATH_LIMIT = 1024;

// Opens a file of a kind for reading (binary). '/' and '\\' both separate directories: the
// directory part of the path becomes the module-wide file directory, in which a later name
// without directory is looked for. The name must carry the kind's extension (any letter case)
// or none (then it is appended). When the file is not found as given, the path is tried in
// lower case and then in upper case. name receives the file name as opened (no directory).
// Returns the open stream, or nullptr after reporting why.
std::FILE* CMN_OpenFile(const char* path, int kind, std::string* name);

// Opens a file as CMN_OpenFile does and reads all of it into text, once. Returns false after
// reporting why (the file cannot be opened, or its text cannot be held in memory).
bool CMN_LoadFile(const char* path, int kind, CMN_FileText* text, std::string* name);

// The naming rules of CMN_OpenFile without opening anything, for a text already in memory:
// the directory part of the path becomes the file directory, the extension is checked or
// appended, and name receives the file name. Returns false after reporting why.
bool CMN_NameFile(const char* path, int kind, std::string* name);

// The major IBIS version (1 to 5) from the file's first keyword line, which must be
// [IBIS Ver]; 0 when it cannot be told. lineCount, when given, counts the lines read as they
// are read (the line-number hook can lend it to the character filter's reports).
int CMN_DetectVersion(const char* path, unsigned long* lineCount, int kind);
// The same for a file already open (or a text in memory), read from its start.
int CMN_DetectTextVersion(CMN_FileText& text, unsigned long* lineCount);

// The module-wide file directory (with its trailing separator), empty at load.
const std::string& CMN_GetFileDirectory();
void CMN_SetFileDirectory(std::string_view directory);
