#pragma once

// Checking one file on its own, as the command-line checker, its fuzz target and its
// benchmark do it.

#include <cstdint>
#include <string_view>

#include "IbisParser/cmn.h"
#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

// Checks the file at `path` as `kind` (FILE_KIND_*), or `text` from memory under that path when
// given, with the caller's settings, and prints
// the banner, the diagnostics and the summary; true when it passed (no program bug, no error).
// The file is checked as if it were the first: counts start at zero, a name without a
// directory is looked for in the working directory rather than beside the previous file, and
// the IBIS version and reader state that an earlier file left do not carry over.
inline bool CheckFileOnItsOwn(const char* path, int kind, const std::string_view* text = nullptr) {
    CMN_SetFileDirectory("");
    HDR_SetVersion(0);
    PARSE_SetUnterminated(false);
    CMN_ResetCounts();
    IBIS_New();
    if ((text != nullptr ? PARSE_Text(path, kind, *text) : PARSE_File(path, kind)) == 1) {
        IBIS_Check(kind);
    }
    IBIS_Finish();
    std::uint32_t bugs = 0;
    std::uint32_t errors = 0;
    CMN_GetCounts(&bugs, &errors, nullptr);
    return bugs == 0 && errors == 0;
}
