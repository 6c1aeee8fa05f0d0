// Test support for the model sections: a file around model text, and the diagnostic lines the
// user sees, wrapped as the checker wraps them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/expected_output.h"

// The model text of a file starts on this line.
inline constexpr int kFirstModelLine = 5;

// Header and a component (lines 1 to 4), the text, then [End].
inline std::string ModelFile(const char* version, const std::string& text) {
    return std::string("[IBIS Ver] ") + version +
           "\n[File Name] test.ibs\n[File Rev] 1.0\n[Component] c\n" + text + "[End]\n";
}

// One diagnostic line; a text of 58 to 75 characters (60 for errors, 61 for notes; 12 more
// without a line) goes on a line of its own.
inline std::string Diagnostic(const char* word, int wrapFrom, int line, const std::string& text) {
    std::string head = word;
    if (line > 0) {
        std::string number = std::to_string(line);
        head += " (line " + std::string(4 - std::min<std::size_t>(4, number.size()), ' ') + number +
                ")";
    } else {
        wrapFrom += 12;
    }
    const bool wraps = static_cast<int>(text.size()) >= wrapFrom && text.size() <= 75;
    return head + (wraps ? " -\n    " : " - ") + text + "\n";
}
inline std::string E(int line, const std::string& text) {
    return Diagnostic("ERROR", 60, line, text);
}
inline std::string E(const std::string& text) { return E(0, text); }
inline std::string W(int line, const std::string& text) {
    return Diagnostic("WARNING", 58, line, text);
}
inline std::string W(const std::string& text) { return W(0, text); }
inline std::string N(int line, const std::string& text) {
    return Diagnostic("NOTE", 61, line, text);
}

// The whole output for a file whose findings are `findings`, with the counts of the summary.
inline std::string Output(const char* revision, const std::string& findings, int errors,
                          int warnings) {
    const bool counted = errors > 0 || warnings > 0;
    return Banner("test.ibs", revision) + findings +
           (counted ? Summary(errors, warnings) : kPassed);
}

// The revision the banner names for a version.
inline const char* Revision(const char* version) {
    switch (version[0]) {
    case '2': return "2.1";
    case '3': return "3.2";
    case '4': return "4.2";
    default: return "5.0";
    }
}

struct ModelCase {
    const char* name;
    const char* version;
    std::string text;
    std::string findings;
    int errors;
    int warnings;
};

inline void CheckModelCases(const ModelCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const ModelCase& row = cases[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CheckText(ModelFile(row.version, row.text), FILE_KIND_IBS),
                  Output(Revision(row.version), row.findings, row.errors, row.warnings));
    }
}
