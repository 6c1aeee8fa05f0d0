// Test support: the fixed pieces of what the checker prints for a file, spelled out from its
// output format, for tests that compare whole outputs.
#pragma once

#include <string>

// The banner printed on standard output before a file is read.
inline std::string Banner(const std::string& path, const char* revision) {
    return "\nChecking " + path + " for IBIS " + revision + " Compatibility...\n\n";
}

// The summary of a file that printed nothing else.
inline const std::string kPassed = "Errors  : 0\n\nFile Passed\n";

// The summary after diagnostics: a blank line, the counts (warnings only when there are any)
// and the verdict, which only errors decide.
inline std::string Summary(int errors, int warnings = 0) {
    std::string text = "\nErrors  : " + std::to_string(errors) + "\n";
    if (warnings > 0) text += "Warnings: " + std::to_string(warnings) + "\n";
    return text + (errors > 0 ? "\nFile Failed\n" : "\nFile Passed\n");
}

// A file that could not be opened as given: the reason, the version error and the summary.
inline std::string NotRead(const std::string& reason, const std::string& path) {
    return "ERROR - " + reason + "\nERROR - Could not determine Version for file " + path + "\n" +
           Summary(2);
}
