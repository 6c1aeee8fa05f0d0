// The dispatch from keyword codes to the section modules: which section a keyword's lines go to
// in each IBIS version and file kind, which keywords open a section, and which section is told
// when the current keyword changes. Adding a section's rules touches only that section's
// module: this table names its begin, line, keyword-change and reset operations once.
#pragma once

// Begin action for a new keyword code (after the section being left was told).
void PARSE_BeginSection(int code, int fileKind, int tableVersion);
// Tells the section that owns the previous keyword, if any, the code that follows it.
void PARSE_EndSection(int previousCode, int nextCode, int tableVersion);
// Hands a line to the owner of the current keyword; a file kind that the route does not allow
// drops the line silently. False when the code has no route in that version.
bool PARSE_RouteLine(int currentKeyword, int fileKind, int tableVersion, int lineKind, char* text);
