// The keyword tables of the line reader: one per IBIS major version (2 to 5), each holding the
// codes of the earlier one. Names are upper case with blanks written as '_'.
#pragma once

#include <string_view>

// The table used for a version in force: below 3 the version 2 table, 5 and above version 5.
int PARSE_TableVersion(int versionInForce);
// Whether the code is in the table of that version.
bool PARSE_KeywordInVersion(int code, int tableVersion);
// Number of entries of a version's table (NOT_KEY included).
int PARSE_TableSize(int tableVersion);
// The table name of a code ("" for NOT_KEY).
const char* PARSE_KeywordName(int code);
// The lowest code of a normalised name in the version's table, or NOT_KEY.
int PARSE_FindKeyword(std::string_view normalizedName, int tableVersion);
// The context rules: Manufacturer inside a package model or board description, Number Of Pins
// in an .ebd file, and the I-V and waveform keywords inside a [Submodel] have their own codes.
// A rule only applies when the version's table holds the code it leads to.
int PARSE_ApplyContextRules(int code, int currentKeyword, int fileKind, bool inSubmodel,
                            int tableVersion);
